#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace relettra::pdf {

// The facts a BMP file header states, checked against the file's length.
struct BmpHeader {
    int width = 0;
    int height = 0;  // always positive; top-down files have a negative height in the file
    int bitsPerPixel = 0;
    double dpiX = 0.0;  // 0 when the header gives no resolution
    double dpiY = 0.0;
};

// Reads a BMP file header. For uncompressed and bit-field files, also checks that the file holds
// all the rows the header announces: the decoder would fill missing rows with black instead of
// failing. Returns nullopt and a one-line `error` when the header is damaged or the file short.
std::optional<BmpHeader> readBmpHeader(std::string_view bytes, std::string& error);

// The logical screen size of a GIF file.
struct GifHeader {
    int width = 0;
    int height = 0;
};

// Walks a GIF file's blocks up to the end of its first image's data, so a file cut off before
// that is refused (the decoder would show the missing part as background instead of failing),
// and so is a first image whose data is far too short for the size its descriptor claims.
std::optional<GifHeader> readGifHeader(std::string_view bytes, std::string& error);

}  // namespace relettra::pdf
