#include "output_naming.h"

#include <QFileInfo>

bool pathExists(const QString& path) {
    return QFileInfo::exists(path);
}

QString firstFreeOutputPath(const QString& folder, const QString& inputPath,
                            const std::function<bool(const QString&)>& exists) {
    const QString stem = folder + QLatin1Char('/') + QFileInfo(inputPath).baseName();
    QString candidate = stem + QLatin1String(".pdf");
    for (int number = 0; exists(candidate); ++number) {
        candidate = stem + QLatin1Char('-') + QString::number(number) + QLatin1String(".pdf");
    }
    return candidate;
}
