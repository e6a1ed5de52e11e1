// Whole engine runs on the kit's documents whose fonts give their text through numbering glyph
// names, a /ToUnicode named /Identity-H, the programs' cmaps or the CJK collections' tables: a
// word the font can show is edited in its own font, one it cannot is written in the font of the
// fallback chain that has its letters, and a letter no font has changes nothing. Outputs are
// read back with pdftotext, pdffonts and qpdf.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text_test_support.h"

namespace {

using testsupport::FontRow;
using testsupport::Word;
using namespace texttest;

struct FontCase {
    const char* name;
    const char* file;
    int size;
    std::string word;       // occurs once on page 1
    std::string inFont;     // letters the page's font holds
    std::string fallback;   // letters only a font of the fallback chain holds
    const char* chainFont;  // that font's PostScript name
};

std::ostream& operator<<(std::ostream& out, const FontCase& c) {
    return out << c.name;
}

const FontCase kCases[] = {
    {"ToUnicodeIdentity", "tounicode_identity.pdf", 12, "Invoice", "Invocie", "Zebu",
     "LiberationSans"},
    {"Type3NumberedNames", "type3_numbered_names.pdf", 12, "settled", "lettuce", "Ωμέγα",
     "LiberationSans"},
    {"Type3NumberedNamesGhostscript", "ghostscript_type3.pdf", 12, "printed", "pretind", "Ωμέγα",
     "LiberationSans"},
    {"Type3UniNames", "type3_uni_names.pdf", 12, "naïve", "vaïne", "東京", "DroidSansFallback"},
    {"TrueTypeCmapOnly", "truetype_cmap_only.pdf", 12, "shipped", "hipsped", "Zug",
     "LiberationSans"},
    {"CidCmapOnly", "truetype_cmap_only.pdf", 12, "reading", "grading", "Жук", "LiberationSans"},
    {"CidCjkNoToUnicode", "cid_collections.pdf", 12, "日本語のテキスト", "テキストの日本語", "東京",
     "DroidSansFallback"},
    // Mincho and Myeongjo have serifs: the serif look's DejaVu Serif has Georgian.
    {"CidJapan1NotEmbeddedReportLab", "reportlab_cid.pdf", 14, "東京の支店", "大阪の支店", "ქართ",
     "DejaVuSerif"},
    {"CidKorea1NotEmbeddedReportLab", "reportlab_cid.pdf", 14, "한국어", "국어한", "ქართ",
     "DejaVuSerif"},
};

class FontSourceEdit : public ::testing::TestWithParam<FontCase> {
  protected:
    void SetUp() override {
        input = testsupport::kitDir() / GetParam().file;
        before = testsupport::extractWords(input);
        fontsBefore = testsupport::listFonts(input);
        std::optional<Word> w = uniqueWord(before, 1, GetParam().word);
        ASSERT_TRUE(w.has_value()) << GetParam().word << " is not a single word on page 1";
        old = *w;
    }
    EngineRun edit(const testsupport::TempDir& dir, const std::string& replacement) {
        return runTextRules(dir, input,
                            {ruleOverWord(old, GetParam().size, old.text, replacement)});
    }
    std::filesystem::path input;
    std::vector<Word> before;
    std::vector<FontRow> fontsBefore;
    Word old;
};

TEST_P(FontSourceEdit, lettersTheFontHolds_areEditedInPlaceWithoutNewFont) {
    const FontCase& c = GetParam();
    testsupport::TempDir dir;
    EngineRun run = edit(dir, c.inFont);
    ASSERT_EQ(run.ruleResults(), std::vector<std::string>{"own font"}) << run.result.output;
    const std::vector<Word> after = testsupport::extractWords(run.output);
    std::optional<Word> edited = uniqueWord(after, 1, c.inFont);
    ASSERT_TRUE(edited.has_value()) << pageWords(after, 1);
    EXPECT_NEAR(edited->xMin, old.xMin, 1.0);
    EXPECT_NEAR(edited->yMin, old.yMin, 0.5);
    EXPECT_TRUE(wordsNamed(after, 1, c.word).empty()) << pageWords(after, 1);
    EXPECT_TRUE(addedFonts(fontsBefore, testsupport::listFonts(run.output)).empty());
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

TEST_P(FontSourceEdit, lettersOnlyTheChainHolds_areWrittenInItsFontAndTheOldWordIsGone) {
    const FontCase& c = GetParam();
    testsupport::TempDir dir;
    EngineRun run = edit(dir, c.fallback);
    ASSERT_EQ(run.changeResults(), std::vector<int>{1}) << run.result.output;
    const std::vector<Word> after = testsupport::extractWords(run.output);
    std::optional<Word> written = uniqueWord(after, 1, c.fallback);
    ASSERT_TRUE(written.has_value()) << pageWords(after, 1);
    EXPECT_NEAR(written->xMin, old.xMin, 1.5);
    EXPECT_EQ(testsupport::extractText(run.output, 1).find(c.word), std::string::npos);
    const std::vector<FontRow> added = addedFonts(fontsBefore, testsupport::listFonts(run.output));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].name.substr(added[0].name.find('+') + 1), c.chainFont);
    EXPECT_TRUE(added[0].embedded && added[0].subset && added[0].toUnicode);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

TEST_P(FontSourceEdit, letterNoFontHas_changesNothingAndNamesIt) {
    testsupport::TempDir dir;
    EngineRun run = edit(dir, "\uE000\uE001");  // private use: in no font of the chain
    ASSERT_EQ(run.changeResults(), std::vector<int>{0}) << run.result.output;
    ASSERT_EQ(run.ruleResults().size(), 1u);
    EXPECT_EQ(run.ruleResults()[0].rfind("not done: ", 0), 0u) << run.ruleResults()[0];
    EXPECT_NE(run.ruleResults()[0].find("\"\uE000\" (U+E000)"), std::string::npos)
        << run.ruleResults()[0];
    const std::vector<Word> after = testsupport::extractWords(run.output);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].text, before[i].text);
        EXPECT_NEAR(after[i].xMin, before[i].xMin, 0.01);
    }
    EXPECT_TRUE(addedFonts(fontsBefore, testsupport::listFonts(run.output)).empty());
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

// A heading in a top-to-bottom CID font: a rule on the box an extractor reports (a whole em
// above where the font's vertical origin puts the glyphs) is an edit in the page's font.
TEST(VerticalWritingFont, ruleOnTheExtractorsBox_isEditedInItsFont) {
    const auto input = testsupport::kitDir() / "reportlab_cid.pdf";
    const std::vector<Word> before = testsupport::extractWords(input);
    std::optional<Word> heading = uniqueWord(before, 1, "縦書きの見出し");
    ASSERT_TRUE(heading.has_value());
    PointRule rule;
    rule.left = static_cast<int>(heading->xMin);
    rule.top = static_cast<int>(heading->yMin);
    rule.width = static_cast<int>(heading->xMax - heading->xMin);
    rule.height = static_cast<int>(heading->yMax - heading->yMin);
    rule.find = heading->text;
    rule.replace = "書きの見出し縦";
    testsupport::TempDir dir;
    EngineRun run = runTextRules(dir, input, {rule});
    ASSERT_EQ(run.ruleResults(), std::vector<std::string>{"own font"}) << run.result.output;
    std::optional<Word> edited = uniqueWord(testsupport::extractWords(run.output), 1, rule.replace);
    ASSERT_TRUE(edited.has_value());
    EXPECT_NEAR(edited->xMin, heading->xMin, 0.01);
    EXPECT_NEAR(edited->yMin, heading->yMin, 0.01);
    EXPECT_NEAR(edited->yMax, heading->yMax, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Kit, FontSourceEdit, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FontCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
