#include "pdf/text/line_rest.h"

#include <algorithm>
#include <cmath>

namespace relettra::pdf {

namespace {

// Lines that run within about 2 degrees of each other are the same way.
constexpr double kSameDirection = 0.9994;

}  // namespace

TextLine lineOf(const TextShow& show) {
    TextLine line;
    const QPDFMatrix m = show.toPage();
    const bool vertical = show.writesVertically();
    m.transform(0, 0, line.x, line.y);
    const double alongX = vertical ? -m.c : m.a;
    const double alongY = vertical ? -m.d : m.b;
    const double length = std::hypot(alongX, alongY);
    if (length > 0) {
        line.ux = alongX / length;
        line.uy = alongY / length;
    }
    line.size =
        std::fabs(show.state.fontSize) * (vertical ? std::hypot(m.a, m.b) : std::hypot(m.c, m.d));
    return line;
}

PlaceOnLine placeOnLine(const TextLine& line, const TextShow& show) {
    PlaceOnLine place;
    const TextLine own = lineOf(show);
    if (own.ux * line.ux + own.uy * line.uy < kSameDirection) return place;
    const double dx = own.x - line.x;
    const double dy = own.y - line.y;
    place.across = dy * line.ux - dx * line.uy;
    place.start = dx * line.ux + dy * line.uy;
    const QPDFMatrix m = show.toPage();
    const double scale = show.writesVertically() ? std::hypot(m.c, m.d) : std::hypot(m.a, m.b);
    place.end = place.start + show.advance * scale;
    if (place.end < place.start) std::swap(place.start, place.end);
    place.onLine = std::fabs(place.across) <= 0.5 * std::max(line.size, own.size);
    return place;
}

bool followsEnd(const LinePiece& piece, double from, double em) {
    return piece.start >= from - LineRestLimits::kLeadIn * em ||
           (piece.start >= from - LineRestLimits::kTuckedIn * em &&
            (piece.start + piece.end) / 2 > from);
}

std::vector<double> lineRestShifts(const std::vector<LinePiece>& pieces, double from, double shift,
                                   double em) {
    std::vector<double> shifts(pieces.size(), 0.0);
    double reach = from;  // where the text moved so far ends, as it stood
    double moving = shift;
    for (std::size_t i = 0; i < pieces.size() && moving != 0; ++i) {
        const LinePiece& piece = pieces[i];
        if (!followsEnd(piece, from, em)) continue;
        const double gap = piece.start - reach;
        if (gap > LineRestLimits::kColumnGap * em) {
            // Beyond a column's gap: only as far as keeps the least gap to the grown text.
            moving =
                moving > 0 ? std::max(0.0, moving - (gap - LineRestLimits::kLeastGap * em)) : 0.0;
            if (moving == 0) break;
        }
        shifts[i] = moving;
        reach = std::max(reach, piece.end);
    }
    return shifts;
}

}  // namespace relettra::pdf
