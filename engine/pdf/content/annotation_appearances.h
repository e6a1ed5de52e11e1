#pragma once

#include <qpdf/QPDFMatrix.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

namespace relettra::pdf {

// The normal appearance of an annotation as a viewer draws it on its page.
struct ShownAppearance {
    QPDFObjectHandle annotation;
    QPDFObjectHandle stream;  // the appearance's form stream
    std::string state;        // its key in /N when /N holds one appearance per state, else ""
    QPDFMatrix placement;     // the form's space to the page's user space
};

// The appearances of the page's annotations whose text counts as the page's: every annotation
// that a viewer shows (not hidden, not marked "no view") with a normal appearance, except form
// fields (/Widget), whose values belong to the form. The form's /BBox, turned by its /Matrix,
// is fitted into the annotation's /Rect.
std::vector<ShownAppearance> shownAppearances(QPDFObjectHandle page);

}  // namespace relettra::pdf
