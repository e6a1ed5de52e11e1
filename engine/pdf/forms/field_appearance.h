#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFMatrix.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>

#include "pdf/forms/appearance_font.h"
#include "pdf/forms/field_layout.h"

namespace relettra::pdf {

// What a viewer draws of a widget besides its text: the box of its appearance (turned by the
// widget's /MK /R), its background and border colours (/MK /BG, /BC) and its border (/BS, else
// /Border).
struct WidgetLook {
    double width = 0;          // the appearance's box: the /Rect, its sides swapped when turned by
    double height = 0;         // 90 or 270 degrees
    QPDFMatrix matrix;         // the appearance's /Matrix, which turns it into the /Rect
    std::string background;    // fill colour operators ("1 1 0.8 rg"), empty for none
    std::string borderColour;  // stroke colour operators, empty for none
    double borderWidth = 1;
    char borderStyle = 'S';  // S solid, D dashed, B beveled, I inset, U underline
    std::string dash = "[3] 0 d";
};

WidgetLook widgetLook(QPDFObjectHandle widget);

// The space between the box's edge and the text: the border's width and one point more.
double textPadding(const WidgetLook& look);

// The content of a text field's appearance: background, border (and the cells of a comb
// field), then the laid-out value inside "/Tx BMC … EMC", clipped to the inside of the border,
// in `colour` (the /DA's colour operators) and `font`. Fonts used are entered in `names`.
std::string textFieldAppearance(const WidgetLook& look, const FieldLayout& layout,
                                const std::string& colour, int combCells, AppearanceFont& font,
                                AppearanceFontNames& names);

// A form XObject for the widget's /AP /N: the content, /BBox the look's box, its /Matrix, and
// the fonts as its resources.
QPDFObjectHandle newAppearanceStream(QPDF& pdf, const WidgetLook& look, const std::string& content,
                                     const AppearanceFontNames& names);

}  // namespace relettra::pdf
