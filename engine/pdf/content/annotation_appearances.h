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

// Viewers clip an appearance to its /BBox: grows the appearance `stream`'s /BBox to hold `reach`
// (upright page coordinates), and the `annotation`'s /Rect alike, so that the appearance keeps
// its scale and place. `formToUpright` takes the appearance's space to upright coordinates,
// `uprightToUser` those to the page's user space.
void widenAppearance(QPDFObjectHandle stream, QPDFObjectHandle annotation,
                     const QPDFMatrix& formToUpright, const QPDFMatrix& uprightToUser,
                     const QPDFObjectHandle::Rectangle& reach);

}  // namespace relettra::pdf
