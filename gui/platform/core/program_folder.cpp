#include "program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "helper_command.h"

#ifndef RELETTRA_PRIVATE_DIR_FROM_BIN
#define RELETTRA_PRIVATE_DIR_FROM_BIN "../lib/relettra"
#endif
#ifndef RELETTRA_DOC_DIR_FROM_BIN
#define RELETTRA_DOC_DIR_FROM_BIN "../share/doc/relettra"
#endif

QString childProgramFolderFor(const QString& programDir) {
    const QString installed = QDir::cleanPath(programDir + QLatin1Char('/') +
                                              QLatin1String(RELETTRA_PRIVATE_DIR_FROM_BIN));
    for (const QString& folder : {programDir, installed}) {
        if (QFileInfo(folder + QLatin1Char('/') + QLatin1String(kEngineFileName)).isFile()) {
            return folder;
        }
    }
    return programDir;
}

QString childProgramFolder() {
    return childProgramFolderFor(QCoreApplication::applicationDirPath());
}

QString userGuideFile() {
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString name = QStringLiteral("/user-guide.html");
    const QString installed =
        QDir::cleanPath(programDir + QLatin1Char('/') + QLatin1String(RELETTRA_DOC_DIR_FROM_BIN));
    for (const QString& folder : {programDir, installed}) {
        if (QFileInfo(folder + name).isFile()) {
            return folder + name;
        }
    }
    return programDir + name;
}
