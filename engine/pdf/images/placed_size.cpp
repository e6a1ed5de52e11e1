#include "pdf/images/placed_size.h"

#include <algorithm>
#include <cmath>

namespace relettra::pdf {

namespace {

double usableRequest(double value) {
    return std::isfinite(value) && value > 0.0 ? value : 0.0;
}

double usableDpi(double dpi) {
    return std::isfinite(dpi) && dpi > 0.0 ? dpi : 72.0;
}

}  // namespace

std::pair<double, double> resolvePlacedSize(const ImageInfo& info, double width, double height) {
    width = usableRequest(width);
    height = usableRequest(height);
    // The image's own size in points; its proportions include a differing horizontal and
    // vertical resolution.
    const double naturalWidth = std::max(info.pixelWidth, 0) * 72.0 / usableDpi(info.dpiX);
    const double naturalHeight = std::max(info.pixelHeight, 0) * 72.0 / usableDpi(info.dpiY);
    if (width > 0.0 && height > 0.0) {
        return {width, height};
    }
    if (naturalWidth <= 0.0 || naturalHeight <= 0.0) {
        return {width, height};  // no proportions to follow
    }
    if (width > 0.0) {
        return {width, width * naturalHeight / naturalWidth};
    }
    if (height > 0.0) {
        return {height * naturalWidth / naturalHeight, height};
    }
    return {naturalWidth, naturalHeight};
}

}  // namespace relettra::pdf
