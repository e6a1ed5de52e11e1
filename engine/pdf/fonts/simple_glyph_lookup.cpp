#include "pdf/fonts/simple_glyph_lookup.h"

#include "pdf/basics/utf8.h"
#include "pdf/fonts/font_data.h"
#include "pdf/fonts/font_program.h"
#include "pdf/fonts/glyph_names.h"

namespace relettra::pdf {
namespace {

// The single code point a glyph name (or, without a name, the given text) stands for.
char32_t singleCodePoint(const std::string& glyphName, const std::string& fallbackText) {
    const auto cps = decodeUtf8(glyphName.empty() ? fallbackText : glyphNameToUnicode(glyphName));
    return cps.size() == 1 ? cps[0] : 0;
}

}  // namespace

unsigned simpleGlyphIndex(const FontProgram& program, std::uint32_t code,
                          const std::string& glyphName, const std::string& unicode, bool symbolic) {
    if (code > 255) return 0;
    if (!program.isTrueType()) return program.glyphByName(glyphName);

    unsigned gid = 0;
    const bool has31 = program.hasCmap(3, 1);
    if (!symbolic && has31) {
        if (const char32_t cp = singleCodePoint(glyphName, unicode))
            gid = program.glyphFromCmap(3, 1, cp);
    }
    if (gid == 0 && (symbolic || !has31) && program.hasCmap(3, 0)) {
        for (const unsigned long offset : {0x0UL, 0xF000UL, 0xF100UL, 0xF200UL}) {
            gid = program.glyphFromCmap(3, 0, offset + code);
            if (gid != 0) break;
        }
    }
    if (gid == 0 && symbolic && has31 && !glyphName.empty()) {
        // Flagged symbolic but carrying only a Unicode cmap: go through the glyph name.
        if (const char32_t cp = singleCodePoint(glyphName, {}))
            gid = program.glyphFromCmap(3, 1, cp);
    }
    if (gid == 0 && program.hasCmap(1, 0)) {
        unsigned long macCode = code;
        if (!symbolic && !glyphName.empty()) {
            for (int c = 0; c < 256; ++c) {
                if (fontdata::kMacRomanEncoding[c] && glyphName == fontdata::kMacRomanEncoding[c]) {
                    macCode = static_cast<unsigned long>(c);
                    break;
                }
            }
        }
        gid = program.glyphFromCmap(1, 0, macCode);
    }
    if (gid == 0 && !glyphName.empty()) gid = program.glyphByName(glyphName);
    return gid;
}

}  // namespace relettra::pdf
