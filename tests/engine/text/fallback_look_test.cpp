// The fallback on pages of real producers: written in the look of the text it replaces (serif,
// sans-serif or monospace, bold), on its baseline at its size, never over the next word; and
// Hangul that the page's subset lacks, written in the Hangul font of the chain. Read back with
// pdftotext -bbox and pdffonts.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "text_test_support.h"

namespace {

using testsupport::FontRow;
using testsupport::Word;
using namespace texttest;

struct LookCase {
    const char* name;
    const char* file;
    std::string word;  // the old word, found by its text and the left of its box
    double left;
    int size;
    std::string replace;
    std::string next;         // the word that follows on the line
    const char* fontPattern;  // the font added, as pdffonts names it
    const char* writtenIn;    // the end of the rule's result line
};

std::ostream& operator<<(std::ostream& out, const LookCase& c) {
    return out << c.name;
}

const LookCase kCases[] = {
    // enscript's Courier subset has no capitals of "THE": the typewriter line keeps its look.
    {"CourierLineEnscript", "enscript_listing.pdf", "the", 113, 10, "THE", "debris",
     R"([A-Z]{6}\+LiberationMono)", "written in Liberation Mono"},
    // LibreOffice's Liberation Serif body text (Times metrics) and bold sans-serif heading.
    {"SerifBodyLibreOffice", "libreoffice_letter.pdf", "delivery", 216.772, 12,
     "\xD0\xB4\xD0\xBE\xD1\x81\xD1\x82\xD0\xB0\xD0\xB2\xD0\xBA\xD0\xB0", "to",
     R"([A-Z]{6}\+LiberationSerif)", "written in Liberation Serif"},
    {"BoldHeadingLibreOffice", "libreoffice_letter.pdf", "Invoice", 72.1, 20,
     "\xD0\xA1\xD1\x87\xD1\x91\xD1\x82", "from", R"([A-Z]{6}\+LiberationSans-Bold)",
     "written in Liberation Sans Bold"},
    // 친구들: syllables the page's NanumGothic subset lacks.
    {"HangulLibreOffice", "libreoffice_korean.pdf", "\xEC\x97\xAC\xEB\x9F\xAC\xEB\xB6\x84,",
     56.8 + 59.748, 12, "\xEC\xB9\x9C\xEA\xB5\xAC\xEB\x93\xA4", "\xEB\x8B\xA4\xEC\x9D\x8C",
     R"([A-Z]{6}\+NanumGothic)", "written in NanumGothic"},
};

std::optional<Word> wordAt(const std::vector<Word>& words, const std::string& text, double left) {
    for (const Word& word : words) {
        if (word.page == 1 && word.text == text && std::fabs(word.xMin - left) < 1.0) return word;
    }
    return std::nullopt;
}

// The first word of page 1 with that text that starts right of `x` on the line of `line`.
std::optional<Word> nextOnLine(const std::vector<Word>& words, const std::string& text,
                               const Word& line) {
    for (const Word& word : words) {
        if (word.page == 1 && word.text == text && word.xMin > line.xMax &&
            std::fabs(word.yMax - line.yMax) < 1.0)
            return word;
    }
    return std::nullopt;
}

// The first word of page 1 whose text starts with `text`.
std::optional<Word> wordStarting(const std::vector<Word>& words, const std::string& text) {
    for (const Word& word : words) {
        if (word.page == 1 && word.text.rfind(text, 0) == 0) return word;
    }
    return std::nullopt;
}

class FallbackLook : public ::testing::TestWithParam<LookCase> {};

TEST_P(FallbackLook, writtenInTheOldTextsLookOnItsBaselineAndClearOfTheNextWord) {
    const LookCase& c = GetParam();
    const auto input = testsupport::kitDir() / c.file;
    const std::vector<Word> before = testsupport::extractWords(input);
    const std::optional<Word> old = wordAt(before, c.word, c.left);
    ASSERT_TRUE(old.has_value()) << pageWords(before, 1);
    const std::optional<Word> nextBefore = nextOnLine(before, c.next, *old);
    // The find text is the word without its punctuation.
    std::string find = c.word;
    if (find.back() == ',') find.pop_back();
    testsupport::TempDir dir;
    EngineRun run = runTextRules(dir, input, {ruleOverWord(*old, c.size, find, c.replace)});
    const std::vector<std::string> results = run.ruleResults();
    ASSERT_EQ(results.size(), 1u) << run.result.output;
    EXPECT_EQ(results[0].find("fallback font: "), 0u) << results[0];
    EXPECT_EQ(results[0].substr(results[0].size() - std::string(c.writtenIn).size()), c.writtenIn)
        << results[0];

    const std::vector<FontRow> added =
        addedFonts(testsupport::listFonts(input), testsupport::listFonts(run.output));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_TRUE(std::regex_match(added[0].name, std::regex(c.fontPattern))) << added[0].name;
    EXPECT_TRUE(added[0].embedded && added[0].subset && added[0].toUnicode);

    const std::vector<Word> after = testsupport::extractWords(run.output);
    const std::optional<Word> written = wordStarting(after, c.replace);
    ASSERT_TRUE(written.has_value()) << pageWords(after, 1);
    EXPECT_FALSE(wordAt(after, c.word, c.left).has_value()) << "the old word stays";
    // From the old word's left, on its line: its box's bottom (the baseline and the font's
    // descent) within a sixth of the size, its thickness that of the size (fonts' boxes are
    // 0.85 to 1.35 em thick).
    EXPECT_NEAR(written->xMin, old->xMin, 0.5);
    EXPECT_NEAR(written->yMax, old->yMax, c.size / 6.0);
    const double thickness = written->yMax - written->yMin;
    EXPECT_GT(thickness, 0.85 * c.size);
    EXPECT_LT(thickness, 1.35 * c.size);
    // The next word stays where it stood, and the new text ends before it.
    const std::optional<Word> nextAfter =
        nextBefore ? wordAt(after, c.next, nextBefore->xMin) : std::nullopt;
    ASSERT_TRUE(nextBefore && nextAfter) << pageWords(after, 1);
    EXPECT_LE(written->xMin + (written->xMax - written->xMin), nextAfter->xMin + 0.01);
    if (c.replace.size() <= c.word.size() && std::string(c.file) == "enscript_listing.pdf") {
        // Monospaced at the old size: three letters of 0.6 em, as wide as "the" was.
        EXPECT_NEAR(written->xMax - written->xMin, old->xMax - old->xMin, 0.1);
    }
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

INSTANTIATE_TEST_SUITE_P(RealProducers, FallbackLook, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<LookCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
