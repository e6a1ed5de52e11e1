#include "pdf/images/jpeg_header.h"

#include <cstddef>
#include <cstdint>

namespace relettra::pdf {

namespace {

constexpr unsigned kSoi = 0xD8;
constexpr unsigned kEoi = 0xD9;
constexpr unsigned kSos = 0xDA;
constexpr unsigned kApp0 = 0xE0;
constexpr unsigned kApp14 = 0xEE;

unsigned byteAt(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

unsigned bigEndian16(std::string_view bytes, std::size_t i) {
    return byteAt(bytes, i) << 8 | byteAt(bytes, i + 1);
}

bool isStartOfFrame(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers without a length field: SOI, EOI, RSTn and TEM.
bool isStandalone(unsigned marker) {
    return marker == kSoi || marker == kEoi || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

void readJfifDensity(std::string_view segment, JpegHeader& header) {
    // "JFIF\0", version (2), units (1), x density (2), y density (2)
    if (segment.size() < 12 || segment.substr(0, 5) != std::string_view("JFIF\0", 5)) {
        return;
    }
    const unsigned units = byteAt(segment, 7);
    const double x = bigEndian16(segment, 8);
    const double y = bigEndian16(segment, 10);
    if (x <= 0 || y <= 0) {
        return;
    }
    if (units == 1) {  // dots per inch
        header.dpiX = x;
        header.dpiY = y;
    } else if (units == 2) {  // dots per centimetre
        header.dpiX = x * 2.54;
        header.dpiY = y * 2.54;
    }
}

bool readFrame(std::string_view segment, unsigned marker, JpegHeader& header, std::string& error) {
    if (marker == 0xC3 || (marker >= 0xC5 && marker <= 0xC7) || marker >= 0xC9) {
        error = "unsupported JPEG coding (lossless, hierarchical or arithmetic)";
        return false;
    }
    if (segment.size() < 6) {
        error = "damaged JPEG frame header";
        return false;
    }
    if (byteAt(segment, 0) != 8) {
        error =
            "unsupported JPEG sample precision of " + std::to_string(byteAt(segment, 0)) + " bits";
        return false;
    }
    header.height = static_cast<int>(bigEndian16(segment, 1));
    header.width = static_cast<int>(bigEndian16(segment, 3));
    header.components = static_cast<int>(byteAt(segment, 5));
    header.progressive = marker == 0xC2;
    if (header.width == 0 || header.height == 0) {
        error = "JPEG image without a width or height";
        return false;
    }
    if (header.components != 1 && header.components != 3 && header.components != 4) {
        error = "unsupported JPEG with " + std::to_string(header.components) + " components";
        return false;
    }
    return true;
}

// True when an end-of-image marker follows the first scan. Inside entropy-coded data a 0xFF
// byte is always followed by 0x00 or a restart marker, so FF D9 found there is the real end.
bool endsAfterScan(std::string_view bytes, std::size_t scanStart) {
    const std::size_t end = bytes.rfind(std::string_view("\xFF\xD9", 2));
    return end != std::string_view::npos && end >= scanStart;
}

}  // namespace

std::optional<JpegHeader> readJpegHeader(std::string_view bytes, std::string& error) {
    if (bytes.size() < 4 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != kSoi) {
        error = "not a JPEG file";
        return std::nullopt;
    }
    JpegHeader header;
    bool haveFrame = false;
    std::size_t pos = 2;
    while (true) {
        // Markers may be preceded by any number of 0xFF fill bytes.
        if (pos >= bytes.size() || byteAt(bytes, pos) != 0xFF) {
            error = pos >= bytes.size() ? "truncated JPEG file" : "damaged JPEG marker structure";
            return std::nullopt;
        }
        while (pos < bytes.size() && byteAt(bytes, pos) == 0xFF) {
            ++pos;
        }
        if (pos >= bytes.size()) {
            error = "truncated JPEG file";
            return std::nullopt;
        }
        const unsigned marker = byteAt(bytes, pos++);
        if (isStandalone(marker)) {
            if (marker == kEoi) {
                error = "JPEG file ends before its image data";
                return std::nullopt;
            }
            continue;
        }
        if (pos + 2 > bytes.size()) {
            error = "truncated JPEG file";
            return std::nullopt;
        }
        const std::size_t length = bigEndian16(bytes, pos);
        if (length < 2 || pos + length > bytes.size()) {
            error = "truncated JPEG file";
            return std::nullopt;
        }
        const std::string_view segment = bytes.substr(pos + 2, length - 2);
        pos += length;
        if (isStartOfFrame(marker)) {
            if (!readFrame(segment, marker, header, error)) {
                return std::nullopt;
            }
            haveFrame = true;
        } else if (marker == kApp0) {
            readJfifDensity(segment, header);
        } else if (marker == kApp14) {
            header.adobeMarker = segment.size() >= 5 && segment.substr(0, 5) == "Adobe";
        } else if (marker == kSos) {
            if (!haveFrame) {
                error = "JPEG scan without a frame header";
                return std::nullopt;
            }
            if (!endsAfterScan(bytes, pos)) {
                error = "truncated JPEG file (no end-of-image marker)";
                return std::nullopt;
            }
            return header;
        }
    }
}

}  // namespace relettra::pdf
