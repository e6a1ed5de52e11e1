#include "pdf/drawing/shape_drawing.h"

#include "pdf/basics/pdf_number.h"
#include "pdf/pdf_document.h"

namespace relettra::pdf {

std::string rgbOperands(unsigned int rgb) {
    return formatPdfNumber(((rgb >> 16) & 0xFF) / 255.0) + " " +
           formatPdfNumber(((rgb >> 8) & 0xFF) / 255.0) + " " +
           formatPdfNumber((rgb & 0xFF) / 255.0);
}

bool drawRectangle(PdfDocument& document, double x, double y, double width, double height,
                   int mode) {
    PageEditor* page = document.openPage();
    if (page == nullptr) {
        return false;
    }
    double upX = 0;
    double upY = 0;
    document.toUpright(*page, x, y, upX, upY);
    if (document.topDownCoordinates()) {
        upY -= height;
    }
    const std::string color = rgbOperands(document.fillColor());
    const char* paint = mode == 1 ? "S" : mode == 2 ? "B" : "f";
    page->appendUprightContent("q " + color + " rg " + color + " RG " + formatPdfNumber(upX) + " " +
                               formatPdfNumber(upY) + " " + formatPdfNumber(width) + " " +
                               formatPdfNumber(height) + " re " + paint + " Q\n");
    page->noteReach(QPDFObjectHandle::Rectangle(upX, upY, upX + width, upY + height));
    return true;
}

}  // namespace relettra::pdf
