#pragma once

#include <string>

namespace relettra::pdf {

class PdfDocument;

// Draws a rectangle on the open page, its upper-left corner at (x, y) in the page's coordinates,
// in the document's fill colour. `mode` 3 fills it; 1 strokes its outline; 2 does both.
bool drawRectangle(PdfDocument& document, double x, double y, double width, double height,
                   int mode);

// The PDF colour operator arguments of a 0xRRGGBB colour ("r g b").
std::string rgbOperands(unsigned int rgb);

}  // namespace relettra::pdf
