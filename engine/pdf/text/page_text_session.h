#pragma once

#include <qpdf/QPDF.hh>
#include <vector>

#include "pdf/content/content_scope.h"
#include "pdf/content/text_interpreter.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/page_editor.h"
#include "pdf/text/spaced_text.h"
#include "pdf/text/text_diff.h"
#include "pdf/text/text_runs.h"

namespace relettra::pdf {

// The text records of the open page, read once, in content order: each record is a run of
// text-showing operators that continue one another (see continuesShow), with its positions in
// upright page coordinates. Replacements are collected and written by flush().
class PageTextSession {
  public:
    PageTextSession(PageEditor& page, FontCache& fonts);

    size_t size() const { return runs_.size(); }
    // The record's first operator: where it starts, its font and text state.
    const TextShow& show(size_t index) const { return shows_[runs_[index].front()]; }
    // The record's text as spaceText reads each of its operators, UTF-8.
    std::string text(size_t index) const;
    // The record's length along its baseline, in the text space of its first operator.
    double advance(size_t index) const { return runAdvance(shows_, runs_[index]); }

    // Gives the record the text `newText` in its own font; false (and nothing changes) when
    // the font cannot show it.
    bool replace(size_t index, const std::string& newText);
    // Writes the replacements into the page. Returns true when something was written.
    bool flush(QPDF& pdf, const std::function<bool(QPDFObjGen)>& isSharedStream);

  private:
    // How far the text after a change that reaches from operator `first` to operator `last`
    // of a run must move to follow the change's new text.
    double followingShift(const std::vector<size_t>& run, const std::vector<SpacedText>& parts,
                          const std::vector<size_t>& lengths, const TextHunk& hunk, size_t first,
                          size_t last) const;

    PageEditor& page_;
    PageContent content_;
    std::vector<TextShow> shows_;
    std::vector<std::vector<size_t>> runs_;
};

// Removes from the open page every glyph whose box centre lies inside the upright rectangle
// [x0, x1] × [y0, y1]; every other glyph stays where it was. Returns the number removed.
int removeGlyphsInArea(PageEditor& page, FontCache& fonts, QPDF& pdf,
                       const std::function<bool(QPDFObjGen)>& isSharedStream, double x0, double y0,
                       double x1, double y1);

}  // namespace relettra::pdf
