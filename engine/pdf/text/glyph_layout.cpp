#include "pdf/text/glyph_layout.h"

#include <algorithm>

namespace relettra::pdf {

std::vector<PlacedGlyph> layoutGlyphs(const TextShow& show) {
    std::vector<PlacedGlyph> glyphs;
    double pen = 0;
    std::uint32_t textPos = 0;
    for (std::uint32_t e = 0; e < show.elements.size(); ++e) {
        const ShowElement& element = show.elements[e];
        if (!element.isString) {
            pen += show.adjustmentAdvance(element.adjustment);
            continue;
        }
        for (std::uint32_t g = 0; g < element.glyphs.size(); ++g) {
            const DecodedGlyph& glyph = element.glyphs[g];
            double advance = show.glyphAdvance(glyph);
            std::uint32_t textEnd = textPos + static_cast<std::uint32_t>(glyph.unicode.size());
            glyphs.push_back(PlacedGlyph{e, g, pen, advance, textPos, textEnd});
            pen += advance;
            textPos = textEnd;
        }
    }
    return glyphs;
}

void glyphCentre(const TextShow& show, const PlacedGlyph& glyph, double& x, double& y) {
    const DecodedGlyph& decoded = show.elements[glyph.element].glyphs[glyph.glyph];
    const double size = show.state.fontSize;
    double tx = 0;
    double ty = 0;
    if (show.writesVertically()) {
        tx = 0;
        ty = -(glyph.penStart + decoded.advance * size / 2);
    } else {
        // Half the glyph's own width (without character spacing), and about the middle of
        // lower-case and capital letters above the baseline.
        tx = glyph.penStart + decoded.advance * size * show.state.horizontalScaling / 2;
        ty = show.state.rise + 0.3 * size;
    }
    QPDFMatrix m = show.ctm;
    m.concat(show.tm);
    m.transform(tx, ty, x, y);
}

void glyphEmBox(const TextShow& show, const PlacedGlyph& glyph, double box[4]) {
    const double size = show.state.fontSize;
    const double width = show.elements[glyph.element].glyphs[glyph.glyph].advance * size;
    double xs[2] = {glyph.penStart, glyph.penStart + width * show.state.horizontalScaling};
    double ys[2] = {show.state.rise - 0.2 * size, show.state.rise + 0.8 * size};
    if (show.writesVertically()) {
        xs[0] = -size / 2;
        xs[1] = size / 2;
        ys[0] = -glyph.penStart;
        ys[1] = -glyph.penStart - width;
    }
    QPDFMatrix m = show.ctm;
    m.concat(show.tm);
    for (int corner = 0; corner < 4; ++corner) {
        double x = 0;
        double y = 0;
        m.transform(xs[corner % 2], ys[corner / 2], x, y);
        if (corner == 0) {
            box[0] = box[2] = x;
            box[1] = box[3] = y;
        }
        box[0] = std::min(box[0], x);
        box[1] = std::min(box[1], y);
        box[2] = std::max(box[2], x);
        box[3] = std::max(box[3], y);
    }
}

}  // namespace relettra::pdf
