#include "picker_geometry.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// The share of the screen the picker takes at most when it opens at its own size.
constexpr double kScreenShare = 0.9;

}  // namespace

QSize defaultPickerSize(int besidePageWidth, int pageAreaWidth, const QRect& available) {
    const int widest = static_cast<int>(available.width() * kScreenShare);
    const int tallest = static_cast<int>(available.height() * kScreenShare);
    return QSize(std::min(besidePageWidth + pageAreaWidth, widest), tallest);
}

QRect pickerGeometryOnScreen(const QSize& wanted, const QRect& available) {
    const QSize size = wanted.boundedTo(available.size());
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(available.center());
    return placed;
}

QString pickerSizeText(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QSize pickerSizeFromText(const QString& text) {
    static const QRegularExpression sizeText(QStringLiteral("^([0-9]{1,5})x([0-9]{1,5})$"));
    const QRegularExpressionMatch match = sizeText.match(text);
    if (!match.hasMatch()) {
        return QSize();
    }
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    return size.isEmpty() ? QSize() : size;
}
