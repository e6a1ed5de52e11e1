#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "pdf/text/page_glyphs.h"

namespace relettra::pdf {

// Bytes [begin, end) of one record's text.
struct RecordSpan {
    std::size_t record = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// An occurrence of a text drawn over several records: its part in each, in order, and the box
// of its glyphs' em boxes (upright page coordinates: x0, y0, x1, y1).
struct TextOverRecords {
    std::vector<RecordSpan> spans;
    double box[4] = {0, 0, 0, 0};
};

// How far apart two records may stand on a line, in em of the larger of their sizes: records
// that follow one another in the content belong to one line when they run the same way, the
// baseline of the later one lies within half an em of the first one's (a raised or lowered
// letter stays on it), and the later one starts no more than kOverlap before the end of the
// one before it and no more than kMaxGap after it. Within a line, a gap of at least kWordGap
// between two records may stand for a space of the find text, and the find text may go on
// from one record into the next without a space over a gap smaller than kLetterGap (letters
// that a producer spaced or placed one by one). A line may also turn from one record to the next
// by less than about 35 degrees (kCurveTurn, the cosine): glyphs set along a curve, each turned
// on its own; then it goes on from where the record before ended, along that record's direction.
struct RecordLineLimits {
    static constexpr double kAcross = 0.5;
    static constexpr double kCurveTurn = 0.82;
    static constexpr double kOverlap = 0.6;
    static constexpr double kMaxGap = 1.5;
    static constexpr double kWordGap = 0.15;
    static constexpr double kLetterGap = 0.6;
};

// The records that follow `record` on its line, in order, as findTextOverRecords chains them
// from `record` on (none when the next record does not go on with it).
std::vector<std::size_t> recordsAfterOnLine(const PageGlyphs& page, std::size_t record);

// Every occurrence of `find` (UTF-8) that reaches over two or more records standing on one line,
// left to right and apart from one another. An occurrence within one record is not reported.
std::vector<TextOverRecords> findTextOverRecords(const PageGlyphs& page, const std::string& find);

}  // namespace relettra::pdf
