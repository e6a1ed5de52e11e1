#pragma once

#include <QString>

struct Subtext;

// The "Position" cell of a position rule: "P<page> (<left> <top> <width> <height>)", the box in
// unscaled text-layer pixels. A box at left 72, top 140, 210 wide and 12 high on page 3 gives
// "P3 (72 140 210 12)". The text identifies a rule row.
QString positionText(int page, const Subtext& box);

// The pieces of a position text, copied as they stand rather than read as numbers, so that a
// rule file carries exactly what the table shows: the page runs from the second character up to
// the first blank, two characters (the blank and "(") are skipped, left, top and width each run up
// to the next blank, and the height up to ")". A missing separator ends its piece at the end of
// the text and leaves the later pieces empty.
struct PositionFields {
    QString page;
    QString left;
    QString top;
    QString width;
    QString height;
};
PositionFields positionFields(const QString& position);
