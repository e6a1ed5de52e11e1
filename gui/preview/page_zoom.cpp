#include "page_zoom.h"

#include "text_layer.h"

namespace {

int scaled(int value, double factor) {
    return static_cast<int>(value * factor);
}

}  // namespace

double steppedZoom(double factor, double step) {
    const double next = factor * step;
    return next < kSmallestZoom || next > kLargestZoom ? factor : next;
}

QSize scaledPageSize(const QSize& size, double factor) {
    return QSize(scaled(size.width(), factor), scaled(size.height(), factor));
}

QRect scaledBox(const Subtext& box, double factor) {
    return QRect(scaled(box.left, factor), scaled(box.top, factor), scaled(box.width, factor),
                 scaled(box.height, factor));
}
