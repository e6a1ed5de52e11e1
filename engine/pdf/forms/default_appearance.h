#pragma once

#include <string>

namespace relettra::pdf {

// A variable-text field's default appearance (/DA): the operators that set its font, size and
// colour, as "/Helv 12 Tf 0 0 1 rg".
struct DefaultAppearance {
    std::string fontName;  // the font's resource name without its slash; empty when none is set
    double fontSize = 0;   // 0: the size is chosen to fit the field
    std::string colour;    // every operation but Tf, as written ("0 0 1 rg"); empty when none
};

// Reads a /DA string. Operations other than Tf are kept as they stand; a malformed Tf (too few
// operands, no name) sets no font.
DefaultAppearance parseDefaultAppearance(const std::string& da);

// A name as a PDF token: a slash, then its characters, those that are not regular ones (and #)
// written as #xx.
std::string nameToken(const std::string& name);

// The /DA string of an appearance: its colour operations, then "/Name size Tf".
std::string formatDefaultAppearance(const DefaultAppearance& appearance);

}  // namespace relettra::pdf
