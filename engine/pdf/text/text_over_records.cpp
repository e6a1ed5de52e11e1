#include "pdf/text/text_over_records.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "pdf/basics/utf8.h"

namespace relettra::pdf {

namespace {

constexpr std::size_t kJunction = std::numeric_limits<std::size_t>::max();
// Records whose directions differ by more than about 2 degrees do not share a line.
constexpr double kSameDirection = 0.9994;

// One character of a line's text, or the junction between two of its records.
struct Unit {
    std::size_t record = kJunction;
    std::size_t begin = 0;  // bytes of the record's text
    std::size_t end = 0;
    char32_t character = 0;
    double gap = 0;  // a junction: how far apart the records stand, in em
};

// Records that follow one another on one line, with the gap before each (in em).
struct RecordLine {
    std::vector<std::size_t> records;
    std::vector<double> gapBefore;
};

const PageGlyph& firstGlyph(const PageGlyphs& page, std::size_t record) {
    return page.records()[record].glyphs.front();
}

const PageGlyph& lastGlyph(const PageGlyphs& page, std::size_t record) {
    return page.records()[record].glyphs.back();
}

// Follows a line record by record: whether the next record goes on with it, and how far after
// the last one it starts (in em).
class LineFollower {
  public:
    explicit LineFollower(const PageGlyphs& page) : page_(page) {}

    void startAt(std::size_t r) {
        last_ = r;
        turnAt(r);
    }

    // Whether record `r` goes on with the line; if so it becomes its last record.
    bool takes(std::size_t r, double& gapBefore) {
        const RecordLayout& layout = page_.records()[r];
        const PageGlyph& start = firstGlyph(page_, r);
        const RecordLayout& first = page_.records()[reference_];
        const RecordLayout& previous = page_.records()[last_];
        const PageGlyph& end = lastGlyph(page_, last_);
        const double em = std::max({previous.size, layout.size, 1e-6});
        const double across =
            (start.startY - originY_) * first.alongX - (start.startX - originX_) * first.alongY;
        const double gap =
            ((start.startX - end.endX) * first.alongX + (start.startY - end.endY) * first.alongY) /
            em;
        const bool sameDirection =
            layout.alongX * first.alongX + layout.alongY * first.alongY > kSameDirection;
        if (sameDirection && std::fabs(across) <= RecordLineLimits::kAcross * em &&
            gap >= -RecordLineLimits::kOverlap && gap <= RecordLineLimits::kMaxGap) {
            gapBefore = gap;
            last_ = r;
            return true;
        }
        // A line that turns a little from one record to the next goes on where the record
        // before it ended, measured along that record's direction.
        const double turn = layout.alongX * previous.alongX + layout.alongY * previous.alongY;
        const double dx = start.startX - end.endX;
        const double dy = start.startY - end.endY;
        const double along = (dx * previous.alongX + dy * previous.alongY) / em;
        const double beside = (dy * previous.alongX - dx * previous.alongY) / em;
        if (turn >= RecordLineLimits::kCurveTurn &&
            std::fabs(beside) <= RecordLineLimits::kAcross &&
            along >= -RecordLineLimits::kOverlap && along <= RecordLineLimits::kMaxGap) {
            gapBefore = along;
            last_ = r;
            turnAt(r);
            return true;
        }
        return false;
    }

  private:
    // The record the line's direction is measured by, and where its baseline starts: the
    // line's first record, or the last one where the line turned (glyphs set along a curve).
    void turnAt(std::size_t r) {
        const PageGlyph& start = firstGlyph(page_, r);
        reference_ = r;
        originX_ = start.startX;
        originY_ = start.startY;
    }

    const PageGlyphs& page_;
    std::size_t reference_ = 0;
    std::size_t last_ = 0;
    double originX_ = 0;
    double originY_ = 0;
};

std::vector<RecordLine> recordLines(const PageGlyphs& page) {
    std::vector<RecordLine> lines;
    RecordLine line;
    LineFollower follower(page);
    auto finish = [&]() {
        if (line.records.size() > 1) lines.push_back(std::move(line));
        line = RecordLine();
    };
    for (std::size_t r : page.recordsWithGlyphs()) {
        if (!page.records()[r].acrossLine) {
            finish();
            continue;
        }
        double gap = 0;
        if (!line.records.empty()) {
            if (follower.takes(r, gap)) {
                line.records.push_back(r);
                line.gapBefore.push_back(gap);
                continue;
            }
            finish();
        }
        line.records.push_back(r);
        line.gapBefore.push_back(0);
        follower.startAt(r);
    }
    finish();
    return lines;
}

std::vector<Unit> lineUnits(const PageGlyphs& page, const RecordLine& line) {
    std::vector<Unit> units;
    for (std::size_t k = 0; k < line.records.size(); ++k) {
        const std::size_t record = line.records[k];
        const std::string& text = page.records()[record].text;
        if (k > 0) {
            const std::string& before = page.records()[line.records[k - 1]].text;
            const bool spaced =
                (!before.empty() && before.back() == ' ') || (!text.empty() && text[0] == ' ');
            if (!spaced) {
                Unit junction;
                junction.gap = line.gapBefore[k];
                units.push_back(junction);
            }
        }
        std::size_t offset = 0;
        for (char32_t c : decodeUtf8(text)) {
            Unit unit;
            unit.record = record;
            unit.begin = offset;
            offset += toUtf8(c).size();
            unit.end = offset;
            unit.character = c;
            units.push_back(unit);
        }
    }
    return units;
}

// The number of units an occurrence of `find` starting at unit `first` covers, or 0.
std::size_t matchAt(const std::vector<Unit>& units, std::size_t first, const std::u32string& find) {
    std::size_t i = first;
    for (std::size_t k = 0; k < find.size();) {
        if (i >= units.size()) return 0;
        const Unit& unit = units[i];
        if (unit.record == kJunction) {
            if (find[k] == U' ' && unit.gap >= RecordLineLimits::kWordGap) {
                ++k;
            } else if (find[k] == U' ' || unit.gap >= RecordLineLimits::kLetterGap) {
                return 0;
            }
            ++i;
            continue;
        }
        if (unit.character != find[k]) return 0;
        ++i;
        ++k;
    }
    return i - first;
}

TextOverRecords occurrence(const PageGlyphs& page, const std::vector<Unit>& units,
                           std::size_t first, std::size_t count) {
    TextOverRecords found;
    for (std::size_t i = first; i < first + count; ++i) {
        const Unit& unit = units[i];
        if (unit.record == kJunction) continue;
        if (found.spans.empty() || found.spans.back().record != unit.record) {
            found.spans.push_back({unit.record, unit.begin, unit.end});
        }
        found.spans.back().end = unit.end;
    }
    bool any = false;
    for (const RecordSpan& span : found.spans) {
        for (const PageGlyph& glyph : page.records()[span.record].glyphs) {
            if (glyph.textEnd <= span.begin || glyph.textBegin >= span.end) continue;
            if (!any) std::copy(glyph.box, glyph.box + 4, found.box);
            any = true;
            found.box[0] = std::min(found.box[0], glyph.box[0]);
            found.box[1] = std::min(found.box[1], glyph.box[1]);
            found.box[2] = std::max(found.box[2], glyph.box[2]);
            found.box[3] = std::max(found.box[3], glyph.box[3]);
        }
    }
    return found;
}

}  // namespace

std::vector<std::size_t> recordsAfterOnLine(const PageGlyphs& page, std::size_t record) {
    std::vector<std::size_t> after;
    const std::set<std::size_t>& records = page.recordsWithGlyphs();
    if (records.count(record) == 0 || !page.records()[record].acrossLine) return after;
    LineFollower follower(page);
    follower.startAt(record);
    double gap = 0;
    for (auto it = records.upper_bound(record); it != records.end(); ++it) {
        if (!page.records()[*it].acrossLine || !follower.takes(*it, gap)) break;
        after.push_back(*it);
    }
    return after;
}

std::vector<TextOverRecords> findTextOverRecords(const PageGlyphs& page, const std::string& find) {
    std::vector<TextOverRecords> found;
    const std::u32string wanted = decodeUtf8(find);
    if (wanted.empty()) return found;
    for (const RecordLine& line : recordLines(page)) {
        const std::vector<Unit> units = lineUnits(page, line);
        for (std::size_t first = 0; first < units.size();) {
            const std::size_t count =
                units[first].record == kJunction ? 0 : matchAt(units, first, wanted);
            if (count == 0) {
                ++first;
                continue;
            }
            TextOverRecords match = occurrence(page, units, first, count);
            if (match.spans.size() < 2) {
                ++first;
                continue;
            }
            found.push_back(std::move(match));
            first += count;
        }
    }
    return found;
}

}  // namespace relettra::pdf
