// The edits of PageTextSession: replacing a record's text, text over several records, removing
// glyphs, and moving the rest of a line; each brings the session's records up to date at once.

#include <algorithm>
#include <cmath>

#include "pdf/text/glyph_layout.h"
#include "pdf/text/page_text_session.h"
#include "pdf/text/run_changes.h"

namespace relettra::pdf {

namespace {

// Shifts below this (page units) are rounding noise, not a change of width.
constexpr double kNoShift = 1e-6;

// How far one text space unit along the show's baseline reaches on the page.
double alongScale(const TextShow& show) {
    const QPDFMatrix m = show.toPage();
    return show.writesVertically() ? std::hypot(m.c, m.d) : std::hypot(m.a, m.b);
}

}  // namespace

double PageTextSession::joinShift(const std::vector<size_t>& run,
                                  const std::vector<SpacedText>& parts,
                                  const std::vector<size_t>& lengths, const TextHunk& hunk,
                                  size_t first, size_t last) const {
    size_t lastOffset = 0;
    for (size_t j = 0; j < last; ++j) lastOffset += lengths[j];
    // `last` moves with the change of width of `first` (the caller shifts it), so the rest of
    // `last` (its first glyph past the change) must move back by the old text that stood
    // between the end of the glyphs of `first` and that glyph.
    const std::vector<PlacedGlyph>& firstGlyphs = parts[first].glyphs;
    const double firstEnd = firstGlyphs.empty()
                                ? shows_[run[first]].totalAdvance()
                                : firstGlyphs.back().penStart + firstGlyphs.back().advance;
    double restStart = shows_[run[last]].totalAdvance();
    for (const PlacedGlyph& glyph : parts[last].glyphs) {
        if (glyph.textBegin >= hunk.oldEnd - lastOffset) {
            restStart = glyph.penStart;
            break;
        }
    }
    return partOrigin(run, first) + firstEnd - (partOrigin(run, last) + restStart);
}

std::optional<PageTextSession::PreparedEdit> PageTextSession::prepare(
    size_t index, const std::vector<TextHunk>& hunks) const {
    if (index >= runs_.size() || hunks.empty()) {
        return std::nullopt;
    }
    const std::vector<size_t>& run = runs_[index];
    std::vector<SpacedText> parts;
    std::vector<size_t> lengths;
    for (size_t s : run) {
        parts.push_back(spaceText(shows_[s]));
        lengths.push_back(parts.back().text.size());
    }
    const std::vector<std::vector<TextHunk>> shares =
        shareChanges(hunks, lengths, [&](const TextHunk& hunk, size_t first, size_t last) {
            return joinShift(run, parts, lengths, hunk, first, last);
        });
    PreparedEdit edit;
    edit.record = index;
    edit.rewritten.resize(run.size());
    bool any = false;
    for (size_t j = 0; j < run.size(); ++j) {
        if (shares[j].empty()) continue;
        edit.rewritten[j] = rewriteShowHunks(shows_[run[j]], parts[j], shares[j]);
        if (!edit.rewritten[j]) {
            return std::nullopt;
        }
        any = true;
    }
    if (!any) {
        return std::nullopt;
    }
    // Each operator starts where the one before it now ends, as far from it as it was; but an
    // operator whose first letters go takes the spacing before it along (letters placed one by
    // one, spaced or kerned), and the second one the spacing after the first when all of the
    // first goes: else a gap would stay where they stood.
    auto takesFromStart = [](const std::vector<TextHunk>& share) {
        return !share.empty() && share.front().oldBegin == 0 && share.front().replacement.empty() &&
               !share.front().keepsPlace;
    };
    edit.starts.assign(run.size(), 0.0);
    for (size_t j = 1; j < run.size(); ++j) {
        const std::optional<RewrittenShow>& before = edit.rewritten[j - 1];
        edit.starts[j] = edit.starts[j - 1] +
                         (before ? before->advance - shows_[run[j - 1]].totalAdvance() : 0.0);
        const bool firstGone =
            j == 1 && takesFromStart(shares[0]) && before && std::fabs(before->advance) < 1e-9;
        if (takesFromStart(shares[j]) || firstGone) {
            edit.starts[j] -= letterSpacing(run, j);
        }
    }
    return edit;
}

double PageTextSession::endShift(const PreparedEdit& edit) const {
    const std::vector<size_t>& run = runs_[edit.record];
    const size_t last = run.size() - 1;
    const std::optional<RewrittenShow>& rewritten = edit.rewritten[last];
    const double shift =
        edit.starts[last] + (rewritten ? rewritten->advance - shows_[run[last]].totalAdvance() : 0);
    return shift * alongScale(shows_[run.front()]);
}

double PageTextSession::letterSpacing(const std::vector<size_t>& run, size_t part) const {
    const TextShow& previous = shows_[run[part - 1]];
    const double spacing =
        partOrigin(run, part) - (partOrigin(run, part - 1) + previous.totalAdvance());
    return std::fabs(spacing) <= RecordLineLimits::kLetterGap * std::fabs(previous.state.fontSize)
               ? spacing
               : 0.0;
}

double PageTextSession::spacingBetween(size_t before, size_t after) const {
    const TextLine line = lineOfRecord(before);
    const PlaceOnLine place = placeOnLine(line, show(after));
    if (!place.onLine) return 0;
    const double spacing = place.start - recordEnd(before);
    // Further apart than letters of one word, they are words of their own.
    return std::fabs(spacing) <= RecordLineLimits::kLetterGap * line.size ? spacing : 0.0;
}

double PageTextSession::recordEnd(size_t index) const {
    // Where its last glyph ends, without the character and word spacing after it: text that a
    // producer placed right after the record may start before the pen's end.
    const std::vector<size_t>& run = runs_[index];
    const TextShow& last = shows_[run.back()];
    const PlaceOnLine place = placeOnLine(lineOfRecord(index), last);
    const SpacedText spaced = spaceText(last);
    if (spaced.glyphs.empty()) return place.end;
    const PlacedGlyph& glyph = spaced.glyphs.back();
    const double width = last.elements[glyph.element].glyphs[glyph.glyph].advance *
                         last.state.fontSize * last.state.horizontalScaling;
    return place.start + (glyph.penStart + width) * alongScale(last);
}

void PageTextSession::takeIn(const PreparedEdit& edit, double startShift,
                             std::map<std::uint32_t, double>& wanted,
                             std::map<std::uint32_t, double>& widths) {
    const std::vector<size_t>& run = runs_[edit.record];
    std::vector<double> starts = edit.starts;
    for (double& start : starts) start += startShift;
    // The moves are told while the records still stand where the edit found them.
    recordMoves(run, starts, edit.rewritten);
    for (size_t j = 0; j < run.size(); ++j) {
        const TextShow& show = shows_[run[j]];
        wanted[show.operation] = starts[j];
        const std::optional<RewrittenShow>& rewritten = edit.rewritten[j];
        if (!rewritten) continue;
        widths[show.operation] = rewritten->advance - show.totalAdvance();
        noteAppearanceReach(show, starts[j], rewritten->advance);
    }
    for (size_t j = 0; j < run.size(); ++j) {
        if (edit.rewritten[j]) {
            rewriteShow({shows_[run[j]].scope, shows_[run[j]].operation}, edit.rewritten[j]->bytes);
        }
    }
}

bool PageTextSession::replace(size_t index, const std::string& newText) {
    if (index >= runs_.size()) {
        return false;
    }
    // A text that stays as it is needs no edit (and no other font).
    if (newText == text(index)) {
        return true;
    }
    std::optional<PreparedEdit> edit = prepare(index, diffByWords(text(index), newText));
    if (!edit) {
        return false;
    }
    // The rest of the line is found where it stands before the edit moves any of it.
    const TextLine line = lineOfRecord(index);
    const double shift = endShift(*edit);
    const LineRest rest = planLineRest(line, recordEnd(index), shift, {index});
    const std::vector<size_t> curveRest = curveAfter(index, line, shift, {index});
    std::map<std::uint32_t, double> wanted;
    std::map<std::uint32_t, double> widths;
    takeIn(*edit, 0.0, wanted, widths);
    followCurve(curveRest, shift, wanted);
    std::set<size_t> moved{index};
    moveShows(show(index).scope, wanted, widths, moved);
    moveLineRest(rest);
    return true;
}

bool PageTextSession::replaceSpans(const std::vector<SpanEdit>& edits, bool keepTextAfter) {
    if (edits.empty()) return true;
    for (const SpanEdit& e : edits) {
        if (e.record >= runs_.size()) return false;
    }
    // Records of one content move together: each starts where the one before it now ends, as
    // far from it as it was, like the operators of one record.
    ContentScope* scope = show(edits.front().record).scope;
    bool together = true;
    for (const SpanEdit& e : edits) {
        together = together && show(e.record).scope == scope;
    }
    // Whether an edit takes its record's first letters away (all its letters, with `whole`).
    auto takesFromStart = [&](const SpanEdit& e, bool whole) {
        return together && !e.keepPlace && e.begin == 0 && e.text.empty() &&
               (!whole || e.end == text(e.record).size());
    };
    std::vector<std::optional<PreparedEdit>> prepared(edits.size());
    std::vector<double> startShift(edits.size(), 0.0);  // page units along the line
    double shift = 0;
    for (size_t k = 0; k < edits.size(); ++k) {
        const SpanEdit& e = edits[k];
        const std::string& old = text(e.record);
        if (e.begin > e.end || e.end > old.size() || (e.keepPlace && !e.text.empty())) {
            return false;
        }
        const double scale = alongScale(show(e.record));
        // A record whose first letters go takes the spacing before it along (letters spaced or
        // kerned apart, a record each), and the second record the spacing after the first when
        // all of the first goes: else a gap would stay where they stood.
        if (k > 0 && (takesFromStart(e, false) || (k == 1 && takesFromStart(edits[0], true)))) {
            shift -= spacingBetween(edits[k - 1].record, e.record);
        }
        startShift[k] = together ? shift : 0.0;
        std::vector<TextHunk> hunks;
        if (e.keepPlace) {
            // The last part taken out in place also takes back how far the parts before it
            // moved its record, so that the text after it stays.
            const bool takeBack = keepTextAfter && k + 1 == edits.size() && scale > 0;
            const double back = takeBack ? -startShift[k] / scale : 0.0;
            if (e.begin < e.end) hunks.push_back(TextHunk{e.begin, e.end, {}, true, back});
        } else {
            hunks = diffByWords(old, old.substr(0, e.begin) + e.text + old.substr(e.end));
        }
        if (hunks.empty()) continue;
        prepared[k] = prepare(e.record, hunks);
        if (!prepared[k]) return false;
        shift += endShift(*prepared[k]);
    }
    std::set<size_t> moved;
    for (const SpanEdit& e : edits) moved.insert(e.record);
    if (!together) {
        for (const std::optional<PreparedEdit>& edit : prepared) {
            if (!edit) continue;
            std::map<std::uint32_t, double> wanted;
            std::map<std::uint32_t, double> widths;
            takeIn(*edit, 0.0, wanted, widths);
            moveShows(show(edit->record).scope, wanted, widths, moved);
        }
        return true;
    }
    const size_t lastRecord = edits.back().record;
    const TextLine lastLine = lineOfRecord(lastRecord);
    const LineRest rest = planLineRest(lastLine, recordEnd(lastRecord), shift, moved);
    const std::vector<size_t> curveRest = curveAfter(lastRecord, lastLine, shift, moved);
    std::map<std::uint32_t, double> wanted;
    std::map<std::uint32_t, double> widths;
    for (size_t k = 0; k < edits.size(); ++k) {
        const double scale = alongScale(show(edits[k].record));
        const double start = scale > 0 ? startShift[k] / scale : 0.0;
        if (prepared[k]) {
            takeIn(*prepared[k], start, wanted, widths);
        } else {
            for (size_t s : runs_[edits[k].record]) wanted[shows_[s].operation] = start;
        }
    }
    followCurve(curveRest, shift, wanted);
    moveShows(scope, wanted, widths, moved);
    moveLineRest(rest);
    return true;
}

std::vector<size_t> PageTextSession::curveAfter(size_t record, const TextLine& line, double shift,
                                                const std::set<size_t>& except) {
    std::vector<size_t> after;
    if (std::fabs(shift) <= kNoShift) return after;
    const ContentScope* scope = show(record).scope;
    for (size_t next : recordsAfterOnLine(glyphs(), record)) {
        if (except.count(next) == 0 && show(next).scope == scope &&
            !placeOnLine(line, show(next)).onLine) {
            after.push_back(next);
        }
    }
    return after;
}

void PageTextSession::followCurve(const std::vector<size_t>& records, double shift,
                                  std::map<std::uint32_t, double>& wanted) const {
    for (size_t record : records) {
        for (size_t s : runs_[record]) {
            const double scale = alongScale(shows_[s]);
            if (scale > 0) wanted[shows_[s].operation] = shift / scale;
        }
    }
}

int PageTextSession::removeGlyphs(double x0, double y0, double x1, double y1,
                                  const std::vector<RecordSpan>& spans, size_t* mostRemoved) {
    const PageGlyphs& page = glyphs();
    // The glyphs to remove, by operation (a form drawn twice loses them in both places).
    std::map<OperationKey, std::pair<size_t, std::vector<bool>>> removeByOperation;
    std::map<size_t, int> perRecord;
    int removed = 0;
    for (size_t record : page.recordsWithGlyphs()) {
        for (const PageGlyph& glyph : page.records()[record].glyphs) {
            bool remove = glyph.centreX >= x0 && glyph.centreX <= x1 && glyph.centreY >= y0 &&
                          glyph.centreY <= y1;
            for (const RecordSpan& span : spans) {
                remove = remove || (span.record == glyph.record && glyph.textBegin < span.end &&
                                    glyph.textEnd > span.begin);
            }
            if (!remove) continue;
            const TextShow& show = shows_[glyph.show];
            auto& [showIndex, flags] = removeByOperation[{show.scope, show.operation}];
            showIndex = glyph.show;
            if (flags.size() <= glyph.glyph) flags.resize(glyph.glyph + 1, false);
            flags[glyph.glyph] = true;
            ++perRecord[glyph.record];
            ++removed;
        }
    }
    for (const auto& [key, removal] : removeByOperation) {
        if (std::optional<std::string> bytes =
                rewriteShowWithout(shows_[removal.first], removal.second)) {
            rewriteShow(key, std::move(*bytes));
        }
    }
    if (mostRemoved != nullptr && removed > 0) {
        *mostRemoved =
            std::max_element(perRecord.begin(), perRecord.end(), [](const auto& a, const auto& b) {
                return a.second < b.second;
            })->first;
    }
    return removed;
}

void PageTextSession::moveShows(ContentScope* scope, const std::map<std::uint32_t, double>& wanted,
                                const std::map<std::uint32_t, double>& widths,
                                std::set<size_t>& moved) {
    auto listed = showOperations_.find(scope);
    if (listed == showOperations_.end()) return;
    const std::vector<std::uint32_t>& operations = listed->second;
    std::set<std::uint32_t> touched;
    for (const auto& [operation, shift] : wanted) touched.insert(operation);
    for (const auto& [operation, width] : widths) touched.insert(operation);
    auto valueOf = [](const std::map<std::uint32_t, double>& values, std::uint32_t operation) {
        auto it = values.find(operation);
        return it != values.end() ? it->second : 0.0;
    };
    auto positionOf = [&](std::uint32_t operation) {
        return static_cast<size_t>(
            std::lower_bound(operations.begin(), operations.end(), operation) - operations.begin());
    };
    // Shows that stand next to one another in the content are placed together; between such
    // groups the content stands as it was.
    for (auto at = touched.begin(); at != touched.end();) {
        const size_t first = positionOf(*at);
        size_t last = first;
        for (++at; at != touched.end() && positionOf(*at) == last + 1; ++at) ++last;
        if (first >= operations.size()) continue;
        last = std::min(last, operations.size() - 1);
        const std::vector<std::uint32_t> group(operations.begin() + first,
                                               operations.begin() + last + 1);
        std::vector<double> groupWanted;
        std::vector<double> groupWidths;
        for (std::uint32_t operation : group) {
            groupWanted.push_back(valueOf(wanted, operation));
            groupWidths.push_back(valueOf(widths, operation));
        }
        const std::uint32_t from = first > 0 ? operations[first - 1] + 1 : 0;
        const ShowsPlaced placed =
            placeShows(*scope->content, from, group, groupWanted, groupWidths);
        for (const PlacementMove& move : placed.moves) {
            lineShifts_[{scope, move.operation}] += move.shift;
            writeEdit({scope, move.operation});
        }
        auto shiftAll = [&](std::uint32_t operation, double shift) {
            if (std::fabs(shift) <= kNoShift) return;
            shiftShow({scope, operation}, shift);
            showsOfOperation_.forEach(scope, operation,
                                      [&](size_t s) { moved.insert(recordOfShow_[s]); });
        };
        for (size_t k = 0; k < group.size(); ++k) shiftAll(group[k], placed.shifts[k]);
        for (const auto& [operation, shift] : placed.followers) shiftAll(operation, shift);
    }
}

PageTextSession::LineRest PageTextSession::planLineRest(const TextLine& line, double from,
                                                        double shift,
                                                        const std::set<size_t>& except) const {
    LineRest plan;
    if (std::fabs(shift) <= kNoShift || line.size <= 0) return plan;
    plan.line = line;
    // The text of an annotation's appearance moves only with its own line.
    const ContentScope* appearance = nullptr;
    if (!except.empty() && show(*except.begin()).scope->isAppearance()) {
        appearance = show(*except.begin()).scope;
    }
    std::vector<std::pair<size_t, LinePiece>> candidates;
    for (size_t record : recordsNearLine(line)) {
        if (except.count(record) != 0 || !withText_.contains(record)) continue;
        const std::vector<size_t>& run = runs_[record];
        const TextShow& first = shows_[run.front()];
        if (first.writesVertically()) continue;
        if (first.scope->isAppearance() ? first.scope != appearance : appearance != nullptr) {
            continue;
        }
        const PlaceOnLine place = placeOnLine(line, first);
        if (!place.onLine || place.start < from - LineRestLimits::kTuckedIn * line.size) {
            continue;
        }
        const bool shownOnce = std::all_of(run.begin(), run.end(), [&](size_t s) {
            return showsOfOperation_.shownOnce(shows_[s].scope, shows_[s].operation);
        });
        if (!shownOnce) continue;
        const PlaceOnLine end = placeOnLine(line, shows_[run.back()]);
        candidates.push_back({record, {place.start, std::max(place.end, end.end)}});
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const auto& a, const auto& b) { return a.second.start < b.second.start; });
    std::vector<LinePiece> pieces;
    for (const auto& candidate : candidates) pieces.push_back(candidate.second);
    const std::vector<double> shifts = lineRestShifts(pieces, from, shift, line.size);
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (std::fabs(shifts[i]) > kNoShift) {
            plan.records.push_back({candidates[i].first, candidates[i].second, shifts[i]});
        }
    }
    return plan;
}

std::vector<size_t> PageTextSession::recordsNearLine(const TextLine& line) const {
    const bool across = std::fabs(line.uy) < 1e-9 && line.ux > 0;
    if (!across) {
        std::vector<size_t> all;
        for (size_t record : withText_) all.push_back(record);
        return all;
    }
    if (!baselines_) {
        baselines_.emplace();
        for (size_t record : withText_) noteBaseline(record);
    }
    // Records stand on the line when their baseline lies within half the larger size of it.
    const double reach = 0.5 * std::max(line.size, largestSize_) + 1e-6;
    std::vector<size_t> near;
    for (auto it = baselines_->lower_bound(line.y - reach);
         it != baselines_->end() && it->first <= line.y + reach; ++it) {
        near.push_back(it->second);
    }
    std::sort(near.begin(), near.end());
    near.erase(std::unique(near.begin(), near.end()), near.end());
    return near;
}

void PageTextSession::moveLineRest(const LineRest& plan) {
    // Each record's operators move as far; those that follow the pen of an operator that
    // moved already (the edit's own) follow it without moving again.
    std::map<ContentScope*, std::map<std::uint32_t, double>> wantedByScope;
    // The stretches of the line that moved, one per shift, as they stand now.
    std::map<double, std::pair<double, double>> stretches;
    for (const LineRest::Move& move : plan.records) {
        for (size_t s : runs_[move.record]) {
            const TextShow& part = shows_[s];
            const double scale = alongScale(part);
            if (scale > 0) wantedByScope[part.scope][part.operation] = move.shift / scale;
        }
        const double start = move.piece.start + move.shift;
        const double end = move.piece.end + move.shift;
        auto [stretch, fresh] = stretches.emplace(move.shift, std::make_pair(start, end));
        if (!fresh) {
            stretch->second.first = std::min(stretch->second.first, start);
            stretch->second.second = std::max(stretch->second.second, end);
        }
    }
    std::set<size_t> moved;
    for (const auto& [scope, wanted] : wantedByScope) moveShows(scope, wanted, {}, moved);
    const TextLine& line = plan.line;
    for (const auto& [moveBy, stretch] : stretches) {
        TextMoves::Line moving;
        moving.ux = line.ux;
        moving.uy = line.uy;
        // Through the middle of the em boxes, as recordMoves draws its lines.
        moving.x = line.x + stretch.first * line.ux - 0.3 * line.size * line.uy;
        moving.y = line.y + stretch.first * line.uy + 0.3 * line.size * line.ux;
        moving.length = stretch.second - stretch.first;
        moving.halfHeight = line.size / 2;
        moving.steps.push_back({0.0, moveBy});
        moves_.add(std::move(moving));
    }
}

void PageTextSession::moveLineRest(const TextLine& line, double from, double shift,
                                   const std::set<size_t>& except) {
    moveLineRest(planLineRest(line, from, shift, except));
}

void PageTextSession::recordMoves(const std::vector<size_t>& run, const std::vector<double>& starts,
                                  const std::vector<std::optional<RewrittenShow>>& rewritten) {
    const TextShow& first = shows_[run.front()];
    const QPDFMatrix m = first.toPage();
    const bool vertical = first.writesVertically();
    // The writing direction and the direction across it, on the page.
    const double alongX = vertical ? -m.c : m.a;
    const double alongY = vertical ? -m.d : m.b;
    const double acrossScale = vertical ? std::hypot(m.a, m.b) : std::hypot(m.c, m.d);
    const double scale = std::hypot(alongX, alongY);
    if (scale == 0) return;
    TextMoves::Line line;
    line.ux = alongX / scale;
    line.uy = alongY / scale;
    const double size = first.state.fontSize;
    // The line through the middle of the em boxes (see textBox).
    if (vertical) {
        m.transform(0, 0, line.x, line.y);
    } else {
        m.transform(0, first.state.rise + 0.3 * size, line.x, line.y);
    }
    line.halfHeight = std::fabs(size) * acrossScale / 2;
    bool moved = false;
    for (size_t j = 0; j < run.size(); ++j) {
        const double origin = partOrigin(run, j) + starts[j];
        const TextShow& show = shows_[run[j]];
        line.length =
            (origin + (rewritten[j] ? rewritten[j]->advance : show.totalAdvance())) * scale;
        if (!rewritten[j]) continue;
        for (const RewrittenShow::Step& step : rewritten[j]->steps) {
            const double shift = starts[j] + step.shift;
            line.steps.push_back({(origin + step.at) * scale, shift * scale});
            moved = moved || std::fabs(shift) > 1e-6;
        }
    }
    if (moved) moves_.add(std::move(line));
}

}  // namespace relettra::pdf
