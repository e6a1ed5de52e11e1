#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <qpdf/QPDF.hh>
#include <utility>
#include <vector>

#include "pdf/content/content_scope.h"
#include "pdf/content/text_interpreter.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/page_editor.h"
#include "pdf/text/page_glyphs.h"
#include "pdf/text/run_placement.h"
#include "pdf/text/spaced_text.h"
#include "pdf/text/text_diff.h"
#include "pdf/text/text_moves.h"
#include "pdf/text/text_over_records.h"
#include "pdf/text/text_rewriter.h"
#include "pdf/text/text_runs.h"

namespace relettra::pdf {

// The text records of the open page, read once, in content order: each record is a run of
// text-showing operators that continue one another (see continuesShow), with its positions in
// upright page coordinates. The text of annotations that a viewer shows from their appearances
// (other than form fields) counts as the page's. Replacements and removals are collected and
// written by flush(); where they move text along its line, `moves` (the page's, kept over the
// whole run) learns of it.
class PageTextSession {
  public:
    PageTextSession(PageEditor& page, FontCache& fonts, TextMoves& moves);

    size_t size() const { return runs_.size(); }
    // The record's first operator: where it starts, its font and text state.
    const TextShow& show(size_t index) const { return shows_[runs_[index].front()]; }
    // The record's text as spaceText reads each of its operators, UTF-8.
    std::string text(size_t index) const;
    // The record's length along its baseline, in the text space of its first operator.
    double advance(size_t index) const { return runAdvance(shows_, runs_[index]); }
    // The box (upright page coordinates: x0, y0, x1, y1) of the em boxes of the glyphs that show
    // bytes [begin, end) of the record's text as read when the session started. False when no
    // glyph shows any of them.
    bool textBox(size_t index, size_t begin, size_t end, double box[4]) const;
    // Where in-font edits of this page moved text, over the whole run.
    const TextMoves& moves() const { return moves_; }

    // Gives the record the text `newText` in its own font; false (and nothing changes) when
    // the font cannot show it. The rest of the record follows the new text: what it shows after
    // a change moves by the change of width, and nothing else on the page moves.
    bool replace(size_t index, const std::string& newText);

    // The page's text as one sequence of glyphs, built on first use.
    const PageGlyphs& glyphs();

    // One change of a record's text: bytes [begin, end) become `text`. With `keepPlace` the old
    // glyphs leave their advance behind (what follows in the record stays where it stood);
    // otherwise what follows moves with the new text.
    struct SpanEdit {
        size_t record = 0;
        size_t begin = 0;
        size_t end = 0;
        std::string text;
        bool keepPlace = false;
    };
    // Makes every edit (one per record, records in content order) in its record's own font, or
    // none: false when some font cannot show its new text. An edit that changes nothing counts
    // as made. Records of one content then stand as the operators of one record do: each starts
    // where the one before it now ends, as far from it as it was, and what follows the last one
    // after a move of its own stands where it stood. With `keepTextAfter`, a last edit that
    // keeps its place also takes back how far the edits before it moved its record, so that the
    // text after it stands where it stood.
    bool replaceSpans(const std::vector<SpanEdit>& edits, bool keepTextAfter);

    // Removes every glyph whose centre (glyphCentre) lies inside the upright rectangle
    // [x0, x1] × [y0, y1], and every glyph that shows a byte of `spans`; every other glyph stays
    // where it was. Returns the number removed; `mostRemoved` (when given and something was
    // removed) is the record that lost the most glyphs.
    int removeGlyphs(double x0, double y0, double x1, double y1,
                     const std::vector<RecordSpan>& spans, size_t* mostRemoved);
    // Writes the replacements and removals into the page. Returns true when something was
    // written; the session is spent then (its records describe the page as it was).
    bool flush(QPDF& pdf, const std::function<bool(QPDFObjGen)>& isSharedStream);

  private:
    using OperationKey = std::pair<ContentScope*, std::uint32_t>;

    // A record's replacement, worked out but not yet written.
    struct PreparedEdit {
        size_t record = 0;
        std::vector<std::optional<RewrittenShow>> rewritten;
        std::vector<double> starts;
        std::vector<PlacementMove> placements;
    };
    // The replacement of the record's text by `hunks` (offsets into its text), or nullopt when
    // its font cannot show the new text or nothing changes.
    std::optional<PreparedEdit> prepare(size_t index, const std::vector<TextHunk>& hunks) const;
    void apply(const PreparedEdit& edit);
    // Notes where a rewritten operator of an annotation's appearance now reaches (from `start`,
    // text space, for `advance`), so that the appearance can be widened to show it.
    void noteAppearanceReach(const TextShow& show, double start, double advance);
    // How far (page units, along its line) the end of the record stands from where it stood
    // once `edit` is written.
    double endShift(const PreparedEdit& edit) const;

    // How far the rest of operator `last` must move after a change that reaches from operator
    // `first` to operator `last` of a run, once `last` starts where the new end of `first` puts
    // it: back by the old text of the change that stood past `first`.
    double joinShift(const std::vector<size_t>& run, const std::vector<SpacedText>& parts,
                     const std::vector<size_t>& lengths, const TextHunk& hunk, size_t first,
                     size_t last) const;
    // Where the operator `part` of a run starts, along the baseline in the text space of the
    // run's first operator.
    double partOrigin(const std::vector<size_t>& run, size_t part) const;
    // Tells `moves_` how the record's text moved.
    void recordMoves(const std::vector<size_t>& run, const std::vector<double>& starts,
                     const std::vector<std::optional<RewrittenShow>>& rewritten);
    // Writes the edit of one operation: its new text and the shift of its line, as collected.
    void writeEdit(const OperationKey& key);

    PageEditor& page_;
    TextMoves& moves_;
    PageContent content_;
    std::vector<TextShow> shows_;
    std::vector<std::vector<size_t>> runs_;
    std::unique_ptr<PageGlyphs> glyphs_;
    std::map<OperationKey, std::string> rewrittenShows_;
    std::map<OperationKey, double> lineShifts_;
    // Upright, per appearance scope: where its rewritten text reaches.
    std::map<ContentScope*, QPDFObjectHandle::Rectangle> appearanceReach_;
};

}  // namespace relettra::pdf
