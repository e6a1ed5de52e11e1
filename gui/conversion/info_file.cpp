#include "info_file.h"

QString pageCountFromInfo(const QString& infoText) {
    static const QString marker = QStringLiteral("NumberOfPages: ");
    const int at = infoText.indexOf(marker, 0, Qt::CaseSensitive);
    if (at < 0) {
        return QString();
    }
    int end = at + marker.size();
    const int start = end;
    while (end < infoText.size() && infoText.at(end).isDigit()) {
        ++end;
    }
    return infoText.mid(start, end - start);
}
