#include "page_zoom.h"

#include <algorithm>
#include <cmath>

#include "text_layer.h"

namespace {

int scaled(int value, double factor) {
    return static_cast<int>(value * factor);
}

}  // namespace

double boundedZoom(double factor) {
    return std::clamp(factor, kSmallestZoom, kLargestZoom);
}

double steppedZoom(double factor, double step) {
    return boundedZoom(factor * step);
}

QSize scaledPageSize(const QSize& size, double factor) {
    return QSize(scaled(size.width(), factor), scaled(size.height(), factor));
}

QRect scaledBox(const Subtext& box, double factor) {
    return QRect(scaled(box.left, factor), scaled(box.top, factor), scaled(box.width, factor),
                 scaled(box.height, factor));
}

double fitWidthZoom(const QSize& pageSize, int areaWidth, int areaHeight, int scrollBarExtent) {
    if (pageSize.isEmpty() || areaWidth <= 0) {
        return 1.0;
    }
    double factor = static_cast<double>(areaWidth) / pageSize.width();
    if (scaled(pageSize.height(), factor) > areaHeight && areaWidth > scrollBarExtent) {
        factor = static_cast<double>(areaWidth - scrollBarExtent) / pageSize.width();
    }
    return boundedZoom(factor);
}

QString zoomPercentText(double factor) {
    return QString::number(static_cast<long long>(std::lround(factor * 100))) + QLatin1Char('%');
}

QPoint anchoredScroll(const QPoint& scroll, const QPoint& anchor, double oldFactor,
                      double newFactor) {
    const double ratio = newFactor / oldFactor;
    return QPoint(static_cast<int>(std::lround((scroll.x() + anchor.x()) * ratio)) - anchor.x(),
                  static_cast<int>(std::lround((scroll.y() + anchor.y()) * ratio)) - anchor.y());
}
