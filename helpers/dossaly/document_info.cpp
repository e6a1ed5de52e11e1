#include "document_info.h"

#include <cmath>
#include <locale>
#include <sstream>

#include "pdf/pdf_api.h"

namespace {

// Keeps the first error message of the PDF layer as the reason for a failure.
int rememberError(const void* userData, int, const char* message, int type) {
    auto* reason = static_cast<std::string*>(const_cast<void*>(userData));
    if ((type & relettra::pdf::kErrWarning) == 0 && reason->empty() && message != nullptr) {
        *reason = message;
    }
    return 0;
}

std::string infoText(PDF* pdf, const char* key) {
    std::string text;
    if (pdfGetDocInfo(pdf, key, &text) != 1) {
        return {};
    }
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
    pdfSetReadOnly(pdf.get(), 1);
    pdfCreateNewPDFA(pdf.get(), nullptr);
    if (pdfOpenImportFileA(pdf.get(), path.c_str(), 0, nullptr) < 0 ||
        pdfImportPDFFile(pdf.get(), 1, 1.0, 1.0) < 0) {
        reason = firstError.empty() ? "not a readable PDF file" : firstError;
        return std::nullopt;
    }
    DocumentInfo info;
    info.pageCount = pdfGetPageCount(pdf.get());
    info.title = infoText(pdf.get(), "/Title");
    info.author = infoText(pdf.get(), "/Author");
    info.subject = infoText(pdf.get(), "/Subject");
    info.creator = infoText(pdf.get(), "/Creator");
    info.producer = infoText(pdf.get(), "/Producer");
    pdfGetPDFVersion(pdf.get(), &info.pdfVersion);
    info.encrypted = pdfIsEncrypted(pdf.get()) == 1;
    if (pdfEditPage(pdf.get(), 1) == 1) {
        info.firstPageWidth = pdfGetPageWidth(pdf.get());
        info.firstPageHeight = pdfGetPageHeight(pdf.get());
        pdfEndPage(pdf.get());
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
