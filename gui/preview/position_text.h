#pragma once

#include <QString>

struct Subtext;

// The "Position" cell of a position rule: "P<page> (<left> <top> <width> <height>)", the box in
// unscaled text-layer pixels. A box at left 72, top 140, 210 wide and 12 high on page 3 gives
// "P3 (72 140 210 12)". The text identifies a rule row.
QString positionText(int page, const Subtext& box);
