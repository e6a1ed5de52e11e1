#pragma once

#include <functional>
#include <map>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFMatrix.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "pdf/content/content_lexer.h"

namespace relettra::pdf {

// One content stream in its place: a page's content (all its streams taken as one), a form
// XObject that the page draws, or the appearance of an annotation that the page shows. Edits
// are collected per operation and written by PageContent.
struct ContentScope {
    QPDFObjectHandle owner;      // the page object, or the form's or appearance's stream
    QPDFObjectHandle resources;  // the resources its operators name
    std::unique_ptr<ParsedContent> content;
    ContentScope* parent = nullptr;  // the scope that draws this form
    std::string nameInParent;        // the form's name in the parent's /XObject resources
    // An annotation's appearance: the annotation, the appearance's state key in /N ("" when
    // /N is the stream itself), and the matrix from the appearance's space to the page's.
    QPDFObjectHandle annotation;
    std::string appearanceState;
    QPDFMatrix placement;
    // New bytes for whole operations, by operation index.
    std::map<std::uint32_t, std::string> edits;

    bool isForm() const { return parent != nullptr; }
    bool isAppearance() const { return annotation.isInitialized(); }
    // The scope's content with every edit applied.
    std::string editedBytes() const;
};

// All content scopes of one page: the page's own content, on request the appearances of the
// annotations it shows (see shownAppearances), and, parsed once when first drawn, the forms
// they draw. Writing edits never touches other pages: a form or an appearance that holds an edit
// is copied for this page (an appearance's annotation then shows the copy), and the page's
// resources are made its own before they are changed.
class PageContent {
  public:
    explicit PageContent(QPDFObjectHandle page, bool withAppearances = false);

    ContentScope& pageScope() { return *scopes_.front(); }
    // The scopes of the annotations' appearances, in the order of /Annots.
    const std::vector<ContentScope*>& appearanceScopes() const { return appearances_; }
    // The scope of the form named `name` in `parent`'s resources; parsed on first use.
    ContentScope* formScope(ContentScope& parent, const std::string& name, QPDFObjectHandle form);

    bool hasEdits() const;
    // Writes every edited scope into the document. `isShared` tells whether a content stream
    // is drawn by more than one page (then the page gets a new stream instead of changing it).
    // With `readAgain` the written scopes are read anew for later readers of this object;
    // without it the object is spent (a reader that is done with the page spares the work).
    void commit(QPDF& pdf, const std::function<bool(QPDFObjGen)>& isShared, bool readAgain = true);

  private:
    std::vector<std::unique_ptr<ContentScope>> scopes_;
    std::vector<ContentScope*> appearances_;
    std::map<std::pair<ContentScope*, std::string>, ContentScope*> forms_;
};

}  // namespace relettra::pdf
