#include "run_folder.h"

#include <QDebug>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

QString runFolderPath() {
    static std::unique_ptr<QTemporaryDir> folder;
    if (!folder || !folder->isValid()) {
        // QTemporaryDir makes the folder with owner-only rights under a name nobody can predict.
        // A folder that could not be made is tried again at the next call.
        folder =
            std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/relettra-XXXXXX"));
        if (!folder->isValid()) {
            qWarning().noquote() << "The private temporary folder could not be made:"
                                 << folder->errorString();
            return QString();
        }
    }
    return folder->path();
}

QString runFolderFile(const QString& fileName) {
    const QString folder = runFolderPath();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + fileName;
}
