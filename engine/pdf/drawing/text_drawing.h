#pragma once

#include <string>

namespace relettra::pdf {

class PdfDocument;

// Writes `text` (UTF-8) on the open page in the document's fallback font at the selected size
// and fill colour. (x, y) is the upper-left corner of the text's em box in the page's
// coordinates. Characters the font lacks are left out and reported. Returns false when nothing
// could be written (no open page, no font). With an `angle` (degrees, clockwise on the displayed
// page, top-down coordinates) the text runs in that direction, (x, y) being the corner of its
// em box where its first glyph's top lies. With a `room` above 0 the text is condensed
// horizontally (its glyphs and their advances alike) where it would take more than that along
// its direction.
bool drawText(PdfDocument& document, double x, double y, const std::string& text, int angle = 0,
              double room = 0);

// The same with (x, y) the point of the baseline where the text starts.
bool drawTextOnBaseline(PdfDocument& document, double x, double y, const std::string& text,
                        int angle, double room);

}  // namespace relettra::pdf
