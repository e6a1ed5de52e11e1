#include "pdf/drawing/text_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "pdf/basics/pdf_number.h"
#include "pdf/basics/utf8.h"
#include "pdf/content/content_lexer.h"
#include "pdf/drawing/shape_drawing.h"
#include "pdf/fallback_font/fallback_font.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/pdf_document.h"

namespace relettra::pdf {

namespace {

// The number of characters of `text` that the runs hold.
std::size_t characterCount(const std::vector<FallbackFont::Run>& runs) {
    std::size_t count = 0;
    for (const FallbackFont::Run& run : runs) {
        count += decodeUtf8(run.text).size();
    }
    return count;
}

// The share of the em box above the baseline, from the first font's ascender and descender.
double emTopOf(const FallbackFont& font) {
    const double ascent = font.ascent();
    const double descent = std::fabs(font.descent());
    return ascent + descent > 0 ? ascent / (ascent + descent) : 0.8;
}

// The horizontal scaling (percent) that brings a text of `length` into `room`: 100 when it fits
// or no room is given. Never below 1 percent, which would write the text as a line.
double condensingFor(double length, double room) {
    if (room <= 0 || length <= room) {
        return 100.0;
    }
    return std::max(1.0, 100.0 * room / length);
}

// Writes the text from the baseline origin (upright page coordinates), `angle` degrees
// clockwise on the displayed page.
bool writeFromOrigin(PdfDocument& document, PageEditor& page, FallbackFont& font, double originX,
                     double originY, const std::string& text, int angle, double room) {
    // Each character in the first font of the chain that has it.
    const std::vector<FallbackFont::Run> runs = font.runs(text);
    if (characterCount(runs) < decodeUtf8(text).size()) {
        document.errors().report(kErrWarning, 0,
                                 "The fallback font has no glyph for some characters of: " + text);
    }
    if (runs.empty()) {
        return text.empty();
    }
    const double size = document.selectedFontSize();
    const double naturalLength = font.advance(text) * size;
    const double scaling = condensingFor(naturalLength, room);
    const double length = naturalLength * scaling / 100.0;
    const double turn = -angle * 3.14159265358979323846 / 180.0;
    const double cosTurn = angle == 0 ? 1.0 : std::cos(turn);
    const double sinTurn = angle == 0 ? 0.0 : std::sin(turn);
    const std::string placement =
        angle == 0 ? formatPdfNumber(originX) + " " + formatPdfNumber(originY) + " Td "
                   : formatPdfNumber(cosTurn) + " " + formatPdfNumber(sinTurn) + " " +
                         formatPdfNumber(-sinTurn) + " " + formatPdfNumber(cosTurn) + " " +
                         formatPdfNumber(originX) + " " + formatPdfNumber(originY) + " Tm ";
    // One Tj per run, each in its own font: every Tj goes on where the previous one ended.
    std::string shownRuns;
    std::vector<QPDFObjectHandle> usedFonts;
    for (const FallbackFont::Run& run : runs) {
        FallbackFace& face = font.face(run.face);
        QPDFObjectHandle fontObject = face.fontObject(document.qpdf());
        shownRuns += page.addResource("/Font", fontObject, "RelF") + " " + formatPdfNumber(size) +
                     " Tf " + encodeStringToken(face.encode(run.text)) + " Tj ";
        usedFonts.push_back(fontObject);
    }
    const std::string color = rgbOperands(document.fillColor());
    // The text state is set in full: the page's own settings must not reach this text.
    page.appendUprightContent("q BT " + color + " rg 0 Tc 0 Tw " + formatPdfNumber(scaling) +
                              " Tz 0 Ts 0 Tr " + placement + shownRuns + "ET Q\n");
    // The em boxes of the text, turned as it is: from its baseline origin along its direction.
    const double emTop = emTopOf(font);
    QPDFObjectHandle::Rectangle reach(originX, originY, originX, originY);
    for (double along : {0.0, length}) {
        for (double up : {-(1 - emTop) * size, emTop * size}) {
            const double cx = originX + along * cosTurn - up * sinTurn;
            const double cy = originY + along * sinTurn + up * cosTurn;
            reach = QPDFObjectHandle::Rectangle(std::min(reach.llx, cx), std::min(reach.lly, cy),
                                                std::max(reach.urx, cx), std::max(reach.ury, cy));
        }
    }
    page.noteReach(reach);
    // The fonts' widths and Unicode maps are brought up to date now, so that later rules of the
    // run can read and edit this text like any other.
    font.finish(document.qpdf());
    for (const QPDFObjectHandle& fontObject : usedFonts) {
        document.fonts().forget(fontObject);
    }
    return true;
}

}  // namespace

bool drawText(PdfDocument& document, double x, double y, const std::string& text, int angle,
              double room) {
    PageEditor* page = document.openPage();
    FallbackFont* font = document.selectedFont();
    if (page == nullptr || font == nullptr) {
        return false;
    }
    const double size = document.selectedFontSize();
    double upX = 0;
    double upY = 0;
    document.toUpright(*page, x, y, upX, upY);
    // The baseline lies below the em box's top by the font's ascent (scaled to one em), across
    // the text's direction.
    const double emTop = emTopOf(*font);
    const double turn = -angle * 3.14159265358979323846 / 180.0;
    double originX = upX;
    double originY = document.topDownCoordinates() ? upY - emTop * size : upY;
    if (angle != 0) {
        originX = upX + std::sin(turn) * emTop * size;
        originY = upY - std::cos(turn) * emTop * size;
    }
    return writeFromOrigin(document, *page, *font, originX, originY, text, angle, room);
}

bool drawTextOnBaseline(PdfDocument& document, double x, double y, const std::string& text,
                        int angle, double room) {
    PageEditor* page = document.openPage();
    FallbackFont* font = document.selectedFont();
    if (page == nullptr || font == nullptr) {
        return false;
    }
    double upX = 0;
    double upY = 0;
    document.toUpright(*page, x, y, upX, upY);
    return writeFromOrigin(document, *page, *font, upX, upY, text, angle, room);
}

}  // namespace relettra::pdf
