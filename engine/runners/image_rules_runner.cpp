#include "runners/image_rules_runner.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "base/file_bytes.h"
#include "marqel/exit_codes.h"
#include "pdf/pdf_api.h"
#include "rules/rule_file_reader.h"
#include "rules/rule_lines.h"
#include "runners/image_file.h"
#include "runners/input_document.h"
#include "runners/library_error_report.h"
#include "runners/rule_result.h"

using namespace marqel;

namespace {

int insertImages(const std::string& input, const char* outputPath, const std::string& rulePath) {
    if (input.empty()) {
        return kImageInputPathEmpty;
    }
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::u8path(input), ec)) {
        PrintMessage("Cannot open the input file %s: no such file\n", input.c_str());
        return kImageInputMissingOrImageUnreadable;
    }
    PdfHandle document = OpenInputDocument(input, outputPath);
    PDF* pdf = document.get();
    if (pdf == nullptr) {
        return kImageInputNotOpened;
    }
    PrintMessage("come here\n");

    RuleFileReader rules(rulePath);
    if (!rules.isOpen()) {
        PrintMessage("Cannot open the rule file %s: %s\n", rulePath.c_str(),
                     rules.problem().c_str());
        return kImageRuleFileUnreadable;
    }
    // A page stays open while rules draw on it: each closing writes the page's added content
    // into it, so closing it after every rule would make a long rule file slow.
    int openPage = 0;
    std::string line;
    while (rules.next(line)) {
        rules.echo(line);
        ImageRuleLine rule = ParseImageRuleLine(line);
        const std::string values = ImageRuleValuesText(rule);
        std::fwrite(values.data(), 1, values.size(), stdout);
        const double left = PixelsToPoints(rule.left);
        const double top = PixelsToPoints(rule.top);
        const double width = PixelsToPoints(rule.width);
        const double height = PixelsToPoints(rule.height);
        const int pageCount = pdfGetPageCount(pdf);
        std::printf("Page count is:%d\n", pageCount);
        std::optional<std::string> image = LoadImageFile(rule.imagePath);
        if (!image) {
            return kImageInputMissingOrImageUnreadable;
        }
        RuleResult result;
        if (rule.page >= 1 && rule.page <= pageCount && rule.page != openPage) {
            // The page drawn on so far is written first: its images must not be lost unseen.
            if (openPage != 0 && pdfEndPage(pdf) != 1) {
                PrintMessage("Page %d could not be written: nothing was written.\n", openPage);
                return kEngineFailure;
            }
            openPage = pdfEditPage(pdf, rule.page) == 1 ? rule.page : 0;
        }
        if (rule.page >= 1 && rule.page == openPage) {
            std::printf("Start insert image\n");
            if (pdfInsertImageFromBuffer(pdf, left, top, width, height, image->data(),
                                         image->size(), 1) == 1) {
                result.outcome = RuleOutcome::ImagePlaced;
            } else {
                result.reason = "the image cannot be drawn";
            }
        } else {
            result.reason = MissingPageReason(rule.page);
        }
        std::printf("%s\n", RuleResultLine(result).c_str());
    }
    if (rules.failed()) {
        PrintMessage("Cannot read the rule file %s in full: nothing was written.\n",
                     rulePath.c_str());
        return kImageRuleFileUnreadable;
    }
    if (openPage != 0 && pdfEndPage(pdf) != 1) {
        PrintMessage("Page %d could not be written: nothing was written.\n", openPage);
        return kEngineFailure;
    }
    return pdfCloseFile(pdf) != 0 ? kImageRulesDone : kImageOutputNotWritten;
}

}  // namespace

int InsertImagesByRules(const char* inputPath, const char* outputPath, const char* ruleFilePath) {
    return RunGuarded([&] {
        return insertImages(inputPath != nullptr ? inputPath : "", outputPath,
                            ruleFilePath != nullptr ? ruleFilePath : "");
    });
}
