#pragma once

#include <qpdf/QPDFObjectHandle.hh>
#include <string_view>

#include "pdf/basics/text_look.h"

namespace relettra::pdf {

// What a font's name tells of its look. Each part is known or not: "Times-Bold" tells a serif
// bold form and nothing of italics (it is then upright), "F3" tells nothing.
struct NamedLook {
    bool formKnown = false;
    LetterForm form = LetterForm::SansSerif;
    bool bold = false;
    bool italic = false;
};

// Reads a font name (a /BaseFont or /FontName, a subset tag "ABCDEF+" allowed, or a family
// such as "Arial" or "Courier New"): the families of the standard fonts and their
// metric-compatible kin, the common families of office and TeX documents, and the generic
// names "serif", "sans-serif" and "monospace"; weight and slant from the style words (Bold,
// Black, Heavy, Italic, Oblique, ...) and the TeX font names (cmbx, cmti, ...).
NamedLook lookOfFontName(std::string_view name);

// The look of a PDF font: its names first (/BaseFont, then the descriptor's /FontName), then
// its font descriptor (of its descendant for a Type0 font): /Flags (fixed pitch, serif,
// italic, force bold), /FontWeight (600 and more is bold) and /ItalicAngle. A font that tells
// nothing is sans-serif, upright and regular.
TextLook lookOfFont(QPDFObjectHandle fontDict);

}  // namespace relettra::pdf
