#include "pdf/forms/field_appearance.h"

#include <algorithm>
#include <cmath>

#include "pdf/basics/pdf_number.h"
#include "pdf/forms/default_appearance.h"

namespace relettra::pdf {

namespace {

// Colour operators from a /MK colour array: no entries mean none, 1 gray, 3 RGB, 4 CMYK.
std::string colourOperators(QPDFObjectHandle array, bool stroke) {
    if (!array.isArray()) return std::string();
    std::vector<QPDFObjectHandle> items = array.getArrayAsVector();
    const char* op = nullptr;
    switch (items.size()) {
        case 1:
            op = stroke ? "G" : "g";
            break;
        case 3:
            op = stroke ? "RG" : "rg";
            break;
        case 4:
            op = stroke ? "K" : "k";
            break;
        default:
            return std::string();
    }
    std::string text;
    for (QPDFObjectHandle item : items) {
        if (!item.isNumber()) return std::string();
        text += formatPdfNumber(std::clamp(item.getNumericValue(), 0.0, 1.0)) + " ";
    }
    return text + op;
}

std::string rectangle(double x, double y, double w, double h) {
    return formatPdfNumber(x) + " " + formatPdfNumber(y) + " " + formatPdfNumber(w) + " " +
           formatPdfNumber(h) + " re";
}

}  // namespace

WidgetLook widgetLook(QPDFObjectHandle widget) {
    WidgetLook look;
    QPDFObjectHandle rectObject = widget.getKey("/Rect");
    QPDFObjectHandle::Rectangle rect(0, 0, 0, 0);
    if (rectObject.isRectangle()) rect = rectObject.getArrayAsRectangle();
    const double w = std::fabs(rect.urx - rect.llx);
    const double h = std::fabs(rect.ury - rect.lly);
    QPDFObjectHandle mk = widget.getKey("/MK");
    int rotation = 0;
    if (mk.isDictionary()) {
        QPDFObjectHandle r = mk.getKey("/R");
        if (r.isNumber())
            rotation = ((static_cast<int>(std::lround(r.getNumericValue())) % 360) + 360) % 360;
        look.background = colourOperators(mk.getKey("/BG"), false);
        look.borderColour = colourOperators(mk.getKey("/BC"), true);
    }
    // The appearance is turned counter-clockwise by /R and then fills the /Rect.
    switch (rotation) {
        case 90:
            look.width = h, look.height = w, look.matrix = QPDFMatrix(0, 1, -1, 0, w, 0);
            break;
        case 180:
            look.width = w, look.height = h, look.matrix = QPDFMatrix(-1, 0, 0, -1, w, h);
            break;
        case 270:
            look.width = h, look.height = w, look.matrix = QPDFMatrix(0, -1, 1, 0, 0, h);
            break;
        default:
            look.width = w, look.height = h;
            break;
    }
    QPDFObjectHandle bs = widget.getKey("/BS");
    QPDFObjectHandle border = widget.getKey("/Border");
    if (bs.isDictionary()) {
        if (bs.getKey("/W").isNumber()) look.borderWidth = bs.getKey("/W").getNumericValue();
        QPDFObjectHandle style = bs.getKey("/S");
        if (style.isName() && style.getName().size() == 2) look.borderStyle = style.getName()[1];
        QPDFObjectHandle dash = bs.getKey("/D");
        if (dash.isArray() && dash.getArrayNItems() > 0) {
            std::string pattern;
            for (QPDFObjectHandle item : dash.getArrayAsVector()) {
                if (item.isNumber())
                    pattern +=
                        (pattern.empty() ? "" : " ") + formatPdfNumber(item.getNumericValue());
            }
            if (!pattern.empty()) look.dash = "[" + pattern + "] 0 d";
        }
    } else if (border.isArray() && border.getArrayNItems() >= 3 &&
               border.getArrayItem(2).isNumber()) {
        look.borderWidth = border.getArrayItem(2).getNumericValue();
    }
    look.borderWidth = std::clamp(look.borderWidth, 0.0, std::min(w, h) / 4);
    if (look.borderWidth <= 0) look.borderColour.clear();
    return look;
}

double textPadding(const WidgetLook& look) {
    const bool raised = look.borderStyle == 'B' || look.borderStyle == 'I';
    return (look.borderColour.empty() ? 0 : look.borderWidth * (raised ? 2 : 1)) + 1;
}

std::string textFieldAppearance(const WidgetLook& look, const FieldLayout& layout,
                                const std::string& colour, int combCells, AppearanceFont& font,
                                AppearanceFontNames& names) {
    std::string content;
    if (!look.background.empty()) {
        content += look.background + " " + rectangle(0, 0, look.width, look.height) + " f\n";
    }
    const double bw = look.borderColour.empty() ? 0 : look.borderWidth;
    if (bw > 0) {
        content += "q " + look.borderColour + " " + formatPdfNumber(bw) + " w ";
        if (look.borderStyle == 'D') content += look.dash + " ";
        if (look.borderStyle == 'U') {
            content += "0 " + formatPdfNumber(bw / 2) + " m " + formatPdfNumber(look.width) + " " +
                       formatPdfNumber(bw / 2) + " l S";
        } else {
            content += rectangle(bw / 2, bw / 2, look.width - bw, look.height - bw) + " S";
        }
        // The cells of a comb field, divided by the border's colour.
        for (int cell = 1; cell < combCells; ++cell) {
            const double x = look.width * cell / combCells;
            content += " " + formatPdfNumber(x) + " 0 m " + formatPdfNumber(x) + " " +
                       formatPdfNumber(look.height) + " l S";
        }
        content += " Q\n";
    }
    const double inset = std::max(1.0, bw);
    content += "/Tx BMC\nq\n" +
               rectangle(inset, inset, std::max(0.0, look.width - 2 * inset),
                         std::max(0.0, look.height - 2 * inset)) +
               " W n\nBT\n" + (colour.empty() ? std::string("0 g") : colour) + "\n";
    for (const PlacedText& piece : layout.pieces) {
        // Control characters (a tab, say) show no glyph.
        std::string text;
        for (char c : piece.text) {
            if (static_cast<unsigned char>(c) >= 0x20) text += c;
        }
        if (text.empty()) continue;
        const std::string shown = font.show(text, layout.fontSize, names);
        if (shown.empty()) continue;
        content += "1 0 0 1 " + formatPdfNumber(piece.x) + " " + formatPdfNumber(piece.y) + " Tm " +
                   shown + "\n";
    }
    content += "ET\nQ\nEMC\n";
    return content;
}

QPDFObjectHandle newAppearanceStream(QPDF& pdf, const WidgetLook& look, const std::string& content,
                                     const AppearanceFontNames& names) {
    QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf, content);
    QPDFObjectHandle dict = stream.getDict();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
    dict.replaceKey("/BBox", QPDFObjectHandle::newFromRectangle(
                                 QPDFObjectHandle::Rectangle(0, 0, look.width, look.height)));
    const QPDFMatrix& m = look.matrix;
    if (m.a != 1 || m.b != 0 || m.c != 0 || m.d != 1 || m.e != 0 || m.f != 0) {
        dict.replaceKey("/Matrix", QPDFObjectHandle::newFromMatrix(m));
    }
    QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
    for (const auto& [name, font] : names) {
        fonts.replaceKey("/" + name, font);
    }
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/Font", fonts);
    dict.replaceKey("/Resources", resources);
    return stream;
}

}  // namespace relettra::pdf
