#pragma once

#include <cstddef>

namespace relettra::pdf {

class PdfDocument;

// Draws the image held in `bytes` (JPEG, PNG, BMP or GIF) on the open page with its upper-left
// corner at (x, y) in the page's coordinates, `width` by `height` points (0 follows the image's
// aspect ratio). The same bytes drawn several times in a document are stored once.
// Returns false, after telling the error callback, when the bytes cannot be decoded.
bool drawImage(PdfDocument& document, double x, double y, double width, double height,
               const void* bytes, std::size_t size);

}  // namespace relettra::pdf
