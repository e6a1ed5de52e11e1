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

}  // namespace relettra::pdf
