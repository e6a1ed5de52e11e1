#include "pdf/text/page_text_session.h"

#include <algorithm>
#include <cmath>

#include "pdf/content/annotation_appearances.h"
#include "pdf/text/glyph_layout.h"
#include "pdf/text/run_changes.h"
#include "pdf/text/run_placement.h"

namespace relettra::pdf {

namespace {

class ShowCollector : public TextListener {
  public:
    explicit ShowCollector(std::vector<TextShow>& shows) : shows_(shows) {}
    bool onShow(const TextShow& show) override {
        shows_.push_back(show);
        return true;
    }

  private:
    std::vector<TextShow>& shows_;
};

}  // namespace

PageTextSession::PageTextSession(PageEditor& page, FontCache& fonts, TextMoves& moves)
    : page_(page), moves_(moves), content_(page.page().getObjectHandle(), true) {
    ShowCollector collector(shows_);
    TextInterpreter(fonts).run(content_, page.geometry().userToUpright(), collector);
    runs_ = groupShowsIntoRuns(shows_);
}

std::string PageTextSession::text(size_t index) const {
    std::string out;
    if (index < runs_.size()) {
        for (size_t s : runs_[index]) appendSpacedText(shows_[s], out);
    }
    return out;
}

bool PageTextSession::textBox(size_t index, size_t begin, size_t end, double box[4]) const {
    if (index >= runs_.size()) return false;
    bool any = false;
    size_t offset = 0;
    for (size_t s : runs_[index]) {
        const TextShow& show = shows_[s];
        const SpacedText part = spaceText(show);
        for (const PlacedGlyph& glyph : part.glyphs) {
            if (offset + glyph.textBegin >= end || offset + glyph.textEnd <= begin) continue;
            double glyphBox[4];
            glyphEmBox(show, glyph, glyphBox);
            if (!any) std::copy(glyphBox, glyphBox + 4, box);
            any = true;
            box[0] = std::min(box[0], glyphBox[0]);
            box[1] = std::min(box[1], glyphBox[1]);
            box[2] = std::max(box[2], glyphBox[2]);
            box[3] = std::max(box[3], glyphBox[3]);
        }
        offset += part.text.size();
    }
    return any;
}

double PageTextSession::partOrigin(const std::vector<size_t>& run, size_t part) const {
    double x = 0;
    double y = 0;
    const TextShow& show = shows_[run[part]];
    return toTextSpace(shows_[run.front()], show.tm.e, show.tm.f, x, y) ? x : 0.0;
}

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
    // Each operator starts where the one before it now ends, as far from it as it was.
    edit.starts.assign(run.size(), 0.0);
    std::vector<std::uint32_t> operations;
    for (size_t j = 0; j < run.size(); ++j) {
        operations.push_back(shows_[run[j]].operation);
        if (j == 0) continue;
        const std::optional<RewrittenShow>& before = edit.rewritten[j - 1];
        edit.starts[j] = edit.starts[j - 1] +
                         (before ? before->advance - shows_[run[j - 1]].totalAdvance() : 0.0);
    }
    edit.placements = placementMoves(*shows_[run.front()].scope->content, operations, edit.starts);
    return edit;
}

void PageTextSession::apply(const PreparedEdit& edit) {
    const std::vector<size_t>& run = runs_[edit.record];
    ContentScope* scope = shows_[run.front()].scope;
    for (size_t j = 0; j < run.size(); ++j) {
        if (!edit.rewritten[j]) continue;
        const OperationKey key{scope, shows_[run[j]].operation};
        rewrittenShows_[key] = edit.rewritten[j]->bytes;
        writeEdit(key);
        noteAppearanceReach(shows_[run[j]], edit.starts[j], edit.rewritten[j]->advance);
    }
    for (const PlacementMove& placement : edit.placements) {
        const OperationKey key{scope, placement.operation};
        lineShifts_[key] += placement.shift;
        writeEdit(key);
    }
    recordMoves(run, edit.starts, edit.rewritten);
}

bool PageTextSession::replace(size_t index, const std::string& newText) {
    if (index >= runs_.size()) {
        return false;
    }
    std::optional<PreparedEdit> edit = prepare(index, diffByWords(text(index), newText));
    if (!edit) {
        return false;
    }
    apply(*edit);
    return true;
}

const PageGlyphs& PageTextSession::glyphs() {
    if (!glyphs_) {
        glyphs_ = std::make_unique<PageGlyphs>(shows_, runs_);
    }
    return *glyphs_;
}

namespace {

// How far one text space unit along the show's baseline reaches on the page.
double alongScale(const TextShow& show) {
    const QPDFMatrix m = show.toPage();
    return show.writesVertically() ? std::hypot(m.c, m.d) : std::hypot(m.a, m.b);
}

}  // namespace

double PageTextSession::endShift(const PreparedEdit& edit) const {
    const std::vector<size_t>& run = runs_[edit.record];
    const size_t last = run.size() - 1;
    const std::optional<RewrittenShow>& rewritten = edit.rewritten[last];
    const double shift =
        edit.starts[last] + (rewritten ? rewritten->advance - shows_[run[last]].totalAdvance() : 0);
    return shift * alongScale(shows_[run.front()]);
}

bool PageTextSession::replaceSpans(const std::vector<SpanEdit>& edits, bool keepTextAfter) {
    if (edits.empty()) return true;
    for (const SpanEdit& e : edits) {
        if (e.record >= runs_.size()) return false;
    }
    // Records of one content move together: each starts where the one before it now ends, as
    // far from it as it was, like the operators of one record.
    ContentScope* scope = shows_[runs_[edits.front().record].front()].scope;
    bool together = true;
    for (const SpanEdit& e : edits) {
        together = together && shows_[runs_[e.record].front()].scope == scope;
    }
    std::vector<std::optional<PreparedEdit>> prepared(edits.size());
    std::vector<double> startShift(edits.size(), 0.0);  // page units along the line
    double shift = 0;
    for (size_t k = 0; k < edits.size(); ++k) {
        const SpanEdit& e = edits[k];
        const std::string old = text(e.record);
        if (e.begin > e.end || e.end > old.size() || (e.keepPlace && !e.text.empty())) {
            return false;
        }
        const double scale = alongScale(shows_[runs_[e.record].front()]);
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
    if (!together) {
        for (const std::optional<PreparedEdit>& edit : prepared) {
            if (edit) apply(*edit);
        }
        return true;
    }
    std::vector<std::uint32_t> operations;
    std::vector<double> starts;
    for (size_t k = 0; k < edits.size(); ++k) {
        const std::vector<size_t>& run = runs_[edits[k].record];
        const double scale = alongScale(shows_[run.front()]);
        std::vector<double> recordStarts;
        for (size_t j = 0; j < run.size(); ++j) {
            operations.push_back(shows_[run[j]].operation);
            recordStarts.push_back((scale > 0 ? startShift[k] / scale : 0.0) +
                                   (prepared[k] ? prepared[k]->starts[j] : 0.0));
        }
        starts.insert(starts.end(), recordStarts.begin(), recordStarts.end());
        if (!prepared[k]) continue;
        for (size_t j = 0; j < run.size(); ++j) {
            if (!prepared[k]->rewritten[j]) continue;
            const OperationKey key{scope, shows_[run[j]].operation};
            rewrittenShows_[key] = prepared[k]->rewritten[j]->bytes;
            writeEdit(key);
            noteAppearanceReach(shows_[run[j]], recordStarts[j],
                                prepared[k]->rewritten[j]->advance);
        }
        recordMoves(run, recordStarts, prepared[k]->rewritten);
    }
    for (const PlacementMove& placement : placementMoves(*scope->content, operations, starts)) {
        const OperationKey key{scope, placement.operation};
        lineShifts_[key] += placement.shift;
        writeEdit(key);
    }
    return true;
}

int PageTextSession::removeGlyphs(double x0, double y0, double x1, double y1,
                                  const std::vector<RecordSpan>& spans, size_t* mostRemoved) {
    const PageGlyphs& page = glyphs();
    std::map<size_t, std::vector<bool>> removeByShow;
    std::vector<int> perRecord(runs_.size(), 0);
    int removed = 0;
    for (const PageGlyph& glyph : page.glyphs()) {
        bool remove = glyph.centreX >= x0 && glyph.centreX <= x1 && glyph.centreY >= y0 &&
                      glyph.centreY <= y1;
        for (const RecordSpan& span : spans) {
            remove = remove || (span.record == glyph.record && glyph.textBegin < span.end &&
                                glyph.textEnd > span.begin);
        }
        if (!remove) continue;
        std::vector<bool>& flags = removeByShow[glyph.show];
        if (flags.size() <= glyph.glyph) flags.resize(glyph.glyph + 1, false);
        flags[glyph.glyph] = true;
        ++perRecord[glyph.record];
        ++removed;
    }
    for (const auto& [index, flags] : removeByShow) {
        const TextShow& show = shows_[index];
        if (std::optional<std::string> bytes = rewriteShowWithout(show, flags)) {
            const OperationKey key{show.scope, show.operation};
            rewrittenShows_[key] = std::move(*bytes);
            writeEdit(key);
        }
    }
    if (mostRemoved != nullptr && removed > 0) {
        *mostRemoved = static_cast<size_t>(std::max_element(perRecord.begin(), perRecord.end()) -
                                           perRecord.begin());
    }
    return removed;
}

void PageTextSession::writeEdit(const OperationKey& key) {
    const auto& [scope, operation] = key;
    const ParsedContent& content = *scope->content;
    std::string bytes;
    if (auto it = rewrittenShows_.find(key); it != rewrittenShows_.end()) {
        bytes = it->second;
    } else {
        const Operation& op = content.operations()[operation];
        bytes =
            content.bytes().substr(content.beginOf(op), content.endOf(op) - content.beginOf(op));
    }
    if (auto it = lineShifts_.find(key); it != lineShifts_.end() && it->second != 0) {
        bytes = movedPlacement(content, operation, it->second, bytes);
    }
    scope->edits[operation] = std::move(bytes);
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

void PageTextSession::noteAppearanceReach(const TextShow& show, double start, double advance) {
    if (show.scope == nullptr || !show.scope->isAppearance()) return;
    // The em boxes in text space, from a quarter em below the baseline to an em above it.
    const double size = std::fabs(show.state.fontSize);
    const double low = show.state.rise - 0.25 * size;
    const double high = show.state.rise + size;
    const QPDFMatrix toPage = show.toPage();
    const QPDFObjectHandle::Rectangle reach = toPage.transformRectangle(QPDFObjectHandle::Rectangle(
        std::min(start, start + advance), low, std::max(start, start + advance), high));
    auto [at, fresh] = appearanceReach_.emplace(show.scope, reach);
    if (!fresh) {
        QPDFObjectHandle::Rectangle& r = at->second;
        r = QPDFObjectHandle::Rectangle(std::min(r.llx, reach.llx), std::min(r.lly, reach.lly),
                                        std::max(r.urx, reach.urx), std::max(r.ury, reach.ury));
    }
}

bool PageTextSession::flush(QPDF& pdf, const std::function<bool(QPDFObjGen)>& isSharedStream) {
    if (!content_.hasEdits()) {
        return false;
    }
    content_.commit(pdf, isSharedStream, false);
    // An appearance whose text now reaches past its box is widened (its own copy by now).
    for (const auto& [scope, reach] : appearanceReach_) {
        QPDFMatrix formToUpright = page_.geometry().userToUpright();
        formToUpright.concat(scope->placement);
        widenAppearance(scope->owner, scope->annotation, formToUpright,
                        page_.geometry().uprightToUser(), reach);
    }
    appearanceReach_.clear();
    page_.contentChanged();
    return true;
}

}  // namespace relettra::pdf
