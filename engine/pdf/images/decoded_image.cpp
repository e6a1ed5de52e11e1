#include "pdf/images/decoded_image.h"

#include <algorithm>

namespace relettra::pdf {

bool withinPixelLimit(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxDecodedPixels &&
           height <= kMaxDecodedPixels / width;
}

bool withinDecodeLimit(long long width, long long height, long long bytesPerPixel) {
    if (bytesPerPixel <= 0 || !withinPixelLimit(width, height)) {
        return false;
    }
    const auto limit = static_cast<long long>(kMaxDecodedBytes);
    if (width > limit / bytesPerPixel) {
        return false;
    }
    return height <= limit / (width * bytesPerPixel);
}

bool withinByteLimit(long long rowBytes, long long rows) {
    return rowBytes > 0 && rows > 0 && rows <= static_cast<long long>(kMaxDecodedBytes) / rowBytes;
}

void dropOpaqueAlpha(DecodedImage& image) {
    // Opaque is all bits set, for 8 and 16 bits alike.
    const bool opaque = std::all_of(image.alpha.begin(), image.alpha.end(),
                                    [](char c) { return static_cast<unsigned char>(c) == 0xFF; });
    if (opaque) {
        image.alpha.clear();
    }
}

}  // namespace relettra::pdf
