#include "picker_rules.h"

#include <QFile>

#include "position_text.h"

namespace PickerRules {

QString textLine(const QString& position, const QString& find, const QString& replace) {
    const PositionFields fields = positionFields(position);
    const QChar dash = QLatin1Char('-');
    return fields.page + dash + fields.left + dash + fields.top + dash + fields.width + dash +
           fields.height + QLatin1Char(':') + find + QLatin1Char(':') + replace;
}

bool findTextFits(const QString& find) {
    for (qsizetype i = 0; i + 1 < find.size(); ++i) {
        if (find.at(i) == QLatin1Char(':') && find.at(i + 1) != QLatin1Char(':')) {
            return false;
        }
    }
    return true;
}

QString writtenImageSize(const QString& typed, const QString& boxSize) {
    bool isNumber = false;
    const int value = typed.toInt(&isNumber, 10);
    return isNumber && value >= 1 ? typed : boxSize;
}

int handedBackImageSize(const QString& typed, const QString& boxSize) {
    const int value = typed.toInt(nullptr, 10);
    return value != 0 ? value : boxSize.toInt(nullptr, 10);
}

bool imageFileFits(const QString& imageFile) {
    return !imageFile.contains(QLatin1Char(')'));
}

QString imageLine(const QString& position, const QString& imageFile, const QString& typedWidth,
                  const QString& typedHeight) {
    const PositionFields fields = positionFields(position);
    const QChar colon = QLatin1Char(':');
    return fields.page + colon + fields.left + colon + fields.top + QLatin1String(":(") +
           imageFile + QLatin1String("):") + writtenImageSize(typedWidth, fields.width) + colon +
           writtenImageSize(typedHeight, fields.height);
}

bool writeFile(const QString& path, const QStringList& lines) {
    QByteArray content;
    for (const QString& line : lines) {
        content += line.toUtf8();
        content += "\r\n";
    }
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const bool complete = file.write(content) == content.size();
    return file.flush() && complete;
}

}  // namespace PickerRules
