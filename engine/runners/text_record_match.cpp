#include "runners/text_record_match.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// a·b for 2×3 matrices in the order a then b (a applied first).
void multiply(const double a[6], const double b[6], double out[6]) {
    out[0] = a[0] * b[0] + a[1] * b[2];
    out[1] = a[0] * b[1] + a[1] * b[3];
    out[2] = a[2] * b[0] + a[3] * b[2];
    out[3] = a[2] * b[1] + a[3] * b[3];
    out[4] = a[4] * b[0] + a[5] * b[2] + b[4];
    out[5] = a[4] * b[1] + a[5] * b[3] + b[5];
}

// Text running up (270 degrees) or down (90) the page, within 5 degrees.
bool runsVertically(int angle) {
    return angle >= 5 && (std::abs(angle - 90) < 5 || std::abs(angle - 270) < 5);
}

// Text that is not vertical and runs from right to left: turned by about half a turn, its glyphs
// hang below the baseline on the displayed page.
bool runsUpsideDown(int angle) {
    return !runsVertically(angle) && angle > 90 && angle < 270;
}

}  // namespace

RecordGeometry MeasureRecord(const TPDFStack& record) {
    double full[6];
    multiply(record.tm, record.ctm, full);
    RecordGeometry g{};
    for (int i = 0; i < 4; ++i) {
        g.m[i] = full[i] * record.fontSize;
    }
    const double x = record.x;
    const double y = record.y + record.textRise;
    g.originX = x * full[0] + y * full[2] + full[4];
    g.originY = x * full[1] + y * full[3] + full[5];
    // The text's height on the page: its up vector, whatever way the matrices turn it.
    g.size = record.fontSize * std::hypot(full[2], full[3]);
    // A font that writes top to bottom runs along its text space's -y.
    const double alongX = record.verticalWriting ? -full[2] : full[0];
    const double alongY = record.verticalWriting ? -full[3] : full[1];
    g.length = std::fabs(record.advance) * std::hypot(alongX, alongY);
    const double u = alongX * record.fontSize;
    const double v = alongY * record.fontSize;
    double angle = 0;
    if (std::fabs(u) >= 1e-6 || std::fabs(v) >= 1e-6) {
        angle = std::atan2(-v, u) * 57.29577951308232;
        while (angle < 0) angle += 360;
        while (angle >= 360) angle -= 360;
    }
    g.angle = static_cast<int>(angle);
    g.verticalWriting = record.verticalWriting;
    g.sizeGuessedByReaders = record.sizeGuessedByReaders;
    return g;
}

bool RecordMatchesRule(const RecordGeometry& record, double pageHeight, int ruleTop, int ruleWidth,
                       int ruleHeight) {
    const double height = std::trunc(pageHeight);
    double size = record.size;
    double extent = ruleHeight;
    double top = height - record.originY - record.size;
    if (runsVertically(record.angle)) {
        // The length of the record's up vector, in single precision as measured.
        float ux = static_cast<float>(record.m[2] * 1000.0);
        float uy = static_cast<float>(record.m[3] * 1000.0);
        float length = 1.0f;
        if (std::fabs(ux) >= 1e-6f || std::fabs(uy) >= 1e-6f) {
            length = std::sqrt(ux * ux + uy * uy);
            if (length < 1.0f) length = 1.0f;
        }
        size = static_cast<int>(length / 1000.0f);
        extent = ruleWidth;
        // Text running up starts at its lower end and covers the displayed y from its start
        // less its length to its start; text running down starts at its upper end. The rule's
        // top may lie anywhere that keeps the rule on the text.
        const double start = height - record.originY;
        const bool up = std::abs(record.angle - 270) < 5;
        double first = up ? start - record.length : start;
        double last = up ? start - ruleHeight : start + record.length - ruleHeight;
        if (up && first > last) first = last;
        if (!up && last < first) last = first;
        const double half = size / 2;
        // Readers differ on where a top-to-bottom font's glyphs stand: below the current point,
        // as the font's vertical origin puts them, or a whole em higher, as some text extractors
        // and page helpers report them. A rule drawn on either box is on the text.
        const double higher = record.verticalWriting ? size : 0.0;
        // A Type 3 font's size is guessed by readers: the rule's width may be far from it.
        const bool sizeFits = record.sizeGuessedByReaders ? extent > size / 4 && extent < 2 * size
                                                          : std::fabs(size - extent) < half;
        return sizeFits && ruleTop > first - half - higher && ruleTop < last + half;
    }
    if (runsUpsideDown(record.angle)) {
        // The glyphs hang below the baseline: the rule's box starts there.
        top = height - record.originY;
    }
    const double half = size / 2;
    if (record.sizeGuessedByReaders && size > 0) {
        // A box drawn on what a reader shows of a Type 3 font can be far from its em box in
        // height: the rule is on the text when its middle lies within the em box and it is
        // neither tiny nor tall next to it.
        const double middle = ruleTop + extent / 2;
        return extent > size / 4 && extent < 2 * size && std::fabs(top + half - middle) < half;
    }
    return std::fabs(size - extent) < half && std::fabs(top - ruleTop) < half;
}

bool RunsSlanted(const RecordGeometry& record) {
    const int off = record.angle % 90;
    return off >= 5 && off <= 85;
}

bool SlantedOccurrenceAtRule(const double box[4], int ruleLeft, int ruleTop, int ruleWidth,
                             int ruleHeight) {
    const double right = static_cast<double>(ruleLeft) + ruleWidth;
    const double bottom = static_cast<double>(ruleTop) + ruleHeight;
    const double boxX = (box[0] + box[2]) / 2;
    const double boxY = (box[1] + box[3]) / 2;
    const double ruleX = (ruleLeft + right) / 2;
    const double ruleY = (ruleTop + bottom) / 2;
    return boxX >= ruleLeft && boxX <= right && boxY >= ruleTop && boxY <= bottom &&
           ruleX >= box[0] && ruleX <= box[2] && ruleY >= box[1] && ruleY <= box[3];
}

int WritingDirection(const RecordGeometry& record) {
    if (runsVertically(record.angle)) {
        return std::abs(record.angle - 90) < 5 ? 90 : 270;
    }
    return runsUpsideDown(record.angle) ? 180 : 0;
}

bool OverlapsRule(const RecordGeometry& record, const double box[4], int ruleLeft, int ruleTop,
                  int ruleWidth, int ruleHeight) {
    if (runsVertically(record.angle)) {
        return box[3] >= ruleTop && box[1] <= static_cast<double>(ruleTop) + ruleHeight;
    }
    return box[2] >= ruleLeft && box[0] <= static_cast<double>(ruleLeft) + ruleWidth;
}

bool OccurrenceAtRule(const RecordGeometry& record, const double box[4], int ruleLeft, int ruleTop,
                      int ruleWidth, int ruleHeight) {
    if (runsVertically(record.angle)) {
        const double middle = (box[1] + box[3]) / 2;
        return middle >= ruleTop && middle <= static_cast<double>(ruleTop) + ruleHeight;
    }
    const double middle = (box[0] + box[2]) / 2;
    return middle >= ruleLeft && middle <= static_cast<double>(ruleLeft) + ruleWidth;
}

std::vector<size_t> FindOccurrences(const std::string& text, const std::string& find) {
    std::vector<size_t> offsets;
    if (find.empty()) {
        return offsets;
    }
    for (size_t hit = text.find(find); hit != std::string::npos;
         hit = text.find(find, hit + find.size())) {
        offsets.push_back(hit);
    }
    return offsets;
}

std::string ReplaceOccurrences(const std::string& text, const std::string& find,
                               const std::string& replacement, const std::vector<size_t>& offsets) {
    std::string out;
    size_t pos = 0;
    for (size_t hit : offsets) {
        if (hit < pos || hit + find.size() > text.size()) continue;
        out.append(text, pos, hit - pos);
        out += replacement;
        pos = hit + find.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

size_t CharacterCount(const std::string& text) {
    size_t count = 0;
    for (char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

std::vector<std::string> SplitOverParts(const std::string& replacement,
                                        const std::vector<size_t>& partLengths) {
    std::vector<std::string> pieces(partLengths.size());
    size_t pos = 0;
    for (size_t part = 0; part < partLengths.size() && pos < replacement.size(); ++part) {
        size_t end = replacement.size();
        if (part + 1 < partLengths.size()) {
            // The end of the part's characters: the start of the character after them.
            end = pos;
            for (size_t taken = 0; end < replacement.size();) {
                const bool starts = (static_cast<unsigned char>(replacement[end]) & 0xC0) != 0x80;
                if (starts && taken == partLengths[part]) break;
                taken += starts ? 1 : 0;
                ++end;
            }
        }
        pieces[part] = replacement.substr(pos, end - pos);
        pos = end;
    }
    return pieces;
}

std::vector<std::string> FitOverParts(
    const std::string& replacement, const std::vector<size_t>& partLengths,
    const std::function<bool(size_t part, const std::string& piece)>& shows) {
    // Where each character starts, and the end.
    std::vector<size_t> at;
    for (size_t i = 0; i < replacement.size(); ++i) {
        if ((static_cast<unsigned char>(replacement[i]) & 0xC0) != 0x80) at.push_back(i);
    }
    at.push_back(replacement.size());
    const size_t chars = at.size() - 1;
    const size_t parts = partLengths.size();
    if (parts == 0 || parts > 16 || chars > 64) return {};
    auto piece = [&](size_t from, size_t to) {
        return replacement.substr(at[from], at[to] - at[from]);
    };
    // shown[j][i][k]: part j can show characters [i, k) (0 unknown, 1 yes, 2 no).
    std::vector<std::vector<std::vector<char>>> shown(
        parts, std::vector<std::vector<char>>(chars + 1, std::vector<char>(chars + 1, 0)));
    auto canShow = [&](size_t j, size_t i, size_t k) {
        char& known = shown[j][i][k];
        if (known == 0) known = (i == k || shows(j, piece(i, k))) ? 1 : 2;
        return known == 1;
    };
    // covers[j][i]: parts j.. can show characters [i, chars), the last one taking the rest.
    std::vector<std::vector<bool>> covers(parts + 1, std::vector<bool>(chars + 1, false));
    covers[parts][chars] = true;
    for (size_t j = parts; j-- > 0;) {
        for (size_t i = 0; i <= chars; ++i) {
            for (size_t k = j + 1 == parts ? chars : i; k <= chars && !covers[j][i]; ++k) {
                covers[j][i] = covers[j + 1][k] && canShow(j, i, k);
            }
        }
    }
    if (!covers[0][0]) return {};
    std::vector<std::string> pieces;
    size_t from = 0;
    size_t wanted = 0;  // where the cut by the old lengths falls
    for (size_t j = 0; j < parts; ++j) {
        wanted = std::min(chars, wanted + partLengths[j]);
        size_t best = chars;
        if (j + 1 < parts) {
            bool found = false;
            for (size_t k = from; k <= chars; ++k) {
                if (!covers[j + 1][k] || !canShow(j, from, k)) continue;
                const auto distance = [&](size_t cut) {
                    return cut > wanted ? cut - wanted : wanted - cut;
                };
                if (!found || distance(k) < distance(best)) best = k;
                found = true;
            }
        }
        pieces.push_back(piece(from, best));
        from = best;
    }
    return pieces;
}

std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement) {
    return ReplaceOccurrences(text, find, replacement, FindOccurrences(text, find));
}
