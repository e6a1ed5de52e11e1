#include "pdf/error_report.h"

#include <qpdf/QPDFExc.hh>

namespace relettra::pdf {

void ErrorSink::report(int type, int code, const std::string& message) const {
    if (proc_ != nullptr) {
        proc_(userData_, code, message.c_str(), type);
    }
}

void ErrorSink::report(const QPDFExc& e, int typeOverride) const {
    report(typeOverride != 0 ? typeOverride : errorTypeOf(e), static_cast<int>(e.getErrorCode()),
           e.what());
}

int errorTypeOf(const QPDFExc& e) {
    switch (e.getErrorCode()) {
        case qpdf_e_system:
        case qpdf_e_password:
            return kErrFile;
        case qpdf_e_damaged_pdf:
        case qpdf_e_json:
            return kErrSyntax;
        case qpdf_e_unsupported:
        case qpdf_e_pages:
        case qpdf_e_object:
            return kErrValue;
        default:
            return kErrFatal;
    }
}

}  // namespace relettra::pdf
