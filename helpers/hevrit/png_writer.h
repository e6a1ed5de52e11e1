#pragma once

#include <cstddef>
#include <string>

// 8-bit RGB pixels, rows from the top, `stride` bytes from one row to the next.
struct RgbView {
    const unsigned char* data = nullptr;
    int width = 0;
    int height = 0;
    size_t stride = 0;
};

// The image as an 8-bit RGB PNG (no alpha), encoded for speed: deflate level 1 and no row
// filter (measured fastest on rendered pages, bench/hevrit_speed.sh). Empty when the image
// cannot be encoded.
std::string encodePng(const RgbView& image);
