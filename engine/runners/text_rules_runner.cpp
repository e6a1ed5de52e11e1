#include "runners/text_rules_runner.h"

#include <cstdio>

#include "rules/rule_file_reader.h"
#include "rules/rule_lines.h"
#include "runners/exit_codes.h"
#include "runners/library_error_report.h"

std::unique_ptr<EditContext> OpenEditContext(const std::string& inputPath,
                                             const std::string& outputPath) {
    if (inputPath.empty() || outputPath.empty()) {
        return nullptr;
    }
    auto context = std::make_unique<EditContext>();
    context->inputPath = inputPath;
    context->outputPath = outputPath;
    context->document = pdfNewHandle();
    PDF* pdf = context->document.get();
    if (pdf == nullptr) {
        return nullptr;
    }
    pdfSetOnErrorProc(pdf, nullptr, ReportLibraryError);
    pdfSetPageCoords(pdf, 1);
    pdfCreateNewPDFA(pdf, nullptr);
    pdfSetImportFlags(pdf, 0x8FFFFFFE);
    if (pdfOpenImportFileA(pdf, inputPath.c_str(), 0, nullptr) < 0) {
        return nullptr;
    }
    if (pdfImportPDFFile(pdf, 1, 1.0, 1.0) < 0) {
        return nullptr;
    }
    pdfCloseImportFile(pdf);
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
    std::unique_ptr<EditContext> context = OpenEditContext(inputPath, outputPath);
    if (!context) {
        return kTextInputNotOpened;
    }
    RuleFileReader rules(ruleFilePath);
    if (!rules.isOpen()) {
        std::printf("Cannot open the rule file: %s\n", ruleFilePath);
        return kTextRuleFileUnreadable;
    }
    std::string line;
    while (rules.next(line)) {
        rules.echo(line);
        TextRuleLine rule = ParseTextRuleLine(line);
        RuleResult result;
        int changed = ApplyTextRule(*context, rule.page, PixelsToPoints(rule.left),
                                    PixelsToPoints(rule.top), PixelsToPoints(rule.width),
                                    PixelsToPoints(rule.height), rule.find, rule.replace, &result);
        std::printf("change success? %d\n", changed);
        std::printf("%s\n", RuleResultLine(result).c_str());
    }
    return SaveEditContext(context) == 1 ? kTextRulesDone : kTextOutputNotWritten;
}
