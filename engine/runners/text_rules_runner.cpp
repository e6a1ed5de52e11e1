#include "runners/text_rules_runner.h"

#include <cstdio>

#include "marqel/exit_codes.h"
#include "rules/rule_file_reader.h"
#include "rules/rule_lines.h"
#include "runners/input_document.h"
#include "runners/library_error_report.h"

using namespace marqel;

std::unique_ptr<EditContext> OpenEditContext(const std::string& inputPath,
                                             const std::string& outputPath) {
    if (inputPath.empty() || outputPath.empty()) {
        return nullptr;
    }
    PdfHandle document = OpenInputDocument(inputPath, outputPath.c_str());
    if (!document) {
        return nullptr;
    }
    auto context = std::make_unique<EditContext>();
    context->inputPath = inputPath;
    context->outputPath = outputPath;
    context->document = std::move(document);
    return context;
}

int SaveEditContext(std::unique_ptr<EditContext>& context) {
    PDF* pdf = context ? context->document.get() : nullptr;
    if (pdf == nullptr || pdfHaveOpenDoc(pdf) == 0) {
        return 0;
    }
    if (pdfOpenOutputFileA(pdf, context->outputPath.c_str()) == 0 || pdfCloseFile(pdf) == 0) {
        return 0;
    }
    context.reset();
    return 1;
}

int ReplaceTextByRules(const char* inputPath, const char* outputPath, const char* ruleFilePath) {
    return RunGuarded([&] {
        std::unique_ptr<EditContext> context = OpenEditContext(
            inputPath != nullptr ? inputPath : "", outputPath != nullptr ? outputPath : "");
        if (!context) {
            return kTextInputNotOpened;
        }
        const std::string rulePath = ruleFilePath != nullptr ? ruleFilePath : "";
        RuleFileReader rules(rulePath);
        if (!rules.isOpen()) {
            PrintMessage("Cannot open the rule file %s: %s\n", rulePath.c_str(),
                         rules.problem().c_str());
            return kTextRuleFileUnreadable;
        }
        // A page stays open while rules change it, its text read once: the rules after the first
        // see what the earlier ones did without reading the page again. It is written when a
        // rule turns to another page, and at the end.
        auto writeOpenPage = [pdf = context->document.get()]() {
            const int open = pdfGetOpenPage(pdf);
            if (open == 0 || pdfEndPage(pdf) == 1) return true;
            std::printf("Page %d could not be written: nothing was written.\n", open);
            return false;
        };
        std::string line;
        while (rules.next(line)) {
            rules.echo(line);
            TextRuleLine rule = ParseTextRuleLine(line);
            const int open = pdfGetOpenPage(context->document.get());
            if (open != 0 && open != rule.page && !writeOpenPage()) {
                return kEngineFailure;
            }
            RuleResult result;
            int changed =
                ApplyTextRule(*context, rule.page, PixelsToPoints(rule.left),
                              PixelsToPoints(rule.top), PixelsToPoints(rule.width),
                              PixelsToPoints(rule.height), rule.find, rule.replace, &result);
            std::printf("change success? %d\n", changed == 1 ? 1 : 0);
            std::printf("%s\n", RuleResultLine(result).c_str());
            if (changed < 0) {
                PrintMessage("The document could not be changed safely: nothing was written.\n");
                return kEngineFailure;
            }
        }
        if (rules.failed()) {
            PrintMessage("Cannot read the rule file %s in full: nothing was written.\n",
                         rulePath.c_str());
            return kTextRuleFileUnreadable;
        }
        if (!writeOpenPage()) {
            return kEngineFailure;
        }
        return SaveEditContext(context) == 1 ? kTextRulesDone : kTextOutputNotWritten;
    });
}
