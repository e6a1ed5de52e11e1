#include "pdf/images/image_format.h"

namespace relettra::pdf {

namespace {

bool startsWith(std::string_view bytes, std::string_view signature) {
    return bytes.substr(0, signature.size()) == signature;
}

}  // namespace

ImageFormat detectImageFormat(std::string_view bytes) {
    using namespace std::string_view_literals;
    if (startsWith(bytes, "\xFF\xD8\xFF"sv)) {
        return ImageFormat::Jpeg;
    }
    if (startsWith(bytes, "\x89PNG\r\n\x1A\n"sv)) {
        return ImageFormat::Png;
    }
    if (startsWith(bytes, "GIF87a"sv) || startsWith(bytes, "GIF89a"sv)) {
        return ImageFormat::Gif;
    }
    // "BM" alone is too weak a signature for text that happens to start with it; a bitmap file
    // also has a 14-byte file header followed by an info header of a known size.
    if (startsWith(bytes, "BM"sv) && bytes.size() >= 18) {
        const auto headerSize =
            static_cast<unsigned char>(bytes[14]) | static_cast<unsigned char>(bytes[15]) << 8 |
            static_cast<unsigned char>(bytes[16]) << 16 |
            static_cast<unsigned long>(static_cast<unsigned char>(bytes[17])) << 24;
        if (headerSize == 12 || headerSize == 40 || headerSize == 52 || headerSize == 56 ||
            headerSize == 64 || headerSize == 108 || headerSize == 124) {
            return ImageFormat::Bmp;
        }
    }
    return ImageFormat::Unknown;
}

}  // namespace relettra::pdf
