#pragma once

#include <cstddef>
#include <string>

namespace relettra::pdf {

enum class RasterColor { Gray, Rgb, Indexed };

// An image decoded to PDF sample layout: rows top to bottom, each padded to whole bytes,
// samples of 1, 2, 4, 8 or 16 bits, 16-bit samples big-endian.
struct DecodedImage {
    int width = 0;
    int height = 0;
    RasterColor color = RasterColor::Rgb;
    int bitsPerComponent = 8;
    std::string palette;  // Indexed only: RGB triples, 8 bits each
    std::string samples;
    std::string alpha;  // DeviceGray samples of alphaBits each; empty when opaque
    int alphaBits = 8;
    double dpiX = 0.0;  // 0 when the file states no resolution
    double dpiY = 0.0;
};

// Decoded images larger than this many bytes are refused before any pixel is decoded: a header
// claiming absurd dimensions must not exhaust memory.
constexpr std::size_t kMaxDecodedBytes = std::size_t{1} << 30;
// Images of more pixels than this are refused too: every pixel is decoded, row-filtered and
// compressed, and a run must end within seconds. A photograph of 8000 × 6000 still fits.
constexpr long long kMaxDecodedPixels = 50'000'000;

// True when width x height is positive and within kMaxDecodedPixels.
bool withinPixelLimit(long long width, long long height);
// True when width x height x bytesPerPixel is positive and within both limits.
bool withinDecodeLimit(long long width, long long height, long long bytesPerPixel);
// True when `rows` rows of `rowBytes` bytes each are positive and within kMaxDecodedBytes.
bool withinByteLimit(long long rowBytes, long long rows);

// Drops `alpha` when every sample in it is fully opaque.
void dropOpaqueAlpha(DecodedImage& image);

}  // namespace relettra::pdf
