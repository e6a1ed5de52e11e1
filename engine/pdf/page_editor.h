#pragma once

#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <string>

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

    // Content in upright coordinates (points, origin at the displayed lower-left corner).
    void appendUprightContent(const std::string& content);

    // Writes the added content into the page. `alreadyWrapped` says whether the page's own
    // content already runs inside q … Q from an earlier edit in this run; returns true when the
    // page is wrapped afterwards.
    bool commit(QPDF& pdf, bool alreadyWrapped);

private:
    QPDFPageObjectHelper page_;
    int pageNumber_;
    PageGeometry geometry_;
    std::string added_;
};

// A Flate-compressed stream holding `data` (documents are written with stream data kept as it
// is, so new streams are compressed when they are made).
QPDFObjectHandle newCompressedStream(QPDF& pdf, const std::string& data);

}  // namespace relettra::pdf
