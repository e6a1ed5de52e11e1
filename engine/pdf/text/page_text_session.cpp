#include "pdf/text/page_text_session.h"

#include "pdf/text/glyph_layout.h"
#include "pdf/text/text_rewriter.h"

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
}

bool PageTextSession::replace(size_t index, const std::string& newText) {
    if (index >= shows_.size()) {
        return false;
    }
    const TextShow& show = shows_[index];
    std::optional<std::string> bytes = rewriteShowText(show, newText);
    if (!bytes) {
        return false;
    }
    show.scope->edits[show.operation] = std::move(*bytes);
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
