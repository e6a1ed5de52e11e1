#pragma once

// How every facade function runs its work: no exception leaves it.

#include <exception>
#include <new>
#include <qpdf/QPDFExc.hh>

#include "pdf/pdf_document.h"

namespace relettra::pdf {

// Runs `body` on the document; a QPDF error or any other exception goes to the error callback
// and gives `onError`. The document's pending warnings are passed on afterwards when
// `passWarnings` is set. Reporting itself may fail (out of memory): it is then left out.
template <typename Result, typename Body>
Result guarded(PdfDocument* pdf, Result onError, Body body, bool passWarnings = true) noexcept {
    if (pdf == nullptr) {
        return onError;
    }
    try {
        Result result = body(*pdf);
        if (passWarnings) pdf->flushWarnings();
        return result;
    } catch (QPDFExc const& e) {
        try {
            if (passWarnings) pdf->flushWarnings();
            pdf->errors().report(e);
        } catch (...) {
        }
    } catch (std::bad_alloc const&) {
        try {
            pdf->errors().report(kErrFatal, 0, "Out of memory.");
        } catch (...) {
        }
    } catch (std::exception const& e) {
        try {
            pdf->errors().report(kErrFatal, 0, e.what());
        } catch (...) {
        }
    } catch (...) {
        try {
            pdf->errors().report(kErrFatal, 0, "Unknown error.");
        } catch (...) {
        }
    }
    return onError;
}

}  // namespace relettra::pdf
