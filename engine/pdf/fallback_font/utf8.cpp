#include "pdf/fallback_font/utf8.h"

namespace relettra::pdf {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

std::u32string decodeUtf8(std::string_view utf8) {
    std::u32string result;
    result.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 0;
        char32_t value = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            result.push_back(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            value = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            value = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            value = lead & 0x07;
            minimum = 0x10000;
        } else {
            result.push_back(kReplacement);
            ++i;
            continue;
        }
        if (i + length > utf8.size()) {
            result.push_back(kReplacement);
            ++i;
            continue;
        }
        bool wellFormed = true;
        for (std::size_t k = 1; k < length; ++k) {
            const auto byte = static_cast<unsigned char>(utf8[i + k]);
            if (!isContinuation(byte)) {
                wellFormed = false;
                break;
            }
            value = (value << 6) | (byte & 0x3F);
        }
        if (!wellFormed || value < minimum || value > 0x10FFFF ||
            (value >= 0xD800 && value <= 0xDFFF)) {
            result.push_back(kReplacement);
            ++i;
            continue;
        }
        result.push_back(value);
        i += length;
    }
    return result;
}

}  // namespace relettra::pdf
