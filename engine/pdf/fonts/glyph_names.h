#pragma once
// Glyph names to Unicode, following the Adobe Glyph List rules.

#include <cstdint>
#include <string>
#include <string_view>

namespace relettra::pdf {

// The Unicode text (UTF-8) a glyph name stands for, or "" when the name means nothing
// known. Applies the AGL rules: anything after the first '.' is dropped, '_' joins the
// components of a ligature, each component is looked up in the glyph list (the ZapfDingbats
// list first when zapfDingbats is set), else read as uniXXXX[XXXX...] or uXXXX[XX].
std::string glyphNameToUnicode(std::string_view name, bool zapfDingbats = false);

// The text of a glyph name outside the list that only numbers its glyph, as many producers
// write them (Type 3 fonts from TeX, printer drivers): uniXXXX and uXXXX[XX] with hexadecimal
// digits of either case, and a few letters followed by a number ("a65", "g65", "cid65", "G41").
// A numbering name is trusted only where its number, read in decimal or (two digits) in
// hexadecimal, is the code it stands at: the text is then that code's character, which is what
// readers show for such a glyph. "" when the name says nothing (or a control character).
std::string numberedGlyphNameToUnicode(std::string_view name, std::uint32_t code);

}  // namespace relettra::pdf
