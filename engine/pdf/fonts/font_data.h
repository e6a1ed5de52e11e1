#pragma once
// Tables generated at build time from Debian-packaged data (see generate_font_data.py):
// the Adobe Glyph List, the ZapfDingbats glyph list, the standard encodings and the
// metrics of the standard 14 fonts.

#include <cstddef>
#include <cstdint>

namespace relettra::pdf::fontdata {

// One glyph name with its Unicode text (UTF-8). Arrays are sorted by name (strcmp order).
struct GlyphListEntry {
    const char* name;
    const char* utf8;
};

// One glyph's advance width in 1/1000 em. Arrays are sorted by name (strcmp order).
struct GlyphWidth {
    const char* name;
    std::uint16_t width;
};

struct StandardFontMetrics {
    const char* fontName;      // PostScript name of the standard font, e.g. "Helvetica"
    const GlyphWidth* widths;  // sorted by glyph name
    std::size_t widthCount;
    const char* const* builtinEncoding;  // 256 glyph names, nullptr where a code is unused
};

extern const GlyphListEntry kGlyphList[];
extern const std::size_t kGlyphListSize;
extern const GlyphListEntry kZapfDingbatsList[];
extern const std::size_t kZapfDingbatsListSize;

extern const char* const kStandardEncoding[256];
extern const char* const kWinAnsiEncoding[256];
extern const char* const kMacRomanEncoding[256];
extern const char* const kSymbolEncoding[256];
extern const char* const kZapfDingbatsEncoding[256];

extern const StandardFontMetrics kStandardFonts[];
extern const std::size_t kStandardFontsSize;

}  // namespace relettra::pdf::fontdata
