#pragma once

#include <qpdf/QPDF.hh>
#include <vector>

#include "pdf/content/content_scope.h"
#include "pdf/content/text_interpreter.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/page_editor.h"

namespace relettra::pdf {

// The text-showing operators of the open page, read once, in content order, with their
// positions in upright page coordinates; replacements are collected and written by flush().
class PageTextSession {
  public:
    PageTextSession(PageEditor& page, FontCache& fonts);

    size_t size() const { return shows_.size(); }
    const TextShow& show(size_t index) const { return shows_[index]; }

    // Gives the record the text `newText` in its own font; false (and nothing changes) when
    // the font cannot show it.
    bool replace(size_t index, const std::string& newText);
    // Writes the replacements into the page. Returns true when something was written.
    bool flush(QPDF& pdf, const std::function<bool(QPDFObjGen)>& isSharedStream);

  private:
    PageEditor& page_;
    PageContent content_;
    std::vector<TextShow> shows_;
};

// Removes from the open page every glyph whose box centre lies inside the upright rectangle
// [x0, x1] × [y0, y1]; every other glyph stays where it was. Returns the number removed.
int removeGlyphsInArea(PageEditor& page, FontCache& fonts, QPDF& pdf,
                       const std::function<bool(QPDFObjGen)>& isSharedStream, double x0, double y0,
                       double x1, double y1);

}  // namespace relettra::pdf
