#include "document_info.h"

#include <cmath>
#include <qpdf/QPDFObjectHandle.hh>
#include <sstream>

#include "pdf/pdf_api.h"
#include "pdf/pdf_document.h"

namespace {

// Keeps the first error message of the PDF layer as the reason for a failure.
int rememberError(const void* userData, int, const char* message, int type) {
    auto* reason = static_cast<std::string*>(const_cast<void*>(userData));
    if ((type & relettra::pdf::kErrWarning) == 0 && reason->empty() && message != nullptr) {
        *reason = message;
    }
    return 0;
}

std::string infoText(QPDFObjectHandle info, const char* key) {
    QPDFObjectHandle value = info.isDictionary() ? info.getKey(key) : QPDFObjectHandle();
    if (!value.isString()) {
        return {};
    }
    std::string text = value.getUTF8Value();
    // One value per line in the report.
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

std::string points(double value) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::round(value * 100.0) / 100.0;
    return out.str();
}

}  // namespace

std::optional<DocumentInfo> ReadDocumentInfo(const std::string& path, std::string& reason) {
    PdfHandle pdf = pdfNewHandle();
    if (!pdf) {
        reason = "out of memory";
        return std::nullopt;
    }
    std::string firstError;
    pdfSetOnErrorProc(pdf.get(), &firstError, rememberError);
    pdf->setReadOnly(true);
    pdfCreateNewPDFA(pdf.get(), nullptr);
    if (pdfOpenImportFileA(pdf.get(), path.c_str(), 0, nullptr) < 0 ||
        pdfImportPDFFile(pdf.get(), 1, 1.0, 1.0) < 0) {
        reason = firstError.empty() ? "not a readable PDF file" : firstError;
        return std::nullopt;
    }
    DocumentInfo info;
    try {
        QPDF& q = pdf->qpdf();
        info.pageCount = pdfGetPageCount(pdf.get());
        QPDFObjectHandle dict = q.getTrailer().getKey("/Info");
        info.title = infoText(dict, "/Title");
        info.author = infoText(dict, "/Author");
        info.subject = infoText(dict, "/Subject");
        info.creator = infoText(dict, "/Creator");
        info.producer = infoText(dict, "/Producer");
        info.pdfVersion = q.getPDFVersion();
        info.encrypted = q.isEncrypted();
        if (pdfEditPage(pdf.get(), 1) == 1) {
            const auto& geometry = pdf->openPage()->geometry();
            info.firstPageWidth = geometry.displayedWidth();
            info.firstPageHeight = geometry.displayedHeight();
            pdfEndPage(pdf.get());
        }
    } catch (std::exception const& e) {
        reason = e.what();
        return std::nullopt;
    }
    return info;
}

std::string FormatDocumentInfo(const DocumentInfo& info) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << "NumberOfPages: " << info.pageCount << "\n";
    auto line = [&out](const char* key, const std::string& value) {
        if (!value.empty()) {
            out << key << ": " << value << "\n";
        }
    };
    line("Title", info.title);
    line("Author", info.author);
    line("Subject", info.subject);
    line("Creator", info.creator);
    line("Producer", info.producer);
    line("PDFVersion", info.pdfVersion);
    out << "Encrypted: " << (info.encrypted ? "yes" : "no") << "\n";
    if (info.firstPageWidth > 0 && info.firstPageHeight > 0) {
        out << "PageSize: " << points(info.firstPageWidth) << " x " << points(info.firstPageHeight)
            << " pt\n";
    }
    return out.str();
}
