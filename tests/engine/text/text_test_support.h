#pragma once

// Helpers of the text replacement tests: building rule lines from point positions, running the
// engine in "-tesome" mode, and reading its console and output back.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "test_support.h"

namespace texttest {

// The top of a 12 point line on the 792 point page, from its baseline.
int topOf(int baseline);

// The smallest pixel value (150 dpi) that the engine turns back into exactly `points`
// (it multiplies by 72/150 and truncates).
int pointsToPixels(int points);

// One rule, positions in points of the displayed page (top-down).
struct PointRule {
    int page = 1;
    int left = 0, top = 0, width = 0, height = 0;
    std::string find, replace;
};
// The rule as a "rules.txt" line in pixels, ending with "\r\n".
std::string ruleLine(const PointRule& rule);

// A rule whose rectangle covers a word box: left and top rounded down, right and bottom up.
// `top` is baseline - size estimated from the box (the descent is about a fifth of the size),
// `size` becomes the height.
PointRule ruleOverWord(const testsupport::Word& word, int size, const std::string& find,
                       const std::string& replace);

// The rule a page helper makes for a word box: across the page, the size about the box's height
// / 1.1 and the top 0.08 em above the box; running up or down, the box's own extent and a width
// about the size.
PointRule ruleForBox(const testsupport::Word& w, const std::string& find,
                     const std::string& replace);

struct EngineRun {
    testsupport::CommandResult result;
    std::filesystem::path output;
    // How many "strtext is :" lines the console shows, and the change results in order.
    int matchedRecords() const;
    std::vector<int> changeResults() const;
    // The "Rule result: …" lines, in order, without the prefix.
    std::vector<std::string> ruleResults() const;
};

// Runs `marqel input -tesome out.pdf rules.txt` with the rules inside `dir`.
EngineRun runTextRules(const testsupport::TempDir& dir, const std::filesystem::path& input,
                       const std::vector<PointRule>& rules);
EngineRun runTextRuleFile(const testsupport::TempDir& dir, const std::filesystem::path& input,
                          const std::string& ruleFileContent);

// Words of one page with the given text.
std::vector<testsupport::Word> wordsNamed(const std::vector<testsupport::Word>& words, int page,
                                          const std::string& text);
// The single word of that text on the page; nullopt when there is none or more than one.
std::optional<testsupport::Word> uniqueWord(const std::vector<testsupport::Word>& words, int page,
                                            const std::string& text);
// The text of all words of a page, joined by single spaces (reading order of pdftotext).
std::string pageWords(const std::vector<testsupport::Word>& words, int page);

// A font row as one comparable string.
std::string fontKey(const testsupport::FontRow& row);
// Rows of `after` that `before` does not hold (as a multiset).
std::vector<testsupport::FontRow> addedFonts(const std::vector<testsupport::FontRow>& before,
                                             const std::vector<testsupport::FontRow>& after);
// Whether a row is the fallback font as the overwrite writes it: a subset of Liberation Sans,
// Serif or Mono in one of their styles, embedded, with ToUnicode.
bool isFallbackFontRow(const testsupport::FontRow& row);

// The page content streams of a PDF, uncompressed, as qpdf shows them (all objects, in QDF).
std::string uncompressedObjects(const std::filesystem::path& pdf);

// Writes a one-page PDF (612 x 792) whose content is `content`, with Helvetica as /F1 in
// `encoding` (a name or an encoding dictionary) and Helvetica-Bold as /F2, and checks it with qpdf.
// Cross-reference offsets are computed here.
void writeHelveticaPdf(const std::filesystem::path& file, const std::string& content,
                       const std::string& encoding = "/WinAnsiEncoding");

}  // namespace texttest
