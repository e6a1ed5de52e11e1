#pragma once
// How a simple font's code finds its glyph in the embedded program, the way PDF viewers
// look it up.

#include <cstdint>
#include <string>

namespace relettra::pdf {

class FontProgram;

// Glyph index of a code in an embedded simple font's program, 0 when the program has none.
// Type 1 / CFF: by the code's glyph name. TrueType: non-symbolic fonts through the (3,1)
// cmap by the name's Unicode value; symbolic fonts through the (3,0) cmap by code (also at
// 0xF000, 0xF100, 0xF200 + code); then the (1,0) cmap (by the name's MacRoman code for
// non-symbolic fonts) and last the post table's glyph names. `unicode` stands in for the
// name's value when the code has no name.
unsigned simpleGlyphIndex(const FontProgram& program, std::uint32_t code,
                          const std::string& glyphName, const std::string& unicode, bool symbolic);

}  // namespace relettra::pdf
