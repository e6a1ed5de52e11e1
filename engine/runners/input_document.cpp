#include "runners/input_document.h"

#include "base/file_bytes.h"
#include "runners/library_error_report.h"

PdfHandle OpenInputDocument(const std::string& inputPath, const char* outputPath) {
    PdfHandle none(nullptr, pdfDeletePDF);
    const std::string problem = regularFileProblem(inputPath);
    if (!problem.empty()) {
        const std::string message = "Cannot open the input file " + inputPath + ": " + problem;
        ReportLibraryError(nullptr, 0, message.c_str(), relettra::pdf::kErrFile);
        return none;
    }
    PdfHandle pdf = pdfNewHandle();
    if (!pdf) {
        return none;
    }
    pdfSetOnErrorProc(pdf.get(), nullptr, ReportLibraryError);
    pdfSetPageCoords(pdf.get(), 1);
    pdfCreateNewPDFA(pdf.get(), outputPath);
    if (pdfOpenImportFileA(pdf.get(), inputPath.c_str(), 0, nullptr) != 0 ||
        pdfImportPDFFile(pdf.get(), 1, 1.0, 1.0) < 0) {
        return none;
    }
    pdfCloseImportFile(pdf.get());
    return pdf;
}
