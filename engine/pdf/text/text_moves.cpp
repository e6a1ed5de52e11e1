#include "pdf/text/text_moves.h"

#include <cmath>

namespace relettra::pdf {

void TextMoves::undo(double& x, double& y) const {
    for (auto line = lines_.rbegin(); line != lines_.rend(); ++line) {
        const double dx = x - line->x;
        const double dy = y - line->y;
        const double along = dx * line->ux + dy * line->uy;
        const double across = dy * line->ux - dx * line->uy;
        if (std::fabs(across) > line->halfHeight || along < 0 || along > line->length) continue;
        double shift = 0;
        for (const Line::Step& step : line->steps) {
            if (step.at > along) break;
            shift = step.shift;
        }
        x -= shift * line->ux;
        y -= shift * line->uy;
    }
}

}  // namespace relettra::pdf
