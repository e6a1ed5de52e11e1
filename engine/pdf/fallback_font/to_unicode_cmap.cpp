#include "pdf/fallback_font/to_unicode_cmap.h"

namespace relettra::pdf {

namespace {

// A bfchar block may hold at most 100 entries.
constexpr std::size_t kEntriesPerBlock = 100;

void appendHex16(std::string& out, unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out.push_back(digits[(value >> shift) & 0xF]);
    }
}

void appendUtf16(std::string& out, char32_t c) {
    if (c >= 0x10000 && c <= 0x10FFFF) {
        const char32_t v = c - 0x10000;
        appendHex16(out, 0xD800 + static_cast<unsigned>(v >> 10));
        appendHex16(out, 0xDC00 + static_cast<unsigned>(v & 0x3FF));
    } else {
        appendHex16(out, static_cast<unsigned>(c & 0xFFFF));
    }
}

}  // namespace

std::string buildToUnicodeCMap(const std::map<std::uint16_t, char32_t>& codeToUnicode) {
    std::string out =
        "/CIDInit /ProcSet findresource begin\n"
        "12 dict begin\n"
        "begincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n"
        "/CMapType 2 def\n"
        "1 begincodespacerange\n"
        "<0000> <FFFF>\n"
        "endcodespacerange\n";
    auto it = codeToUnicode.begin();
    std::size_t remaining = codeToUnicode.size();
    while (remaining > 0) {
        const std::size_t count = remaining < kEntriesPerBlock ? remaining : kEntriesPerBlock;
        out += std::to_string(count);
        out += " beginbfchar\n";
        for (std::size_t k = 0; k < count; ++k, ++it) {
            out.push_back('<');
            appendHex16(out, it->first);
            out += "> <";
            appendUtf16(out, it->second);
            out += ">\n";
        }
        out += "endbfchar\n";
        remaining -= count;
    }
    out +=
        "endcmap\n"
        "CMapName currentdict /CMap defineresource pop\n"
        "end\n"
        "end\n";
    return out;
}

}  // namespace relettra::pdf
