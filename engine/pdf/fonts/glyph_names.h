#pragma once
// Glyph names to Unicode, following the Adobe Glyph List rules.

#include <string>
#include <string_view>

namespace relettra::pdf {

// The Unicode text (UTF-8) a glyph name stands for, or "" when the name means nothing
// known. Applies the AGL rules: anything after the first '.' is dropped, '_' joins the
// components of a ligature, each component is looked up in the glyph list (the ZapfDingbats
// list first when zapfDingbats is set), else read as uniXXXX[XXXX...] or uXXXX[XX].
std::string glyphNameToUnicode(std::string_view name, bool zapfDingbats = false);

}  // namespace relettra::pdf
