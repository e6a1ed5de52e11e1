#include "output_naming.h"

#include <QDir>
#include <QFileInfo>

bool pathExists(const QString& path) {
    return QFileInfo::exists(path);
}

QString firstFreeOutputPath(const QString& folder, const QString& inputPath,
                            const std::function<bool(const QString&)>& exists) {
    QString name = QFileInfo(inputPath).fileName();
    while (name.startsWith(QLatin1Char('.'))) {
        name.remove(0, 1);
    }
    QString base = name.section(QLatin1Char('.'), 0, 0);
    if (base.isEmpty()) {
        base = QStringLiteral("output");
    }
    const QString stem = folder + QLatin1Char('/') + base;
    QString candidate = stem + QLatin1String(".pdf");
    for (int number = 0; exists(candidate); ++number) {
        candidate = stem + QLatin1Char('-') + QString::number(number) + QLatin1String(".pdf");
    }
    return candidate;
}

void removeUnfinishedOutput(const QString& outputPath) {
    if (outputPath.isEmpty()) {
        return;
    }
    const QFileInfo output(outputPath);
    QDir folder = output.absoluteDir();
    const QString pattern = QLatin1Char('.') + output.fileName() + QLatin1String(".*.part");
    for (const QString& unfinished : folder.entryList({pattern}, QDir::Files | QDir::Hidden)) {
        folder.remove(unfinished);
    }
}
