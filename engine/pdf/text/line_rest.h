#pragma once

#include <cstddef>
#include <vector>

#include "pdf/content/text_interpreter.h"

namespace relettra::pdf {

// The line a text-showing operator's text stands on, in upright page coordinates: the point
// where its baseline starts, the unit vector it runs along, and the size of its text.
struct TextLine {
    double x = 0, y = 0;
    double ux = 1, uy = 0;
    double size = 0;
};
TextLine lineOf(const TextShow& show);

// Where an operator's text stands on a line: from `start` to `end` along it (page units from the
// line's point), its baseline `across` away from it. `onLine` is false when it runs another way
// or stands further than half the line's size from it.
struct PlaceOnLine {
    bool onLine = false;
    double start = 0;
    double end = 0;
    double across = 0;
};
PlaceOnLine placeOnLine(const TextLine& line, const TextShow& show);

// A piece of text on a line, from `start` to `end` along it.
struct LinePiece {
    double start = 0;
    double end = 0;
};

// How far each piece of a line moves (in the order given, by `start`) when the text that ends at
// `from` grows by `shift` (narrows, when negative): the pieces that follow one another from
// `from` on (followsEnd), each starting at most kColumnGap em after the end of those before it,
// move with it,
// so that nothing overlaps and no gap opens. A wider gap parts columns or cells: the pieces
// beyond it stay, unless the grown text would come closer to them than kLeastGap em, and then
// they move just as far as keeps that gap (and the pieces that follow them with them).
std::vector<double> lineRestShifts(const std::vector<LinePiece>& pieces, double from, double shift,
                                   double em);

struct LineRestLimits {
    static constexpr double kColumnGap = 1.5;
    static constexpr double kLeastGap = 0.25;
    // A piece that starts up to kLeadIn before `from` (kerning) still follows it, and so does one
    // that starts up to kTuckedIn before it and has the most of its length after it (a letter
    // kerned into the one before, as in a logo); an accent set back over the last letter stays.
    static constexpr double kLeadIn = 0.15;
    static constexpr double kTuckedIn = 0.5;
};

// Whether a piece from `start` to `end` follows text that ends at `from` (see LineRestLimits).
bool followsEnd(const LinePiece& piece, double from, double em);

}  // namespace relettra::pdf
