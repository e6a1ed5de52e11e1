#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace relettra::pdf {

// Where a text field's value stands in its appearance, as viewers lay it out: one line (or one
// character per cell of a comb field), or lines broken at spaces to the field's width, each
// placed by the field's quadding. Coordinates are those of the appearance's box, origin at
// its lower-left corner.
struct FieldLayoutStyle {
    double width = 0;  // the box
    double height = 0;
    double padding = 2;  // between the box's edge and the text
    int quadding = 0;    // 0 left, 1 centred, 2 right
    bool multiline = false;
    int combCells = 0;      // > 0: one character per cell, the box split into that many
    double fontSize = 0;    // 0: the largest size up to a line's share of the box that fits
    double ascent = 0.8;    // the font's, per unit size
    double descent = -0.2;  // below the baseline: negative
};

// Advance of UTF-8 text per unit font size in the field's font.
using TextAdvance = std::function<double(const std::string&)>;

// One piece of the value where it is drawn: its text (a part of the value's bytes) and the
// start of its baseline.
struct PlacedText {
    std::string text;
    std::size_t begin = 0;  // byte offset of `text` in the value
    double x = 0;
    double y = 0;
};

struct FieldLayout {
    double fontSize = 0;
    std::vector<PlacedText> pieces;
};

FieldLayout layOutFieldValue(const std::string& value, const FieldLayoutStyle& style,
                             const TextAdvance& advance);

// The box (x0, y0, x1, y1 in the appearance's space) of the value's bytes [begin, end) as laid
// out; false when no piece holds them.
bool textBoxInLayout(const FieldLayout& layout, const FieldLayoutStyle& style, std::size_t begin,
                     std::size_t end, const TextAdvance& advance, double box[4]);

}  // namespace relettra::pdf
