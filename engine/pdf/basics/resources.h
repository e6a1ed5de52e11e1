#pragma once

#include <qpdf/QPDFObjectHandle.hh>
#include <string>

namespace relettra::pdf {

// The sub-dictionary `category` ("/Font", "/XObject", ...) of the resources of `owner` (a page
// object or a form stream), made the owner's own before it is changed: inherited resources,
// resources shared with other pages and those still shared with an original form are copied.
QPDFObjectHandle ownResourceCategory(QPDFObjectHandle owner, const std::string& category);

}  // namespace relettra::pdf
