#include "pdf/text/page_text_session.h"

#include "pdf/text/glyph_layout.h"
#include "pdf/text/run_changes.h"
#include "pdf/text/text_rewriter.h"
#include "pdf/text/text_runs.h"

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

PageTextSession::PageTextSession(PageEditor& page, FontCache& fonts)
    : page_(page), content_(page.page().getObjectHandle()) {
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

double PageTextSession::followingShift(const std::vector<size_t>& run,
                                       const std::vector<SpacedText>& parts,
                                       const std::vector<size_t>& lengths, const TextHunk& hunk,
                                       size_t first, size_t last) const {
    // Positions along the baseline in the text space of the run's first operator.
    auto origin = [&](size_t part) {
        double x = 0;
        double y = 0;
        const TextShow& show = shows_[run[part]];
        return toTextSpace(shows_[run.front()], show.tm.e, show.tm.f, x, y) ? x : 0.0;
    };
    // The pen where the text from byte `offset` of a part on starts.
    auto penAt = [&](size_t part, size_t offset) {
        for (const PlacedGlyph& glyph : parts[part].glyphs) {
            if (glyph.textEnd > offset) return glyph.penStart;
        }
        return shows_[run[part]].totalAdvance();
    };
    size_t firstOffset = 0;
    for (size_t j = 0; j < first; ++j) firstOffset += lengths[j];
    size_t lastOffset = firstOffset;
    for (size_t j = first; j < last; ++j) lastOffset += lengths[j];
    const TextShow& writer = shows_[run[first]];
    double newWidth = 0;
    if (std::optional<std::string> bytes = writer.state.font->encode(hunk.replacement)) {
        for (const DecodedGlyph& glyph : writer.state.font->decode(*bytes)) {
            newWidth += writer.glyphAdvance(glyph);
        }
    }
    const double newEnd = origin(first) + penAt(first, hunk.oldBegin - firstOffset) + newWidth;
    const double oldEnd = origin(last) + penAt(last, hunk.oldEnd - lastOffset);
    return newEnd - oldEnd;
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
                         return followingShift(run, parts, lengths, hunk, first, last);
                     });
    std::vector<std::pair<size_t, std::string>> rewritten;
    for (size_t j = 0; j < run.size(); ++j) {
        if (shares[j].empty()) continue;
        std::optional<std::string> bytes = rewriteShowHunks(shows_[run[j]], parts[j], shares[j]);
        if (!bytes) {
            return false;
        }
        rewritten.emplace_back(run[j], std::move(*bytes));
    }
    if (rewritten.empty()) {
        return false;
    }
    for (auto& [s, bytes] : rewritten) {
        shows_[s].scope->edits[shows_[s].operation] = std::move(bytes);
    }
    return true;
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
