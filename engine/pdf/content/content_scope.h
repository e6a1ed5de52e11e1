#pragma once

#include <functional>
#include <map>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "pdf/content/content_lexer.h"

namespace relettra::pdf {

// One content stream in its place: a page's content (all its streams taken as one), or a form
// XObject that the page draws. Edits are collected per operation and written by PageContent.
struct ContentScope {
    QPDFObjectHandle owner;      // the page object, or the form's stream
    QPDFObjectHandle resources;  // the resources its operators name
    std::unique_ptr<ParsedContent> content;
    ContentScope* parent = nullptr;  // the scope that draws this form
    std::string nameInParent;        // the form's name in the parent's /XObject resources
    // New bytes for whole operations, by operation index.
    std::map<std::uint32_t, std::string> edits;

    bool isForm() const { return parent != nullptr; }
    // The scope's content with every edit applied.
    std::string editedBytes() const;
};

// All content scopes of one page: the page's own content and, parsed once when first drawn,
// the forms it draws. Writing edits never touches other pages: a form that holds an edit is
// copied for this page, and the page's resources are made its own before they are changed.
class PageContent {
  public:
    explicit PageContent(QPDFObjectHandle page);

    ContentScope& pageScope() { return *scopes_.front(); }
    // The scope of the form named `name` in `parent`'s resources; parsed on first use.
    ContentScope* formScope(ContentScope& parent, const std::string& name, QPDFObjectHandle form);

    bool hasEdits() const;
    // Writes every edited scope into the document. `isShared` tells whether a content stream
    // is drawn by more than one page (then the page gets a new stream instead of changing it).
    void commit(QPDF& pdf, const std::function<bool(QPDFObjGen)>& isShared);

  private:
    std::vector<std::unique_ptr<ContentScope>> scopes_;
    std::map<std::pair<ContentScope*, std::string>, ContentScope*> forms_;
};

}  // namespace relettra::pdf
