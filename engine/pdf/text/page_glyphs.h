#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "pdf/content/text_interpreter.h"

namespace relettra::pdf {

// One glyph of the page as the records read it, in upright page coordinates.
struct PageGlyph {
    std::uint32_t record;     // the record (run of operators) it belongs to
    std::uint32_t show;       // its operator, an index into the page's shows
    std::uint32_t glyph;      // its place among the operator's glyphs (layoutGlyphs order)
    std::uint32_t textBegin;  // the bytes of the record's text it shows
    std::uint32_t textEnd;
    double box[4];   // its em box: x0, y0, x1, y1
    double centreX;  // the centre the fallback's area test takes
    double centreY;
    double startX;  // where the pen stands on its baseline before it (text rise included)
    double startY;
    double endX;  // and after it
    double endY;
};

// How a record stands: the line of its first operator, and its glyphs in order.
struct RecordLayout {
    std::string text;  // as PageTextSession::text reads it
    std::vector<PageGlyph> glyphs;
    double alongX = 1;  // unit vector of its writing direction
    double alongY = 0;
    double size = 0;         // font size along its up vector, page units
    bool acrossLine = true;  // false for fonts that write vertically
};

// The page's text as glyphs: each glyph with its record, operator and place, record after record
// in content order. Built when a rule needs more than the records themselves (a text over
// several records, the fallback's removal), and kept up to date record by record as edits
// change them.
class PageGlyphs {
  public:
    // Lays out record `record` (the operators `run` of `shows`) anew; records past the end are
    // added (empty) up to it.
    void setRecord(std::size_t record, const std::vector<TextShow>& shows,
                   const std::vector<std::size_t>& run);

    const std::vector<RecordLayout>& records() const { return records_; }
    // The records that have glyphs, in content order.
    const std::set<std::size_t>& recordsWithGlyphs() const { return withGlyphs_; }

  private:
    std::vector<RecordLayout> records_;
    std::set<std::size_t> withGlyphs_;
};

}  // namespace relettra::pdf
