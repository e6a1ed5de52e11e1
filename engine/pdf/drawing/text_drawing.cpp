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

}  // namespace

bool drawText(PdfDocument& document, double x, double y, const std::string& text, int angle) {
    PageEditor* page = document.openPage();
    FallbackFont* font = document.selectedFont();
    if (page == nullptr || font == nullptr) {
        return false;
    }
    // Each character in the first font of the chain that has it.
    const std::vector<FallbackFont::Run> runs = font->runs(text);
    if (characterCount(runs) < decodeUtf8(text).size()) {
        document.errors().report(kErrWarning, 0,
                                 "The fallback font has no glyph for some characters of: " + text);
    }
    if (runs.empty()) {
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
    // Turned text: its em box's upper-left corner at (x, y), its baseline below that corner
    // across its own direction, `angle` degrees clockwise on the displayed page.
    const double turn = -angle * 3.14159265358979323846 / 180.0;
    const double cosTurn = std::cos(turn);
    const double sinTurn = std::sin(turn);
    const std::string placement =
        angle == 0 ? formatPdfNumber(upX) + " " + formatPdfNumber(baseline) + " Td "
                   : formatPdfNumber(cosTurn) + " " + formatPdfNumber(sinTurn) + " " +
                         formatPdfNumber(-sinTurn) + " " + formatPdfNumber(cosTurn) + " " +
                         formatPdfNumber(upX + sinTurn * emTop * size) + " " +
                         formatPdfNumber(upY - cosTurn * emTop * size) + " Tm ";
    // One Tj per run, each in its own font: every Tj goes on where the previous one ended.
    std::string shownRuns;
    std::vector<QPDFObjectHandle> usedFonts;
    for (const FallbackFont::Run& run : runs) {
        FallbackFace& face = font->face(run.face);
        QPDFObjectHandle fontObject = face.fontObject(document.qpdf());
        shownRuns += page->addResource("/Font", fontObject, "RelF") + " " + formatPdfNumber(size) +
                     " Tf " + encodeStringToken(face.encode(run.text)) + " Tj ";
        usedFonts.push_back(fontObject);
    }
    const std::string color = rgbOperands(document.fillColor());
    // The text state is set in full: the page's own settings must not reach this text.
    page->appendUprightContent("q BT " + color + " rg 0 Tc 0 Tw 100 Tz 0 Ts 0 Tr " + placement +
                               shownRuns + "ET Q\n");
    // The em boxes of the text, turned as it is: from its baseline origin along its direction.
    const double originX = angle == 0 ? upX : upX + sinTurn * emTop * size;
    const double originY = angle == 0 ? baseline : upY - cosTurn * emTop * size;
    const double length = font->advance(text) * size;
    QPDFObjectHandle::Rectangle reach(originX, originY, originX, originY);
    for (double along : {0.0, length}) {
        for (double up : {-(1 - emTop) * size, emTop * size}) {
            const double cx = originX + along * cosTurn - up * sinTurn;
            const double cy = originY + along * sinTurn + up * cosTurn;
            reach = QPDFObjectHandle::Rectangle(std::min(reach.llx, cx), std::min(reach.lly, cy),
                                                std::max(reach.urx, cx), std::max(reach.ury, cy));
        }
    }
    page->noteReach(reach);
    // The fonts' widths and Unicode maps are brought up to date now, so that later rules of the
    // run can read and edit this text like any other.
    font->finish(document.qpdf());
    for (const QPDFObjectHandle& fontObject : usedFonts) {
        document.fonts().forget(fontObject);
    }
    return true;
}

}  // namespace relettra::pdf
