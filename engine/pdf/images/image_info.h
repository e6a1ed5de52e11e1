#pragma once

namespace relettra::pdf {

// What a drawing needs to know of an image besides its object.
struct ImageInfo {
    int pixelWidth = 0;
    int pixelHeight = 0;
    double dpiX = 72.0;  // 72 when the file states no resolution
    double dpiY = 72.0;
};

}  // namespace relettra::pdf
