#pragma once

#include <memory>
#include <string>

#include "pdf/pdf_api.h"
#include "runners/rule_result.h"

// "-tesome": applies every text rule of a rule file, in file order, to the input and writes the
// output. Returns 1 when the rule file was worked through and the output written, 0 when the
// input could not be opened, 2 when the output could not be written, 3 when the rule file could
// not be read, -6 when the engine failed (no output then; codes in marqel/exit_codes.h).
int ReplaceTextByRules(const char* inputPath, const char* outputPath, const char* ruleFilePath);

// One run's document: opened from the input, written to the output.
struct EditContext {
    std::string inputPath;
    std::string outputPath;
    PdfHandle document{nullptr, pdfDeletePDF};
};

// Null when either path is empty or the input cannot be opened.
std::unique_ptr<EditContext> OpenEditContext(const std::string& inputPath,
                                             const std::string& outputPath);
// 1 when the document was written (the context is released), 0 otherwise.
int SaveEditContext(std::unique_ptr<EditContext>& context);

// 1 when the rule changed the page, 0 when not. The rule's text goes into the page's own font
// where it stands at the rule's place and that font can show it; otherwise the area is cleared
// and the text written in the fallback font. `result` (when given) says which, and why. -1 when
// the document was left half changed (out of memory, say): it must not be written. The rule's
// page stays open for the rules after it; pdfEndPage (or SaveEditContext) writes it.
int ApplyTextRule(EditContext& context, int page, int left, int top, int width, int height,
                  const std::string& find, const std::string& replace,
                  RuleResult* result = nullptr);
