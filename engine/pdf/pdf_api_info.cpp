// The facade functions that read a document's information, declared in pdf_api.h.
#include "pdf/facade_guard.h"
#include "pdf/pdf_api.h"

namespace {

// Reading a document's information passes no warnings on.
template <typename Result, typename Body>
Result readGuarded(PDF* pdf, Result onError, Body body) noexcept {
    return relettra::pdf::guarded(pdf, onError, body, false);
}

}  // namespace

int pdfSetReadOnly(PDF* pdf, int readOnly) {
    return readGuarded(pdf, 0, [&](PDF& d) {
        d.setReadOnly(readOnly != 0);
        return 1;
    });
}

double pdfGetPageWidth(PDF* pdf) {
    return readGuarded(pdf, 0.0, [&](PDF& d) {
        return d.openPage() != nullptr ? d.openPage()->geometry().displayedWidth() : 0.0;
    });
}

int pdfGetDocInfo(PDF* pdf, const char* key, std::string* value) {
    return readGuarded(pdf, -1, [&](PDF& d) {
        if (key == nullptr || value == nullptr) {
            return -1;
        }
        value->clear();
        QPDFObjectHandle info = d.qpdf().getTrailer().getKey("/Info");
        QPDFObjectHandle entry = info.isDictionary() ? info.getKey(key) : QPDFObjectHandle();
        if (!entry.isString()) {
            return 0;
        }
        *value = entry.getUTF8Value();
        return 1;
    });
}

int pdfGetPDFVersion(PDF* pdf, std::string* version) {
    return readGuarded(pdf, 0, [&](PDF& d) {
        if (version == nullptr) {
            return 0;
        }
        *version = d.qpdf().getPDFVersion();
        return version->empty() ? 0 : 1;
    });
}

int pdfIsEncrypted(PDF* pdf) {
    return readGuarded(pdf, -1, [&](PDF& d) { return d.qpdf().isEncrypted() ? 1 : 0; });
}
