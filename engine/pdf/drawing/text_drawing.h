#pragma once

#include <string>

namespace relettra::pdf {

class PdfDocument;

// Writes `text` (UTF-8) on the open page in the document's fallback font at the selected size
// and fill colour. (x, y) is the upper-left corner of the text's em box in the page's
// coordinates. Characters the font lacks are left out and reported. Returns false when nothing
// could be written (no open page, no font).
bool drawText(PdfDocument& document, double x, double y, const std::string& text);

}  // namespace relettra::pdf
