// One word per font kind of the test-PDF kit, replaced twice: once with letters the font holds
// (a true edit inside the page's own font) and once with letters it lacks (the fallback: white
// box, the old glyphs removed, the new text in the embedded fallback font). Outputs are read
// back with pdftotext, pdffonts and qpdf.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "text_test_support.h"

namespace {

using testsupport::FontRow;
using testsupport::Word;
using namespace texttest;

struct FontKindCase {
    const char* name;  // test name suffix
    const char* file;
    int page;
    int size;             // font size of the word's line
    std::string word;     // occurs once on the page
    std::string inFont;   // letters the font holds (a permutation of the word)
    std::string outside;  // letters the font lacks
};

std::ostream& operator<<(std::ostream& out, const FontKindCase& c) {
    return out << c.name;
}

const FontKindCase kCases[] = {
    {"Std14Helvetica", "std14_helvetica.pdf", 1, 12, "today", "toady",
     "\xD0\xBC\xD0\xB8\xD1\x80"},  // мир
    {"Std14Heading20pt", "std14_helvetica.pdf", 1, 20, "Heading", "Hedaing",
     "\xD0\xBC\xD0\xB8\xD1\x80"},
    {"Std14Times8pt", "multipage.pdf", 3, 8, "bong", "gnob", "\xD0\xBC\xD0\xB8\xD1\x80"},
    {"Std14Differences", "differences.pdf", 1, 12, "Zebra", "Zarbe", "\xD0\xBC\xD0\xB8\xD1\x80"},
    {"TrueTypeWinAnsi", "truetype_winansi.pdf", 1, 12, "report", "porter",
     "\xD0\xBC\xD0\xB8\xD1\x80"},
    {"TrueTypeDifferences", "differences.pdf", 1, 12, "World", "Wrold", "\xD0\xBC\xD0\xB8\xD1\x80"},
    {"TrueTypeSubsetWinAnsi", "cairo_text.pdf", 1, 12, "total", "lotta", "Zyx"},
    // мир -> рим in the CID subset; мор needs о, which the subset lacks.
    {"CidIdentityH", "cairo_text.pdf", 1, 12, "\xD0\xBC\xD0\xB8\xD1\x80",
     "\xD1\x80\xD0\xB8\xD0\xBC", "\xD0\xBC\xD0\xBE\xD1\x80"},
    {"Std14ReportLab", "reportlab_std.pdf", 1, 12, "shipped", "hipsped",
     "\xD0\xBC\xD0\xB8\xD1\x80"},
    // The producer's first subset holds every ASCII glyph, so only letters beyond ASCII that
    // the page does not use are missing: été.
    {"TrueTypeSubsetOwnCodes", "reportlab_ttf.pdf", 1, 12, "slip", "lips", "\xC3\xA9t\xC3\xA9"},
    {"Type1Subset", "ghostscript_type1.pdf", 1, 12, "code", "deco", "zqw"},
    {"Type1CSubset", "ghostscript_type1c.pdf", 1, 12, "code", "deco", "zqw"},
    // Real producers: LibreOffice numbers the glyphs of its TrueType subsets itself, pdfTeX
    // writes Type 1 subsets with their built-in encoding and ToUnicode, groff names Times's
    // glyphs in /Differences without embedding it, Chromium writes CID subsets and, for a web
    // font it shows bold, Type 3 glyphs (one string per glyph).
    {"TrueTypeSubsetOwnCodesLibreOffice", "libreoffice_letter.pdf", 1, 12, "recipe.", "piecer.",
     "\xD0\xBC\xD0\xB8\xD1\x80"},
    {"Type1SubsetToUnicodePdfLatex", "pdflatex_article.pdf", 1, 10, "time.", "emit.",
     "\xD0\xBC\xD0\xB8\xD1\x80"},
    {"Std14TimesDifferencesGroff", "groff_memo.pdf", 1, 11, "pumping", "gpumpin",
     "\xD0\xBC\xD0\xB8\xD1\x80"},
    {"CidIdentityHChromium", "chromium_page.pdf", 1, 12, "their", "heirt",
     "\xD0\xBC\xD0\xB8\xD1\x80"},
    {"Type3Chromium", "chromium_page.pdf", 1, 22, "Weekly", "lyWeek", "Zzz"},
};

// Every word of `before` on the page, other than `except`, is still there at its place.
void expectOtherWordsInPlace(const std::vector<Word>& before, const std::vector<Word>& after,
                             int page, const std::string& except) {
    for (const Word& w : before) {
        if (w.page != page || w.text == except) continue;
        bool found = false;
        for (const Word& a : after) {
            if (a.page == page && a.text == w.text && std::fabs(a.xMin - w.xMin) < 0.05 &&
                std::fabs(a.yMin - w.yMin) < 0.05) {
                found = true;
                break;
            }
        }
        EXPECT_TRUE(found) << "word \"" << w.text << "\" at x " << w.xMin << " moved or went";
    }
}

class FontKindReplacement : public ::testing::TestWithParam<FontKindCase> {
  protected:
    void SetUp() override {
        const FontKindCase& c = GetParam();
        input = testsupport::kitDir() / c.file;
        before = testsupport::extractWords(input);
        fontsBefore = testsupport::listFonts(input);
        std::optional<Word> w = uniqueWord(before, c.page, c.word);
        ASSERT_TRUE(w.has_value()) << c.word << " is not a single word on page " << c.page;
        old = *w;
    }
    std::filesystem::path input;
    std::vector<Word> before;
    std::vector<FontRow> fontsBefore;
    Word old;
};

TEST_P(FontKindReplacement, LettersTheFontHoldsAreEditedInPlaceWithoutNewFont) {
    const FontKindCase& c = GetParam();
    testsupport::TempDir dir;
    EngineRun run = runTextRules(dir, input, {ruleOverWord(old, c.size, c.word, c.inFont)});
    ASSERT_EQ(run.changeResults(), std::vector<int>{1}) << run.result.output;
    EXPECT_EQ(run.matchedRecords(), 1) << run.result.output;
    ASSERT_TRUE(std::filesystem::exists(run.output));

    const std::vector<Word> after = testsupport::extractWords(run.output);
    std::optional<Word> edited = uniqueWord(after, c.page, c.inFont);
    ASSERT_TRUE(edited.has_value()) << "page text: " << pageWords(after, c.page);
    EXPECT_NEAR(edited->xMin, old.xMin, 1.0);
    EXPECT_NEAR(edited->yMin, old.yMin, 0.5);
    EXPECT_NEAR(edited->yMax, old.yMax, 0.5);
    EXPECT_TRUE(wordsNamed(after, c.page, c.word).empty()) << pageWords(after, c.page);
    expectOtherWordsInPlace(before, after, c.page, c.word);

    const std::vector<FontRow> fontsAfter = testsupport::listFonts(run.output);
    EXPECT_EQ(fontsAfter.size(), fontsBefore.size());
    for (const FontRow& added : addedFonts(fontsBefore, fontsAfter)) {
        ADD_FAILURE() << "font added: " << fontKey(added);
    }
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

TEST_P(FontKindReplacement, LettersTheFontLacksFallBackAndRemoveTheOldWord) {
    const FontKindCase& c = GetParam();
    testsupport::TempDir dir;
    const PointRule rule = ruleOverWord(old, c.size, c.word, c.outside);
    EngineRun run = runTextRules(dir, input, {rule});
    ASSERT_EQ(run.changeResults(), std::vector<int>{1}) << run.result.output;
    ASSERT_TRUE(std::filesystem::exists(run.output));

    const std::vector<Word> after = testsupport::extractWords(run.output);
    std::optional<Word> written = uniqueWord(after, c.page, c.outside);
    ASSERT_TRUE(written.has_value()) << "page text: " << pageWords(after, c.page);
    EXPECT_NEAR(written->xMin, rule.left, 1.5);
    EXPECT_EQ(testsupport::extractText(run.output, c.page).find(c.word), std::string::npos)
        << "the old word is still extractable";
    expectOtherWordsInPlace(before, after, c.page, c.word);

    const std::vector<FontRow> added = addedFonts(fontsBefore, testsupport::listFonts(run.output));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_TRUE(isFallbackFontRow(added[0])) << fontKey(added[0]);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

struct EncodingCase {
    const char* name;
    const char* file;
    PointRule rule;
    const char* line;  // the edited line as pdftotext shows it afterwards
};

TEST(AccentedLetters, EncodedThroughTheFontsOwnEncoding) {
    // é is 0xE9 in WinAnsi, and code 72 (/eacute) in the /Differences of differences.pdf's F1,
    // whose "Hello" uses codes 65..69 for H, e, l, o.
    const EncodingCase cases[] = {
        {"WinAnsi, not embedded",
         "std14_helvetica.pdf",
         {1, 72, 132, 30, 12, "Caf\xC3\xA9",
          "\xC3\xA9"
          "faC"},
         "\xC3\xA9"
         "faC cr\xC3\xA8me"},
        {"Differences, eacute",
         "differences.pdf",
         {1, 72, 60, 30, 12, "Hello", "Hell\xC3\xA9"},
         "Hell\xC3\xA9 World"},
        {"Differences, moved letters",
         "differences.pdf",
         {1, 72, 108, 30, 12, "caf\xC3\xA9",
          "\xC3\xA9"
          "fac"},
         "\xC3\xA9"
         "fac menu"},
        {"embedded TrueType WinAnsi",
         "truetype_winansi.pdf",
         {1, 72, 108, 30, 12, "na\xC3\xAFve", "\xC3\xAFvan"},
         "\xC3\xAFvan r\xC3\xA9sum\xC3\xA9"},
    };
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto input = testsupport::kitDir() / c.file;
        testsupport::TempDir dir;
        EngineRun run = runTextRules(dir, input, {c.rule});
        EXPECT_EQ(run.changeResults(), std::vector<int>{1});
        EXPECT_EQ(run.matchedRecords(), 1) << run.result.output;
        EXPECT_NE(testsupport::extractText(run.output).find(c.line), std::string::npos)
            << testsupport::extractText(run.output);
        EXPECT_TRUE(
            addedFonts(testsupport::listFonts(input), testsupport::listFonts(run.output)).empty());
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

INSTANTIATE_TEST_SUITE_P(Kit, FontKindReplacement, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FontKindCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
