#include "runners/image_rules_runner.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli/load_whole_file.h"
#include "pdf/pdf_api.h"
#include "rules/rule_file_reader.h"
#include "rules/rule_lines.h"
#include "runners/exit_codes.h"
#include "runners/library_error_report.h"
#include "runners/rule_result.h"

int InsertImagesByRules(const char* inputPath, const char* outputPath, const char* ruleFilePath) {
    const std::string input = inputPath != nullptr ? inputPath : "";
    if (input.empty()) {
        return kImageInputPathEmpty;
    }
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::u8path(input), ec)) {
        return kImageInputMissingOrImageUnreadable;
    }
    PdfHandle document = pdfNewHandle();
    PDF* pdf = document.get();
    if (pdf == nullptr) {
        return kImageInputMissingOrImageUnreadable;
    }
    pdfSetOnErrorProc(pdf, nullptr, ReportLibraryError);
    pdfSetImportFlags(pdf, 0x8FFFFFFE);
    pdfSetUseTransparency(pdf, 0);
    pdfCreateNewPDFA(pdf, outputPath);
    pdfSetPageCoords(pdf, 1);
    if (pdfOpenImportFileA(pdf, input.c_str(), 0, nullptr) != 0) {
        return kImageInputNotOpened;
    }
    if (pdfImportPDFFile(pdf, 1, 1.0, 1.0) < 0) {
        return kImageInputNotOpened;
    }
    pdfCloseImportFile(pdf);
    std::printf("come here\n");

    RuleFileReader rules(ruleFilePath);
    if (!rules.isOpen()) {
        std::printf("Cannot open the rule file: %s\n", ruleFilePath);
        return kImageRuleFileUnreadable;
    }
    std::string line;
    while (rules.next(line)) {
        rules.echo(line);
        ImageRuleLine rule = ParseImageRuleLine(line);
        const double left = PixelsToPoints(rule.left);
        const double top = PixelsToPoints(rule.top);
        const double width = PixelsToPoints(rule.width);
        const double height = PixelsToPoints(rule.height);
        const int pageCount = pdfGetPageCount(pdf);
        std::printf("Page count is:%d\n", pageCount);
        std::optional<std::string> image = LoadWholeFile(rule.imagePath);
        if (!image) {
            return kImageInputMissingOrImageUnreadable;
        }
        RuleResult result;
        if (rule.page >= 1 && rule.page <= pageCount && pdfEditPage(pdf, rule.page) == 1) {
            std::printf("Start insert image\n");
            if (pdfInsertImageFromBuffer(pdf, left, top, width, height, image->data(),
                                         image->size(), 1) == 1) {
                result.outcome = RuleOutcome::ImagePlaced;
            } else {
                result.reason = "the image cannot be drawn";
            }
            pdfEndPage(pdf);
        } else {
            result.reason = MissingPageReason(rule.page);
        }
        std::printf("%s\n", RuleResultLine(result).c_str());
    }
    return pdfCloseFile(pdf) != 0 ? kImageRulesDone : kImageOutputNotWritten;
}
