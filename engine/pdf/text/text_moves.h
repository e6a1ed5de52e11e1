#pragma once

#include <utility>
#include <vector>

namespace relettra::pdf {

// Where in-font edits of one page moved text along its line: a wider or narrower new text moves
// the rest of its record. Positions read from the page as it stands can so be taken back to the
// page as it was first read, which is the page that rules are written against.
class TextMoves {
  public:
    // A record's line after an edit, in upright page coordinates: from `x`, `y` (the record's
    // start, on the line through the middle of its glyphs) along the unit vector `ux`, `uy` for
    // `length`. From each step's `at` on (a distance along the line) the text stands `shift`
    // further along than it stood. Points up to `halfHeight` across the line belong to it.
    struct Line {
        double x = 0, y = 0;
        double ux = 1, uy = 0;
        double length = 0;
        double halfHeight = 0;
        struct Step {
            double at;
            double shift;
        };
        std::vector<Step> steps;  // in order of `at`
    };

    void add(Line line) { lines_.push_back(std::move(line)); }
    bool empty() const { return lines_.empty(); }

    // Takes the point (x, y) from where it stands now back to where it stood before every move
    // recorded here, the latest first.
    void undo(double& x, double& y) const;

  private:
    std::vector<Line> lines_;
};

}  // namespace relettra::pdf
