#include "pdf/basics/utf8.h"

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

bool isWellFormedUtf8(std::string_view utf8) {
    const std::u32string decoded = decodeUtf8(utf8);
    size_t replacements = 0;
    for (char32_t c : decoded) {
        if (c == 0xFFFD) ++replacements;
    }
    // A U+FFFD that the text really holds is three bytes EF BF BD.
    size_t written = 0;
    for (size_t pos = utf8.find("\xEF\xBF\xBD"); pos != std::string_view::npos;
         pos = utf8.find("\xEF\xBF\xBD", pos + 3)) {
        ++written;
    }
    return replacements == written;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string toUtf8(char32_t cp) {
    std::string out;
    appendUtf8(out, cp);
    return out;
}

std::string utf16BeToUtf8(const std::string& bytes) {
    std::string out;
    if (bytes.size() == 1) {
        appendUtf8(out, static_cast<unsigned char>(bytes[0]));
        return out;
    }
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t unit =
            (static_cast<unsigned char>(bytes[i]) << 8) | static_cast<unsigned char>(bytes[i + 1]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = (static_cast<unsigned char>(bytes[i + 2]) << 8) |
                                 static_cast<unsigned char>(bytes[i + 3]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, unit);
    }
    return out;
}

}  // namespace relettra::pdf
