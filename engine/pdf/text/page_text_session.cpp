#include "pdf/text/page_text_session.h"

#include <algorithm>
#include <cmath>

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
    : page_(page), moves_(moves), content_(page.page().getObjectHandle()) {
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

namespace {

// The text-to-page matrix of a show.
QPDFMatrix showMatrix(const TextShow& show) {
    QPDFMatrix m = show.ctm;
    m.concat(show.tm);
    return m;
}

bool isVertical(const TextShow& show) {
    return show.state.font && show.state.font->isVertical();
}

}  // namespace

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

bool PageTextSession::replace(size_t index, const std::string& newText) {
    if (index >= runs_.size()) {
        return false;
    }
    const std::vector<size_t>& run = runs_[index];
    std::vector<SpacedText> parts;
    std::vector<size_t> lengths;
    std::string oldText;
    for (size_t s : run) {
        parts.push_back(spaceText(shows_[s]));
        lengths.push_back(parts.back().text.size());
        oldText += parts.back().text;
    }
    const std::vector<std::vector<TextHunk>> shares =
        shareChanges(diffByWords(oldText, newText), lengths,
                     [&](const TextHunk& hunk, size_t first, size_t last) {
                         return joinShift(run, parts, lengths, hunk, first, last);
                     });
    std::vector<std::optional<RewrittenShow>> rewritten(run.size());
    bool any = false;
    for (size_t j = 0; j < run.size(); ++j) {
        if (shares[j].empty()) continue;
        rewritten[j] = rewriteShowHunks(shows_[run[j]], parts[j], shares[j]);
        if (!rewritten[j]) {
            return false;
        }
        any = true;
    }
    if (!any) {
        return false;
    }
    // Each operator starts where the one before it now ends, as far from it as it was.
    std::vector<double> starts(run.size(), 0.0);
    std::vector<std::uint32_t> operations;
    for (size_t j = 0; j < run.size(); ++j) {
        operations.push_back(shows_[run[j]].operation);
        if (j == 0) continue;
        const std::optional<RewrittenShow>& before = rewritten[j - 1];
        starts[j] =
            starts[j - 1] + (before ? before->advance - shows_[run[j - 1]].totalAdvance() : 0.0);
    }
    ContentScope* scope = shows_[run.front()].scope;
    const std::vector<PlacementMove> placements =
        placementMoves(*scope->content, operations, starts);
    for (size_t j = 0; j < run.size(); ++j) {
        if (!rewritten[j]) continue;
        const OperationKey key{scope, operations[j]};
        rewrittenShows_[key] = rewritten[j]->bytes;
        writeEdit(key);
    }
    for (const PlacementMove& placement : placements) {
        const OperationKey key{scope, placement.operation};
        lineShifts_[key] += placement.shift;
        writeEdit(key);
    }
    recordMoves(run, starts, rewritten);
    return true;
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
    const QPDFMatrix m = showMatrix(first);
    const bool vertical = isVertical(first);
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

bool PageTextSession::flush(QPDF& pdf, const std::function<bool(QPDFObjGen)>& isSharedStream) {
    if (!content_.hasEdits()) {
        return false;
    }
    content_.commit(pdf, isSharedStream);
    page_.contentChanged();
    return true;
}

int removeGlyphsInArea(PageEditor& page, FontCache& fonts, QPDF& pdf,
                       const std::function<bool(QPDFObjGen)>& isSharedStream, double x0, double y0,
                       double x1, double y1) {
    PageContent content(page.page().getObjectHandle());
    std::vector<TextShow> shows;
    ShowCollector collector(shows);
    TextInterpreter(fonts).run(content, page.geometry().userToUpright(), collector);
    int removed = 0;
    for (const TextShow& show : shows) {
        std::vector<PlacedGlyph> glyphs = layoutGlyphs(show);
        std::vector<bool> remove(glyphs.size(), false);
        for (size_t i = 0; i < glyphs.size(); ++i) {
            double cx = 0;
            double cy = 0;
            glyphCentre(show, glyphs[i], cx, cy);
            if (cx >= x0 && cx <= x1 && cy >= y0 && cy <= y1) {
                remove[i] = true;
                ++removed;
            }
        }
        if (std::optional<std::string> bytes = rewriteShowWithout(show, remove)) {
            show.scope->edits[show.operation] = std::move(*bytes);
        }
    }
    if (content.hasEdits()) {
        content.commit(pdf, isSharedStream);
        page.contentChanged();
    }
    return removed;
}

}  // namespace relettra::pdf
