#include "pdf/fonts/glyph_names.h"

#include <algorithm>
#include <cstring>

#include "pdf/basics/utf8.h"
#include "pdf/fonts/font_data.h"

namespace relettra::pdf {
namespace {

const char* lookup(const fontdata::GlyphListEntry* begin, std::size_t size, std::string_view name) {
    const auto* end = begin + size;
    const auto* it = std::lower_bound(begin, end, name,
                                      [](const fontdata::GlyphListEntry& e, std::string_view n) {
                                          return std::string_view(e.name) < n;
                                      });
    if (it != end && std::string_view(it->name) == name) return it->utf8;
    return nullptr;
}

int hexValue(char c) {
    // Only upper-case hexadecimal digits are valid in uni/u names.
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseHex(std::string_view digits, char32_t& value) {
    value = 0;
    for (char c : digits) {
        const int v = hexValue(c);
        if (v < 0) return false;
        value = (value << 4) | static_cast<char32_t>(v);
    }
    return true;
}

bool isScalar(char32_t cp) {
    return cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

std::string componentToUnicode(std::string_view component, bool zapfDingbats) {
    if (component.empty()) return {};
    if (zapfDingbats) {
        if (const char* text =
                lookup(fontdata::kZapfDingbatsList, fontdata::kZapfDingbatsListSize, component))
            return text;
    }
    if (const char* text = lookup(fontdata::kGlyphList, fontdata::kGlyphListSize, component))
        return text;
    if (component.size() >= 7 && component.substr(0, 3) == "uni" &&
        (component.size() - 3) % 4 == 0) {
        std::string out;
        for (std::size_t pos = 3; pos < component.size(); pos += 4) {
            char32_t cp = 0;
            if (!parseHex(component.substr(pos, 4), cp) || !isScalar(cp)) return {};
            appendUtf8(out, cp);
        }
        return out;
    }
    if (component.size() >= 5 && component.size() <= 7 && component[0] == 'u') {
        char32_t cp = 0;
        if (parseHex(component.substr(1), cp) && isScalar(cp)) return toUtf8(cp);
    }
    return {};
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int anyCaseHexValue(char c) {
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return hexValue(c);
}

// The value of a run of digits in a base (10 or 16), -1 when a character is no such digit or the
// run is empty or too long to be a character code.
long digitsValue(std::string_view digits, int base) {
    if (digits.empty() || digits.size() > 6) return -1;
    long value = 0;
    for (char c : digits) {
        const int digit = base == 16 ? anyCaseHexValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (digit < 0) return -1;
        value = value * base + digit;
    }
    return value;
}

// A character a reader shows: no control character (C0, DEL, C1), no surrogate.
bool isShownCharacter(char32_t cp) {
    return cp >= 0x20 && !(cp >= 0x7F && cp <= 0x9F) && isScalar(cp);
}

// uniXXXX[XXXX...] and uXXXX[XX] with digits of either case.
std::string anyCaseUnicodeName(std::string_view name) {
    std::string out;
    if (name.size() >= 7 && name.substr(0, 3) == "uni" && (name.size() - 3) % 4 == 0) {
        for (std::size_t pos = 3; pos < name.size(); pos += 4) {
            const long cp = digitsValue(name.substr(pos, 4), 16);
            if (cp < 0 || !isShownCharacter(static_cast<char32_t>(cp))) return {};
            appendUtf8(out, static_cast<char32_t>(cp));
        }
        return out;
    }
    if (name.size() >= 5 && name.size() <= 7 && name[0] == 'u') {
        const long cp = digitsValue(name.substr(1), 16);
        if (cp >= 0 && isShownCharacter(static_cast<char32_t>(cp)))
            appendUtf8(out, static_cast<char32_t>(cp));
    }
    return out;
}

}  // namespace

std::string glyphNameToUnicode(std::string_view name, bool zapfDingbats) {
    const auto dot = name.find('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    std::string out;
    while (true) {
        const auto underscore = name.find('_');
        out += componentToUnicode(name.substr(0, underscore), zapfDingbats);
        if (underscore == std::string_view::npos) break;
        name = name.substr(underscore + 1);
    }
    return out;
}

std::string numberedGlyphNameToUnicode(std::string_view name, std::uint32_t code) {
    const auto dot = name.find('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    if (std::string text = anyCaseUnicodeName(name); !text.empty()) return text;
    // Hexadecimal digits are letters too: every split of up to three letters is tried.
    bool numbersCode = false;
    for (std::size_t letters = 1; letters <= 3 && letters < name.size() && !numbersCode;
         ++letters) {
        if (!isAsciiLetter(name[letters - 1])) break;
        const std::string_view digits = name.substr(letters);
        numbersCode = digitsValue(digits, 10) == static_cast<long>(code) ||
                      (digits.size() == 2 && digitsValue(digits, 16) == static_cast<long>(code));
    }
    if (!numbersCode || !isShownCharacter(code)) return {};
    return toUtf8(code);
}

}  // namespace relettra::pdf
