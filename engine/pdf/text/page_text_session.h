#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <qpdf/QPDF.hh>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "pdf/content/content_scope.h"
#include "pdf/content/text_interpreter.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/page_editor.h"
#include "pdf/text/line_rest.h"
#include "pdf/text/operation_shows.h"
#include "pdf/text/page_glyphs.h"
#include "pdf/text/record_set.h"
#include "pdf/text/record_text_index.h"
#include "pdf/text/run_placement.h"
#include "pdf/text/spaced_text.h"
#include "pdf/text/text_diff.h"
#include "pdf/text/text_moves.h"
#include "pdf/text/text_over_records.h"
#include "pdf/text/text_rewriter.h"
#include "pdf/text/text_runs.h"

namespace relettra::pdf {

// The text records of the open page, read once and kept up to date while the page stays open:
// each record is a run of text-showing operators that continue one another (see continuesShow),
// with its positions in upright page coordinates. The text of annotations that a viewer shows
// from their appearances (other than form fields) counts as the page's, and so does the content
// that drawing adds to the page (taken in by catchUp). Every replacement, removal and move is
// seen at once by what reads the records afterwards, and written into the document by write();
// where edits move text along its line, `moves` (the page's, kept over the whole run) learns of
// it. A record keeps its index for the session's life; one whose glyphs are all removed stays,
// empty.
class PageTextSession {
  public:
    PageTextSession(PageEditor& page, FontCache& fonts, TextMoves& moves);

    // Takes in the pieces of content that drawing added to the page since the last call (and
    // lets go of those whose text was all removed since).
    void catchUp();

    size_t size() const { return runs_.size(); }
    // The record's first operator: where it starts, its font and text state.
    const TextShow& show(size_t index) const { return shows_[runs_[index].front()]; }
    // The record's text as spaceText reads each of its operators, UTF-8.
    const std::string& text(size_t index) const { return texts_[index]; }
    // The record's length along its baseline, in the text space of its first operator.
    double advance(size_t index) const { return runAdvance(shows_, runs_[index]); }
    // The box (upright page coordinates: x0, y0, x1, y1) of the em boxes of the glyphs that show
    // bytes [begin, end) of the record's text. False when no glyph shows any of them.
    bool textBox(size_t index, size_t begin, size_t end, double box[4]) const;
    // Where in-font edits of this page moved text, over the whole run.
    const TextMoves& moves() const { return moves_; }
    // The records whose text holds `needle`, in content order.
    std::vector<size_t> recordsHolding(const std::string& needle) const;
    // Whether the records' texts hold every character of `text` but spaces: a text over
    // several records can stand on the page only then.
    bool holdsEachCharacterOf(const std::string& text) const {
        return textIndex_.holdsEachCharacterOf(text, texts_, withText_);
    }

    // Gives the record the text `newText` in its own font; false (and nothing changes) when
    // the font cannot show it (a text that stays as it is is shown already). The rest of the record
    // follows the new text: what it shows after a change moves by the change of width, and so does
    // the text after the record on its line (see moveLineRest); nothing else on the page moves.
    bool replace(size_t index, const std::string& newText);

    // The page's text as glyphs, brought up to date.
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
    // where the one before it now ends, as far from it as it was, and the text after the last
    // one on its line follows its change of place. With `keepTextAfter`, a last edit that keeps
    // its place also takes back how far the edits before it moved its record, so that the text
    // after it stands where it stood.
    bool replaceSpans(const std::vector<SpanEdit>& edits, bool keepTextAfter);

    // Removes every glyph whose centre (glyphCentre) lies inside the upright rectangle
    // [x0, x1] × [y0, y1], and every glyph that shows a byte of `spans`; every other glyph stays
    // where it was. Returns the number removed; `mostRemoved` (when given and something was
    // removed) is the record that lost the most glyphs.
    int removeGlyphs(double x0, double y0, double x1, double y1,
                     const std::vector<RecordSpan>& spans, size_t* mostRemoved);

    // The line the record's first operator stands on.
    TextLine lineOfRecord(size_t index) const { return lineOf(show(index)); }
    // Moves the text on `line` that follows a change of width at `from` (page units along the
    // line from its point) by `shift` page units along it, as lineRestShifts tells: the records
    // whose first operator stands on the line and follows `from` (followsEnd), other than
    // `except`, each with all its operators. Text of an annotation's appearance moves only with
    // its own appearance's line. Records of forms that the page draws more than once, and of
    // fonts that write vertically, stay. What a later reader of the records sees, and what
    // write() writes, follows at once.
    void moveLineRest(const TextLine& line, double from, double shift,
                      const std::set<size_t>& except = {});

    // Where the text after a change on a line stands, and how far each of its records moves
    // (moveLineRest): worked out before the change moves any of it.
    struct LineRest {
        TextLine line;
        struct Move {
            size_t record;
            LinePiece piece;  // where it stood along the line
            double shift;
        };
        std::vector<Move> records;
    };
    LineRest planLineRest(const TextLine& line, double from, double shift,
                          const std::set<size_t>& except) const;
    void moveLineRest(const LineRest& plan);
    // The records after `record` on its line (as text over several records finds lines) where
    // that line turns away from `line`, in the same content, other than `except`: glyphs set
    // along a curve, each turned on its own. None when `shift` is nothing.
    std::vector<size_t> curveAfter(size_t record, const TextLine& line, double shift,
                                   const std::set<size_t>& except);
    // Each of `records` moves `shift` page units along its own direction (into `wanted`, by
    // operation, for moveShows): the rest of a curve follows a change of width.
    void followCurve(const std::vector<size_t>& records, double shift,
                     std::map<std::uint32_t, double>& wanted) const;

    // Whether some edit changed the page's own content, a form or an appearance.
    bool hasChanges() const { return content_.hasEdits(); }
    // Writes the edits into the document. Returns true when something was written; the session
    // is spent then.
    bool write(QPDF& pdf, const std::function<bool(QPDFObjGen)>& isSharedStream);

  private:
    using OperationKey = std::pair<ContentScope*, std::uint32_t>;

    // A record's replacement, worked out but not yet written.
    struct PreparedEdit {
        size_t record = 0;
        std::vector<std::optional<RewrittenShow>> rewritten;
        std::vector<double> starts;
    };
    // The replacement of the record's text by `hunks` (offsets into its text), or nullopt when
    // its font cannot show the new text or nothing changes.
    std::optional<PreparedEdit> prepare(size_t index, const std::vector<TextHunk>& hunks) const;
    // Notes where a rewritten operator of an annotation's appearance now reaches (from `start`,
    // text space, for `advance`), so that the appearance can be widened to show it.
    void noteAppearanceReach(const TextShow& show, double start, double advance);
    // How far (page units, along its line) the end of the record stands from where it stood
    // once `edit` is written.
    double endShift(const PreparedEdit& edit) const;
    // Where the record's text ends along its own line, page units from the line's point.
    double recordEnd(size_t index) const;
    // How far operator `part` of a run starts from the pen's end after the operator before it
    // (text space units; 0 when further than letters of one word stand).
    double letterSpacing(const std::vector<size_t>& run, size_t part) const;
    // How far record `after` starts from the end of record `before` along its line (page units;
    // 0 when it stands elsewhere or further than letters of one word stand).
    double spacingBetween(size_t before, size_t after) const;

    // How far the rest of operator `last` must move after a change that reaches from operator
    // `first` to operator `last` of a run, once `last` starts where the new end of `first` puts
    // it: back by the old text of the change that stood past `first`.
    double joinShift(const std::vector<size_t>& run, const std::vector<SpacedText>& parts,
                     const std::vector<size_t>& lengths, const TextHunk& hunk, size_t first,
                     size_t last) const;
    // Where the operator `part` of a run starts, along the baseline in the text space of the
    // run's first operator.
    double partOrigin(const std::vector<size_t>& run, size_t part) const;
    // Writes a prepared edit's operators (the record's start moved `startShift` text space units
    // along its line first) and collects how its operators move for moveShows.
    void takeIn(const PreparedEdit& edit, double startShift,
                std::map<std::uint32_t, double>& wanted, std::map<std::uint32_t, double>& widths);
    // Tells `moves_` how the record's text moved (before the model takes the move in).
    void recordMoves(const std::vector<size_t>& run, const std::vector<double>& starts,
                     const std::vector<std::optional<RewrittenShow>>& rewritten);

    // Writes the new bytes of a text-showing operation and reads the operator anew from them.
    void rewriteShow(const OperationKey& key, std::string bytes);
    // Moves the shows of one content along their baselines: `wanted` by operation (text space
    // units of each), with the changes of width `widths` of rewritten ones, every other show
    // standing where it stood or following the pen of a moved one (placeShows). The records
    // that moved are added to `moved`.
    void moveShows(ContentScope* scope, const std::map<std::uint32_t, double>& wanted,
                   const std::map<std::uint32_t, double>& widths, std::set<size_t>& moved);
    // The operation's shows stand `shift` text space units further along their baselines.
    void shiftShow(const OperationKey& key, double shift);
    // Writes the edit of one operation: its new text and the shift of its line, as collected.
    void writeEdit(const OperationKey& key);

    // Adds the shows `found` (in content order) as records of their own.
    void addShows(std::vector<TextShow> found);
    // Reads the record's text anew from its operators.
    void refreshRecord(size_t record);
    // The record's glyphs are laid out anew before glyphs() answers.
    void markStale(size_t record);
    // The records that may stand on `line`: for text across the page those whose baseline is
    // near it, else every record that shows something; in content order.
    std::vector<size_t> recordsNearLine(const TextLine& line) const;
    // Notes where the record's line stands, if it runs across the page.
    void noteBaseline(size_t record) const;
    // Lets go of the pieces of added content whose text is all removed: their bytes as they
    // stand are final, and nothing of them is read again.
    void releaseSpentPieces();

    PageEditor& page_;
    FontCache& fonts_;
    TextMoves& moves_;
    PageContent content_;
    // The pieces of content drawing added to the page, each a scope of its own, and the
    // piece each stands for.
    std::vector<std::unique_ptr<ContentScope>> addedScopes_;
    std::map<const ContentScope*, size_t> addedPiece_;
    size_t piecesSeen_ = 0;
    // Per piece of added content: how many of its records still show something.
    std::map<const ContentScope*, size_t> showingRecords_;
    std::set<const ContentScope*> spentPieces_;

    std::vector<TextShow> shows_;
    std::vector<size_t> recordOfShow_;
    std::vector<std::vector<size_t>> runs_;
    std::vector<std::string> texts_;
    RecordSet withText_;  // records that show something
    // The records whose text runs across the page, by the height of their baseline (moves along
    // a line keep it), made on first use; and the largest size among them.
    mutable std::optional<std::multimap<double, size_t>> baselines_;
    mutable double largestSize_ = 0;
    mutable RecordTextIndex textIndex_;
    // Every show of an operation (a form drawn twice shows its operations twice), and the
    // operations that show text in each content, in order.
    OperationShows showsOfOperation_;
    std::map<const ContentScope*, std::vector<std::uint32_t>> showOperations_;
    // The writings of rewritten operations, which their shows read their tokens from.
    std::map<OperationKey, std::unique_ptr<ParsedContent>> writings_;

    std::unique_ptr<PageGlyphs> glyphs_;
    // Records to lay out anew before glyphs() answers, each once.
    std::vector<size_t> staleGlyphs_;
    std::vector<bool> isStale_;
    std::map<OperationKey, std::string> rewrittenShows_;
    std::map<OperationKey, double> lineShifts_;
    // Upright, per appearance scope: where its rewritten text reaches.
    // In the order first reached, so that the widened boxes are written in the same order on
    // every run (an order of pointers would change the output's bytes from run to run).
    std::vector<std::pair<ContentScope*, QPDFObjectHandle::Rectangle>> appearanceReach_;
};

}  // namespace relettra::pdf
