#include "box_overlay.h"

QStringList pageTextLines(const QString& layer) {
    QStringList lines = textLayerLines(layer);
    if (lines.size() > kMostTextLayerLines) {
        lines.resize(kMostTextLayerLines);
    }
    return lines;
}

bool isPickableBox(const Subtext& box) {
    return !box.text.isEmpty();
}

QString boxTooltipText(const Subtext& box) {
    return QStringLiteral("Position\n X- %1 Y- %2").arg(box.left).arg(box.top);
}

QRect addButtonGeometry(const QRect& boxButton) {
    return QRect(boxButton.x() + boxButton.width(), boxButton.y(), 121, 23);
}
