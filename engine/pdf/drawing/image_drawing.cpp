#include "pdf/drawing/image_drawing.h"

#include <string>

#include "pdf/basics/pdf_number.h"
#include "pdf/images/image_cache.h"
#include "pdf/pdf_document.h"

namespace relettra::pdf {

bool drawImage(PdfDocument& document, double x, double y, double width, double height,
               const void* bytes, std::size_t size) {
    PageEditor* page = document.openPage();
    if (page == nullptr) {
        return false;
    }
    std::string error;
    std::optional<ImageXObject> image =
        document.images().get(std::string(static_cast<const char*>(bytes), size), error);
    if (!image) {
        document.errors().report(kErrValue, 0, "Cannot draw the image: " + error);
        return false;
    }
    document.requirePdfVersion(image->minimumPdfVersion);
    auto [placedWidth, placedHeight] = resolvePlacedSize(image->info, width, height);
    double uprightX = 0;
    double uprightY = 0;
    document.toUpright(*page, x, y, uprightX, uprightY);
    // The image's lower-left corner in upright coordinates.
    if (document.topDownCoordinates()) {
        uprightY -= placedHeight;
    }
    std::string name = page->addResource("/XObject", image->stream, "RelIm");
    page->appendUprightContent("q " + formatPdfNumber(placedWidth) + " 0 0 " +
                               formatPdfNumber(placedHeight) + " " + formatPdfNumber(uprightX) +
                               " " + formatPdfNumber(uprightY) + " cm " + name + " Do Q\n");
    return true;
}

}  // namespace relettra::pdf
