#pragma once

#include <memory>
#include <optional>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <string>
#include <utility>
#include <vector>

#include "pdf/content/content_scope.h"
#include "pdf/page_geometry.h"

namespace relettra::pdf {

// The page that is open for editing: its geometry, and the content and resources that drawing
// operations add to it. Added content is kept apart from the page's own content: the page's
// content runs inside q … Q, so nothing it leaves in the graphics or text state reaches ours.
class PageEditor {
  public:
    PageEditor(QPDFObjectHandle page, int pageNumber);

    int pageNumber() const { return pageNumber_; }
    QPDFPageObjectHelper& page() { return page_; }
    const PageGeometry& geometry() const { return geometry_; }

    // Puts `object` into the page's resources under `category` ("/Font", "/XObject",
    // "/ExtGState") and returns its name (with the slash). The same object gets the same name.
    // A resource dictionary shared with other pages is copied for this page first.
    std::string addResource(const std::string& category, QPDFObjectHandle object,
                            const std::string& prefix);

    // The page's content as it stands, parsed once for the readers of the open page.
    PageContent& parsedContent();
    // Called after the page's content was changed, so the next reader parses it anew.
    void contentChanged() { parsed_.reset(); }

    // Content in upright coordinates (points, origin at the displayed lower-left corner). Each
    // call on the page adds one piece, which readers of the page's text take in and may edit
    // before the page is written.
    void appendUprightContent(const std::string& content);
    std::size_t addedPieceCount() const { return addedPieces_.size(); }
    const std::string& addedPiece(std::size_t index) const { return addedPieces_[index]; }
    void replaceAddedPiece(std::size_t index, std::string content) {
        addedPieces_[index] = std::move(content);
    }
    // Where content just appended reaches, in upright coordinates: an annotation's appearance
    // that it goes into is widened to show all of it (viewers clip an appearance to its box).
    void noteReach(const QPDFObjectHandle::Rectangle& upright);

    // From now on drawing goes into an annotation's appearance instead of the page (its text
    // was cleared there and the new text belongs above the page, where the annotation shows):
    // `stream` is the appearance's form stream, already the page's own copy, and `formToUpright`
    // takes its space to upright page coordinates; `annotation` shows it. Until
    // finishAppearanceDrawing or commit.
    void drawIntoAppearance(QPDFObjectHandle stream, const QPDFMatrix& formToUpright,
                            QPDFObjectHandle annotation);
    // Writes what was drawn into an annotation's appearance into it (widened to show it all),
    // and draws on the page again from now on.
    void finishAppearanceDrawing();

    // Writes the added content into the page. `alreadyWrapped` says whether the page's own
    // content already runs inside q … Q from an earlier edit in this run; `saveState` is a
    // stream holding "q" that every page of the document may share. Returns true when the page
    // is wrapped afterwards.
    bool commit(QPDF& pdf, bool alreadyWrapped, QPDFObjectHandle saveState);

  private:
    QPDFPageObjectHelper page_;
    int pageNumber_;
    PageGeometry geometry_;
    std::vector<std::string> addedPieces_;
    QPDFObjectHandle appearance_;  // where drawing goes instead, when set
    QPDFMatrix uprightToAppearance_;
    QPDFMatrix appearanceToUpright_;
    QPDFObjectHandle annotation_;  // the annotation that shows appearance_
    std::optional<QPDFObjectHandle::Rectangle> appearanceReach_;  // upright, of what went there
    std::string addedToAppearance_;
    std::unique_ptr<PageContent> parsed_;
};

}  // namespace relettra::pdf
