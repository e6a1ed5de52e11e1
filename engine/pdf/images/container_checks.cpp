#include "pdf/images/container_checks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace relettra::pdf {

namespace {

std::uint32_t littleEndian(std::string_view bytes, std::size_t pos, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[pos + i]);
    }
    return value;
}

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint32_t kBiAlphaBitFields = 6;
constexpr std::uint32_t kBiRle8 = 1;  // refused by the decoder, with its own message
constexpr std::uint32_t kBiRle4 = 2;

// Skips a chain of GIF data sub-blocks (length byte, data) ending with an empty one; adds the
// data bytes to `dataBytes` when given.
bool skipSubBlocks(std::string_view bytes, std::size_t& pos, std::size_t* dataBytes = nullptr) {
    while (pos < bytes.size()) {
        const std::size_t length = static_cast<unsigned char>(bytes[pos]);
        pos += 1 + length;
        if (dataBytes != nullptr) {
            *dataBytes += length;
        }
        if (length == 0) {
            return true;
        }
    }
    return false;
}

// The most pixels `dataBytes` of LZW data can stand for. Codes are at least minimum code size
// + 1 bits wide, and the string of each code is at most one longer than the longest before it
// (at most 4096), so n codes give at most about n²/2 pixels, and 4096 a code beyond that.
// Doubled, to stay clear of every real encoder.
double mostLzwPixels(std::size_t dataBytes, unsigned minimumCodeSize) {
    const double codes = dataBytes * 8.0 / (std::min(minimumCodeSize, 11u) + 1);
    const double growing = std::min(codes, 4096.0);
    return 2 * (growing * (growing + 3) / 2 + (codes - growing) * 4096);
}

std::size_t colorTableBytes(unsigned packed) {
    return 3u * (2u << (packed & 7u));
}

}  // namespace

std::optional<BmpHeader> readBmpHeader(std::string_view bytes, std::string& error) {
    if (bytes.size() < 26) {
        error = "truncated BMP file";
        return std::nullopt;
    }
    const std::uint32_t dataOffset = littleEndian(bytes, 10, 4);
    const std::uint32_t headerSize = littleEndian(bytes, 14, 4);
    BmpHeader header;
    std::uint32_t compression = kBiRgb;
    long long height = 0;
    if (headerSize == 12) {
        header.width = static_cast<int>(littleEndian(bytes, 18, 2));
        height = static_cast<std::int16_t>(littleEndian(bytes, 20, 2));
        header.bitsPerPixel = static_cast<int>(littleEndian(bytes, 24, 2));
    } else {
        if (bytes.size() < 14 + 40) {
            error = "truncated BMP file";
            return std::nullopt;
        }
        header.width = static_cast<std::int32_t>(littleEndian(bytes, 18, 4));
        height = static_cast<std::int32_t>(littleEndian(bytes, 22, 4));
        header.bitsPerPixel = static_cast<int>(littleEndian(bytes, 28, 2));
        compression = littleEndian(bytes, 30, 4);
        const auto xPerMetre = static_cast<std::int32_t>(littleEndian(bytes, 38, 4));
        const auto yPerMetre = static_cast<std::int32_t>(littleEndian(bytes, 42, 4));
        if (xPerMetre > 0 && yPerMetre > 0) {
            header.dpiX = xPerMetre * 0.0254;
            header.dpiY = yPerMetre * 0.0254;
        }
    }
    if (header.width <= 0 || height == 0 || std::llabs(height) > INT32_MAX) {
        error = "BMP image without a valid width or height";
        return std::nullopt;
    }
    header.height = static_cast<int>(std::llabs(height));
    // Run-length, JPEG, PNG and unknown compressions are refused: the decoder would read an
    // unknown one as uncompressed rows, for as many rows as the header claims.
    if (compression != kBiRgb && compression != kBiBitFields && compression != kBiAlphaBitFields &&
        compression != kBiRle8 && compression != kBiRle4) {
        error = "BMP image with an unknown compression";
        return std::nullopt;
    }
    if (compression == kBiRgb || compression == kBiBitFields || compression == kBiAlphaBitFields) {
        const unsigned long long rowBytes =
            (static_cast<unsigned long long>(header.width) * header.bitsPerPixel + 31) / 32 * 4;
        if (dataOffset > bytes.size() ||
            rowBytes * static_cast<unsigned long long>(header.height) > bytes.size() - dataOffset) {
            error = "truncated BMP file";
            return std::nullopt;
        }
    }
    return header;
}

std::optional<GifHeader> readGifHeader(std::string_view bytes, std::string& error) {
    if (bytes.size() < 13) {
        error = "truncated GIF file";
        return std::nullopt;
    }
    GifHeader header;
    header.width = static_cast<int>(littleEndian(bytes, 6, 2));
    header.height = static_cast<int>(littleEndian(bytes, 8, 2));
    const unsigned screenFlags = static_cast<unsigned char>(bytes[10]);
    std::size_t pos = 13;
    if (screenFlags & 0x80u) {
        pos += colorTableBytes(screenFlags);
    }
    while (pos < bytes.size()) {
        const unsigned block = static_cast<unsigned char>(bytes[pos]);
        if (block == 0x21) {  // extension: label, then sub-blocks
            pos += 2;
            if (!skipSubBlocks(bytes, pos)) {
                break;
            }
        } else if (block == 0x2C) {  // image descriptor
            if (pos + 10 >= bytes.size()) {
                break;
            }
            const unsigned imageFlags = static_cast<unsigned char>(bytes[pos + 9]);
            const double framePixels = static_cast<double>(littleEndian(bytes, pos + 5, 2)) *
                                       littleEndian(bytes, pos + 7, 2);
            pos += 10;
            if (imageFlags & 0x80u) {
                pos += colorTableBytes(imageFlags);
            }
            if (pos >= bytes.size()) {
                break;
            }
            const unsigned minimumCodeSize = static_cast<unsigned char>(bytes[pos]);
            pos += 1;
            std::size_t dataBytes = 0;
            if (!skipSubBlocks(bytes, pos, &dataBytes) || pos > bytes.size()) {
                break;
            }
            if (header.width == 0 || header.height == 0) {
                error = "GIF image without a width or height";
                return std::nullopt;
            }
            // A frame whose data is far too short for its size: the decoder would fill the
            // rest with background, at the cost of the size the header claims.
            if (framePixels > mostLzwPixels(dataBytes, minimumCodeSize)) {
                error = "GIF image data far too short for its size";
                return std::nullopt;
            }
            return header;
        } else if (block == 0x3B) {  // trailer
            error = "GIF file without an image";
            return std::nullopt;
        } else {
            error = "damaged GIF file";
            return std::nullopt;
        }
    }
    error = "truncated GIF file";
    return std::nullopt;
}

}  // namespace relettra::pdf
