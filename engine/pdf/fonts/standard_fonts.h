#pragma once
// The standard 14 fonts: name resolution (with the usual aliases) and their glyph widths.

#include <optional>
#include <string_view>

#include "pdf/fonts/font_data.h"

namespace relettra::pdf {

// The standard font a /BaseFont names, or nullptr. A subset prefix ("ABCDEF+") and spaces are
// ignored; aliases such as Arial, ArialMT, TimesNewRoman(PS)(MT), CourierNew(PSMT) resolve to
// their metric-compatible standard font, and style suffixes (",Bold", "-BoldItalic",
// "-Oblique", "-ItalicMT") pick the matching face.
const fontdata::StandardFontMetrics* findStandardFont(std::string_view baseFont);

// Width of a glyph in 1/1000 em, looked up by name; a name the metrics do not list is tried
// again through its Unicode value (so "nbspace" finds "uni00A0").
std::optional<double> standardGlyphWidth(const fontdata::StandardFontMetrics& font,
                                         std::string_view glyphName);

// Whether the metrics list a glyph of that name (the standard font really holds it).
bool standardFontHasGlyph(const fontdata::StandardFontMetrics& font, std::string_view glyphName);

// Strips a subset tag "ABCDEF+" from a font name.
std::string_view stripSubsetTag(std::string_view name);

}  // namespace relettra::pdf
