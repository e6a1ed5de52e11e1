#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/content/text_interpreter.h"

namespace relettra::pdf {

// Where one glyph of a text-showing operator stands.
struct PlacedGlyph {
    std::uint32_t element;    // index into TextShow::elements
    std::uint32_t glyph;      // index into that element's glyphs
    double penStart;          // text space, along the writing direction, from the operator's start
    double advance;           // text space advance (spacing and scaling included)
    std::uint32_t textBegin;  // byte range of its Unicode text in TextShow::text()
    std::uint32_t textEnd;
};

// The glyphs of an operator in order, with their pen positions and text ranges.
std::vector<PlacedGlyph> layoutGlyphs(const TextShow& show);

// The centre of a glyph's box in the show's target coordinates (upright page coordinates).
void glyphCentre(const TextShow& show, const PlacedGlyph& glyph, double& x, double& y);

// The box (x0, y0, x1, y1) in the show's target coordinates around the glyph's em box: its own
// width along the baseline (no spacing), a fifth of the size below the baseline and four fifths
// above; in vertical writing, the size across its line and its advance down it.
void glyphEmBox(const TextShow& show, const PlacedGlyph& glyph, double box[4]);

}  // namespace relettra::pdf
