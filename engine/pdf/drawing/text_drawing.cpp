#include "pdf/drawing/text_drawing.h"

#include "pdf/basics/pdf_number.h"
#include "pdf/basics/utf8.h"
#include "pdf/content/content_lexer.h"
#include "pdf/drawing/shape_drawing.h"
#include "pdf/fallback_font/fallback_font.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/pdf_document.h"

namespace relettra::pdf {

namespace {

// The characters of `text` that the font can show, and whether any were left out.
std::string coveredPart(const FallbackFont& font, const std::string& text, bool& dropped) {
    std::string out;
    dropped = false;
    for (char32_t c : decodeUtf8(text)) {
        if (font.covers(c)) {
            appendUtf8(out, c);
        } else {
            dropped = true;
        }
    }
    return out;
}

}  // namespace

bool drawText(PdfDocument& document, double x, double y, const std::string& text) {
    PageEditor* page = document.openPage();
    FallbackFont* font = document.selectedFont();
    if (page == nullptr || font == nullptr) {
        return false;
    }
    bool dropped = false;
    std::string shown = coveredPart(*font, text, dropped);
    if (dropped) {
        document.errors().report(kErrWarning, 0,
                                 "The fallback font has no glyph for some characters of: " + text);
    }
    if (shown.empty()) {
        return !text.empty() ? false : true;
    }
    const double size = document.selectedFontSize();
    // The em box spans ascent + descent scaled to one em; its top is at (x, y).
    const double ascent = font->ascent();
    const double descent = font->descent() < 0 ? -font->descent() : font->descent();
    const double emTop = ascent + descent > 0 ? ascent / (ascent + descent) : 0.8;
    double upX = 0;
    double upY = 0;
    document.toUpright(*page, x, y, upX, upY);
    const double baseline = document.topDownCoordinates() ? upY - emTop * size : upY;
    QPDFObjectHandle fontObject = font->fontObject(document.qpdf());
    std::string name = page->addResource("/Font", fontObject, "RelF");
    const std::string color = rgbOperands(document.fillColor());
    // The text state is set in full: the page's own settings must not reach this text.
    page->appendUprightContent("q BT " + color + " rg " + name + " " + formatPdfNumber(size) +
                               " Tf 0 Tc 0 Tw 100 Tz 0 Ts 0 Tr " + formatPdfNumber(upX) + " " +
                               formatPdfNumber(baseline) + " Td " +
                               encodeStringToken(font->encode(shown)) + " Tj ET Q\n");
    // The font's widths and Unicode map are brought up to date now, so that later rules of the
    // run can read and edit this text like any other.
    font->finish(document.qpdf());
    document.fonts().forget(fontObject);
    return true;
}

}  // namespace relettra::pdf
