#include "position_text.h"

#include "text_layer.h"

QString positionText(int page, const Subtext& box) {
    return QStringLiteral("P%1 (%2 %3 %4 %5)")
        .arg(page)
        .arg(box.left)
        .arg(box.top)
        .arg(box.width)
        .arg(box.height);
}
