// Edge cases of text replacement by position: the matching tolerance, several occurrences and
// records, turned text and turned pages, TJ kerning, form XObjects shared by pages, rules that
// change nothing, the fallback for text that is not there, and a missing fallback font.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "text_test_support.h"

namespace {

using testsupport::FontRow;
using testsupport::TempDir;
using testsupport::Word;
using namespace texttest;

std::filesystem::path kit(const char* name) {
    return testsupport::kitDir() / name;
}

// The words of a page whose top lies within 1 point of `yMin`, joined by spaces.
std::string lineAt(const std::vector<Word>& words, int page, double yMin) {
    std::string text;
    for (const Word& w : words) {
        if (w.page != page || std::fabs(w.yMin - yMin) > 1.0) continue;
        if (!text.empty()) text += ' ';
        text += w.text;
    }
    return text;
}

// The x positions of the words with this text on a page, in reading order.
std::vector<double> xPositions(const std::vector<Word>& words, int page, const std::string& text) {
    std::vector<double> xs;
    for (const Word& w : wordsNamed(words, page, text)) xs.push_back(w.xMin);
    return xs;
}

void expectNear(const std::vector<double>& seen, const std::vector<double>& expected,
                double tolerance) {
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_NEAR(seen[i], expected[i], tolerance) << i;
}

bool fallbackFontAdded(const std::filesystem::path& input, const std::filesystem::path& output) {
    for (const FontRow& row :
         addedFonts(testsupport::listFonts(input), testsupport::listFonts(output))) {
        if (isFallbackFontRow(row)) return true;
    }
    return false;
}

// std14_helvetica.pdf, line 2: "Invoice number 12345 due today", Helvetica 12, baseline 696
// from the bottom, so its top is 792 - 696 - 12 = 84.
constexpr int kInvoiceTop = 84;

struct ToleranceCase {
    const char* name;
    int top, height;
    bool trueEdit;
};

TEST(TextRuleTolerance, SizeAndTopWithinHalfTheSizeEditTheRecordElseFallBack) {
    const ToleranceCase cases[] = {
        {"height 17 (5 more), top 3 lower", kInvoiceTop + 3, 17, true},
        {"height 18 (6 more), top 3 lower", kInvoiceTop + 3, 18, false},
        {"height 7 (5 less)", kInvoiceTop, 7, true},
        {"height 6 (6 less)", kInvoiceTop, 6, false},
        {"top 5 higher", kInvoiceTop - 5, 12, true},
        {"top 6 higher", kInvoiceTop - 6, 12, false},
    };
    const auto input = kit("std14_helvetica.pdf");
    for (const ToleranceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        // The rectangle covers "12345" only; left and width play no part in the matching.
        EngineRun run = runTextRules(dir, input, {{1, 157, c.top, 34, c.height, "12345", "54321"}});
        EXPECT_EQ(run.changeResults(), std::vector<int>{1}) << run.result.output;
        EXPECT_EQ(run.matchedRecords(), c.trueEdit ? 1 : 0) << run.result.output;
        EXPECT_EQ(fallbackFontAdded(input, run.output), !c.trueEdit);
        const std::vector<Word> after = testsupport::extractWords(run.output);
        std::optional<Word> edited = uniqueWord(after, 1, "54321");
        ASSERT_TRUE(edited.has_value()) << pageWords(after, 1);
        if (c.trueEdit) {
            EXPECT_NEAR(edited->xMin, 157.368, 0.01);  // same place, same font
            EXPECT_TRUE(wordsNamed(after, 1, "12345").empty());
        } else {
            EXPECT_NEAR(edited->xMin, 157, 1.0);  // written at the rule's left
        }
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

struct OccurrenceCase {
    const char* name;
    int left, width;
    const char* replace;
    const char* line;
    std::vector<double> replaced;  // where the words with the new text stand
    double gamma;                  // where the last word of the line stands
};

TEST(TextRuleOccurrences, BoxPicksTheOccurrencesItCovers_aBoxOverNoneTakesEveryOne) {
    // std14_helvetica.pdf line 1, one string: "alpha" at 72 and 131.376 (29.352 wide), "beta"
    // from 104.688 to 128.04, "gamma" at 164.064. "omega" is 7.332 wider than "alpha",
    // "alphalpha" 22.68.
    const OccurrenceCase cases[] = {
        {"box over the first", 72, 30, "omega", "omega beta alpha gamma", {72}, 171.396},
        {"box over the second", 130, 30, "omega", "alpha beta omega gamma", {131.376}, 171.396},
        {"box over both", 72, 100, "omega", "omega beta omega gamma", {72, 138.708}, 178.728},
        {"box over neither", 105, 20, "omega", "omega beta omega gamma", {72, 138.708}, 178.728},
        {"replacement holding the find text, box over the first",
         72,
         30,
         "alphalpha",
         "alphalpha beta alpha gamma",
         {72},
         186.744},
        {"replacement holding the find text, box over both",
         72,
         100,
         "alphalpha",
         "alphalpha beta alphalpha gamma",
         {72, 154.056},
         209.424},
    };
    for (const OccurrenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        EngineRun run = runTextRules(dir, kit("std14_helvetica.pdf"),
                                     {{1, c.left, 60, c.width, 12, "alpha", c.replace}});
        EXPECT_EQ(run.ruleResults(), std::vector<std::string>{"own font"}) << run.result.output;
        EXPECT_EQ(run.matchedRecords(), 1);
        const std::vector<Word> after = testsupport::extractWords(run.output);
        EXPECT_EQ(lineAt(after, 1, 63.384), c.line);
        expectNear(xPositions(after, 1, c.replace), c.replaced, 0.01);
        expectNear(xPositions(after, 1, "gamma"), {c.gamma}, 0.01);
        EXPECT_EQ(testsupport::listFonts(run.output).size(), 1u);
    }
}

struct PlaceCase {
    const char* name;
    std::vector<PointRule> rules;
    double top;  // of the line's words
    const char* line;
    const char* edited;  // the last edited word, old and new, and the word after it
    const char* replaced;
    const char* next;
};

TEST(TextRuleOccurrences, RuleOnAWordChangesItAlone_notTheSameLettersElsewhereOnItsLine) {
    // Helvetica 12, one string per line. The content batch writes one rule per whole word, all
    // against the page as it was read: the second "the" is found where it stood, although the
    // first rule moved it.
    TempDir made;
    const auto input = made / "places.pdf";
    writeHelveticaPdf(input,
                      "BT /F1 12 Tf 72 700 Td (Sign in within the building) Tj ET\n"
                      "BT /F1 12 Tf 72 650 Td (Qty 5 Price 15.50 Total 77.50) Tj ET\n"
                      "BT /F1 12 Tf 72 600 Td (the cat and the dog) Tj ET\n");
    const PlaceCase cases[] = {
        {"a word that also stands inside others",
         {{1, 99, 80, 10, 12, "in", "into"}},
         83.384,
         "Sign into within the building",
         "in",
         "into",
         "within"},
        {"a number that also stands inside others",
         {{1, 94, 130, 7, 12, "5", "12"}},
         133.384,
         "Qty 12 Price 15.50 Total 77.50",
         "5",
         "12",
         "Price"},
        {"two rules, one per occurrence",
         {{1, 72, 180, 17, 12, "the", "these"}, {1, 134, 180, 18, 12, "the", "these"}},
         183.384,
         "these cat and these dog",
         "the",
         "these",
         "dog"},
    };
    const std::vector<Word> before = testsupport::extractWords(input);
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        EngineRun run = runTextRules(dir, input, c.rules);
        EXPECT_EQ(run.ruleResults(), std::vector<std::string>(c.rules.size(), "own font"))
            << run.result.output;
        const std::vector<Word> after = testsupport::extractWords(run.output);
        EXPECT_EQ(lineAt(after, 1, c.top), c.line);
        const std::vector<Word> oldWords = wordsNamed(before, 1, c.edited);
        const std::vector<Word> newWords = wordsNamed(after, 1, c.replaced);
        std::optional<Word> oldNext = uniqueWord(before, 1, c.next);
        std::optional<Word> newNext = uniqueWord(after, 1, c.next);
        ASSERT_TRUE(!oldWords.empty() && !newWords.empty() && oldNext && newNext);
        EXPECT_NEAR(newNext->xMin - newWords.back().xMax, oldNext->xMin - oldWords.back().xMax,
                    0.01);
    }
}

TEST(TextRuleOccurrences, TwoRecordsOnOneLineAreBothReplacedWhateverTheRuleLeft) {
    // "left apple pie" at x 72 and "right apple tart" at x 300 share the baseline 672; the
    // rule's rectangle covers only the word "left".
    TempDir dir;
    EngineRun run =
        runTextRules(dir, kit("std14_helvetica.pdf"), {{1, 72, 108, 16, 12, "apple", "paple"}});
    EXPECT_EQ(run.changeResults(), std::vector<int>{1});
    EXPECT_EQ(run.matchedRecords(), 2) << run.result.output;
    const std::vector<Word> after = testsupport::extractWords(run.output);
    expectNear(xPositions(after, 1, "paple"), {91.344, 326.676}, 0.01);
    EXPECT_TRUE(wordsNamed(after, 1, "apple").empty());
    EXPECT_EQ(uniqueWord(after, 1, "left").value_or(Word{}).xMin, 72);
}

TEST(TextRuleOccurrences, LaterRuleSeesTheTextOfAnEarlierOne) {
    TempDir dir;
    EngineRun run = runTextRules(dir, kit("std14_helvetica.pdf"),
                                 {{1, 217, kInvoiceTop, 30, 12, "today", "toady"},
                                  {1, 217, kInvoiceTop, 30, 12, "toady", "yadot"}});
    EXPECT_EQ(run.changeResults(), (std::vector<int>{1, 1}));
    EXPECT_EQ(run.matchedRecords(), 2);
    const std::vector<Word> after = testsupport::extractWords(run.output);
    EXPECT_EQ(lineAt(after, 1, 87.384), "Invoice number 12345 due yadot");
}

TEST(TextRuleOccurrences, ReplacementLikeTheFindText_isDoneInTheOwnFontAndChangesNothing) {
    // It used to count as a text the font cannot show: the area was cleared and the same text
    // written again in the fallback font.
    const auto input = kit("std14_helvetica.pdf");
    TempDir dir;
    EngineRun run = runTextRules(dir, input, {{1, 217, kInvoiceTop, 30, 12, "today", "today"}});
    EXPECT_EQ(run.ruleResults(), std::vector<std::string>{"own font"}) << run.result.output;
    EXPECT_TRUE(
        addedFonts(testsupport::listFonts(input), testsupport::listFonts(run.output)).empty());
    EXPECT_EQ(lineAt(testsupport::extractWords(run.output), 1, 87.384),
              "Invoice number 12345 due today");
}

TEST(TextRuleOccurrences, LaterRuleEditsTextWrittenByAnEarlierOverwrite) {
    // The first rule finds nothing and writes "Paid" in the fallback font; the second rule
    // stands at the same place, and the fallback subset holds P, a, i and d, so "diaP" is a true
    // edit of the text the first rule wrote.
    const auto input = kit("std14_helvetica.pdf");
    TempDir dir;
    EngineRun run = runTextRules(dir, input,
                                 {{1, 157, kInvoiceTop, 34, 12, "zzz", "Paid"},
                                  {1, 157, kInvoiceTop, 34, 12, "Paid", "diaP"}});
    EXPECT_EQ(run.changeResults(), (std::vector<int>{1, 1}));
    EXPECT_NE(run.result.output.find("strtext is :Paid\n"), std::string::npos) << run.result.output;
    const std::vector<Word> after = testsupport::extractWords(run.output);
    std::optional<Word> edited = uniqueWord(after, 1, "diaP");
    ASSERT_TRUE(edited.has_value()) << pageWords(after, 1);
    EXPECT_NEAR(edited->xMin, 157, 1.0);
    const std::vector<FontRow> added =
        addedFonts(testsupport::listFonts(input), testsupport::listFonts(run.output));
    EXPECT_EQ(added.size(), 1u);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

struct TurnedCase {
    const char* name;
    PointRule rule;
    bool trueEdit;
    double xMin, yMin;  // where the new word stands on a true edit
};

TEST(TextRuleTurnedText, VerticalTextMatchesByWidthAndThreeDegreesByHeight) {
    // rotated_text.pdf, Helvetica 12: UPWARD from (300, 300) running up (270 degrees), DOWNWARD
    // from (400, 600) running down (90 degrees), TILTED at (100, 200) turned by 3 degrees.
    // Vertical text compares the rule width with its size, and the rule top with the displayed
    // top of the text: 792 - 300 - rule height for UPWARD, 792 - 600 for DOWNWARD.
    const TurnedCase cases[] = {
        {"270 degrees, width 12",
         {1, 291, 792 - 300 - 54, 12, 54, "UPWARD", "DRAWUP"},
         true,
         291.384,
         438.672},
        {"270 degrees, width 17",
         {1, 291, 792 - 300 - 54, 17, 54, "UPWARD", "DRAWUP"},
         true,
         291.384,
         438.672},
        {"270 degrees, width 18",
         {1, 291, 792 - 300 - 54, 18, 54, "UPWARD", "DRAWUP"},
         false,
         0,
         0},
        {"270 degrees, height 12 does not stand for the size",
         {1, 291, 792 - 300 - 12, 54, 12, "UPWARD", "DRAWUP"},
         false,
         0,
         0},
        {"90 degrees, width 12", {1, 397, 192, 12, 74, "DOWNWARD", "WARDDOWN"}, true, 397.516, 192},
        {"90 degrees, top less the height",
         {1, 397, 192 - 74, 12, 74, "DOWNWARD", "WARDDOWN"},
         false,
         0,
         0},
        {"3 degrees, height 12",
         {1, 100, 792 - 200 - 12, 40, 12, "TILTED", "TITLED"},
         true,
         100,
         582.093},
    };
    const auto input = kit("rotated_text.pdf");
    for (const TurnedCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        EngineRun run = runTextRules(dir, input, {c.rule});
        EXPECT_EQ(run.changeResults(), std::vector<int>{1});
        EXPECT_EQ(run.matchedRecords(), c.trueEdit ? 1 : 0) << run.result.output;
        EXPECT_EQ(fallbackFontAdded(input, run.output), !c.trueEdit);
        if (c.trueEdit) {
            // (A fallback writes upright text of the rule's height, which may run off the page.)
            const std::vector<Word> after = testsupport::extractWords(run.output);
            std::optional<Word> edited = uniqueWord(after, 1, c.rule.replace);
            ASSERT_TRUE(edited.has_value()) << pageWords(after, 1);
            EXPECT_NEAR(edited->xMin, c.xMin, 0.01);
            EXPECT_NEAR(edited->yMin, c.yMin, 0.01);
            EXPECT_TRUE(wordsNamed(after, 1, c.rule.find).empty());
        }
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

TEST(TextRuleTurnedText, FallbackRemovesTurnedGlyphsInTheRectangle) {
    // Omega is not in WinAnsi: both rules match a record, cannot edit it, and fall back.
    const auto input = kit("rotated_text.pdf");
    TempDir dir;
    EngineRun run = runTextRules(dir, input,
                                 {{1, 291, 792 - 300 - 54, 12, 54, "UPWARD", "\xCE\xA9"},
                                  {1, 100, 792 - 200 - 12, 42, 12, "TILTED", "\xCE\xA9"}});
    EXPECT_EQ(run.changeResults(), (std::vector<int>{1, 1}));
    EXPECT_EQ(run.matchedRecords(), 2);
    const std::string text = testsupport::extractText(run.output);
    EXPECT_EQ(text.find("UPWARD"), std::string::npos) << text;
    EXPECT_EQ(text.find("TILTED"), std::string::npos) << text;
    const std::vector<Word> after = testsupport::extractWords(run.output);
    EXPECT_EQ(wordsNamed(after, 1, "\xCE\xA9").size(), 2u);
    expectNear(xPositions(after, 1, "DOWNWARD"), {397.516}, 0.01);
    expectNear(xPositions(after, 1, "Horizontal"), {72}, 0.01);
    EXPECT_TRUE(fallbackFontAdded(input, run.output));
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

struct TurnedPageCase {
    const char* file;
    PointRule edit;
    double xMin, yMin, yMax;  // the edited word's box, as the old word's
};

TEST(TextRuleTurnedPage, TurnedPagesUseDisplayedCoordinates) {
    // rotate90.pdf and rotate270.pdf show their page turned, 792 x 612, so their text runs
    // down (90) or up (270) the displayed page and is compared by the rule width and by its
    // displayed top. CORNERWORD starts at displayed y 450 running down (top 450); "Page turned
    // TWOSEVENTY degrees" starts at displayed y 540 running up (top 540 - rule height). A second
    // rule writes on empty space: the fallback text must stand upright on the displayed page.
    const TurnedPageCase cases[] = {
        {"rotate90.pdf", {1, 97, 450, 12, 90, "CORNERWORD", "WORDCORNER"}, 97.516, 450, 539.988},
        {"rotate270.pdf",
         {1, 63, 540 - 84, 12, 84, "TWOSEVENTY", "SEVENTYTWO"},
         63.384,
         387.276,
         471.288},
    };
    for (const TurnedPageCase& c : cases) {
        SCOPED_TRACE(c.file);
        const auto input = kit(c.file);
        TempDir dir;
        EngineRun run =
            runTextRules(dir, input, {c.edit, {1, 300, 300, 100, 12, "nothing", "Added"}});
        EXPECT_EQ(run.changeResults(), (std::vector<int>{1, 1}));
        EXPECT_EQ(run.matchedRecords(), 1) << run.result.output;
        const std::vector<Word> after = testsupport::extractWords(run.output);
        std::optional<Word> edited = uniqueWord(after, 1, c.edit.replace);
        ASSERT_TRUE(edited.has_value()) << pageWords(after, 1);
        EXPECT_NEAR(edited->xMin, c.xMin, 0.01);
        EXPECT_NEAR(edited->yMin, c.yMin, 0.01);
        EXPECT_NEAR(edited->yMax, c.yMax, 0.01);
        EXPECT_TRUE(wordsNamed(after, 1, c.edit.find).empty());
        std::optional<Word> added = uniqueWord(after, 1, "Added");
        ASSERT_TRUE(added.has_value()) << pageWords(after, 1);
        EXPECT_NEAR(added->xMin, 300, 1.0);
        EXPECT_GT(added->yMin, 297);
        EXPECT_LT(added->yMax, 313);
        EXPECT_GT(added->xMax - added->xMin, added->yMax - added->yMin) << "not upright";
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

TEST(TextRuleOffsetBoxes, MediaBoxOffsetAndCropBoxUseTheDisplayedPage) {
    // offset_mediabox.pdf: MediaBox [100 200 712 992] on both pages, page 2 cropped to
    // [150 250 662 942]. LOWERWORD (page 1) is edited in its font; CROPWORD (page 2) falls back
    // to a Cyrillic letter, written at the rule's place on the cropped page.
    const auto input = kit("offset_mediabox.pdf");
    const std::vector<Word> before = testsupport::extractWords(input);
    std::optional<Word> lower = uniqueWord(before, 1, "LOWERWORD");
    std::optional<Word> crop = uniqueWord(before, 2, "CROPWORD");
    ASSERT_TRUE(lower && crop);
    const PointRule edit = ruleOverWord(*lower, 12, "LOWERWORD", "WORDLOWER");
    const PointRule fallback = ruleOverWord(*crop, 12, "CROPWORD", "\xD0\x9C");
    TempDir dir;
    EngineRun run = runTextRules(dir, input, {edit, fallback});
    EXPECT_EQ(run.changeResults(), (std::vector<int>{1, 1}));
    const std::vector<Word> after = testsupport::extractWords(run.output);
    std::optional<Word> edited = uniqueWord(after, 1, "WORDLOWER");
    ASSERT_TRUE(edited.has_value()) << pageWords(after, 1);
    EXPECT_NEAR(edited->xMin, lower->xMin, 0.01);
    EXPECT_NEAR(edited->yMin, lower->yMin, 0.01);
    std::optional<Word> written = uniqueWord(after, 2, "\xD0\x9C");
    ASSERT_TRUE(written.has_value()) << pageWords(after, 2);
    EXPECT_NEAR(written->xMin, fallback.left, 1.0);
    EXPECT_NEAR(written->yMin, fallback.top, 2.0);
    EXPECT_EQ(testsupport::extractText(run.output, 2).find("CROPWORD"), std::string::npos);
    EXPECT_TRUE(fallbackFontAdded(input, run.output));
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

TEST(TextRuleHandMade, EffectiveSizeAndRiseDecideTheMatchAndInlineImagesStayIntact) {
    // Made here, Helvetica: "scaled ctm" drawn at 6 pt under a CTM that doubles it (effective
    // size 12, baseline 696, top 84); "raised text" at 12 pt on baseline 600 with a rise of 7
    // (origin 607, top 173, where it would be 180 without the rise); an inline image whose data
    // holds bytes that read like operators.
    const std::string image = std::string("\x00\xFF", 2) + "Tj";
    const std::string content =
        "q 2 0 0 2 0 0 cm BT /F1 6 Tf 36 348 Td (scaled ctm) Tj ET Q\n"
        "q 20 0 0 20 300 300 cm BI /W 2 /H 2 /BPC 8 /CS /G ID\n" +
        image +
        "\nEI Q\n"
        "BT /F1 12 Tf 72 600 Td 7 Ts (raised text) Tj ET\n";
    TempDir made;
    const auto input = made / "made.pdf";
    writeHelveticaPdf(input, content);

    struct Case {
        const char* name;
        PointRule rule;
        bool trueEdit;
    };
    const Case cases[] = {
        {"CTM-scaled text, height 12", {1, 72, 84, 60, 12, "scaled", "delacs"}, true},
        {"CTM-scaled text, height 6 (the Tf size)", {1, 72, 84, 60, 6, "scaled", "delacs"}, false},
        {"raised text, top with the rise", {1, 72, 173, 60, 12, "raised", "sidear"}, true},
        {"raised text, top without the rise", {1, 72, 179, 60, 12, "raised", "sidear"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        EngineRun run = runTextRules(dir, input, {c.rule});
        EXPECT_EQ(run.changeResults(), std::vector<int>{1});
        EXPECT_EQ(run.matchedRecords(), c.trueEdit ? 1 : 0) << run.result.output;
        EXPECT_EQ(fallbackFontAdded(input, run.output), !c.trueEdit);
        const std::vector<Word> after = testsupport::extractWords(run.output);
        std::optional<Word> edited = uniqueWord(after, 1, c.rule.replace);
        ASSERT_TRUE(edited.has_value()) << pageWords(after, 1);
        if (c.trueEdit) {
            EXPECT_NEAR(edited->xMin, 72, 0.01);
        }
        const std::string objects = uncompressedObjects(run.output);
        EXPECT_NE(objects.find("ID\n" + image + "\nEI"), std::string::npos)
            << "inline image data changed";
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

TEST(TextRuleHandMade, FallbackRemovalKeepsSpacedAndScaledTextInPlace) {
    // Removed glyphs give their advance back as a TJ adjustment; with character spacing, word
    // spacing and horizontal scaling in force the words after them must not move.
    // Before: one 72, two 106.352, three 139.36; alpha 72, beta 95.844, gamma 115.688;
    // first 72, "secondthird" 88.416 to 125.73.
    const std::string content =
        "BT /F1 12 Tf 2 Tc 3 Tw 72 696 Td (one two three) Tj ET\n"
        "BT /F1 12 Tf 50 Tz 72 600 Td (alpha beta gamma) Tj ET\n"
        "BT /F1 12 Tf 1.5 Tc 72 500 Td [(first) -500 (second) 200 (third)] TJ ET\n";
    TempDir made;
    const auto input = made / "spacing.pdf";
    writeHelveticaPdf(input, content);
    const std::vector<Word> before = testsupport::extractWords(input);
    std::optional<Word> two = uniqueWord(before, 1, "two");
    std::optional<Word> beta = uniqueWord(before, 1, "beta");
    std::optional<Word> three = uniqueWord(before, 1, "three");
    std::optional<Word> gamma = uniqueWord(before, 1, "gamma");
    ASSERT_TRUE(two && beta && three && gamma);

    TempDir dir;
    EngineRun run = runTextRules(dir, input,
                                 {ruleOverWord(*two, 12, "two", "\xCE\xA9"),
                                  ruleOverWord(*beta, 12, "beta", "\xCE\xA9"),
                                  {1, 90, 280, 12, 12, "eco", "\xCE\xA9"}});
    EXPECT_EQ(run.changeResults(), (std::vector<int>{1, 1, 1}));
    const std::vector<Word> after = testsupport::extractWords(run.output);
    const std::string text = testsupport::extractText(run.output);
    EXPECT_EQ(text.find("two"), std::string::npos) << text;
    EXPECT_EQ(text.find("beta"), std::string::npos) << text;
    expectNear(xPositions(after, 1, "one"), {72}, 0.01);
    expectNear(xPositions(after, 1, "three"), {three->xMin}, 0.01);
    expectNear(xPositions(after, 1, "alpha"), {72}, 0.01);
    expectNear(xPositions(after, 1, "gamma"), {gamma->xMin}, 0.01);
    // Tz 50 and Tw 3 carry over into the third line (they belong to the graphics state), so
    // "second" starts at 88.416 with glyphs 3 to 4 points wide: the centres of e, c and o lie in
    // the rectangle from x 90 to 102, the centre of s (89.9) does not.
    expectNear(xPositions(after, 1, "s"), {88.416}, 0.01);
    std::optional<Word> rest = uniqueWord(after, 1, "ndthird");
    ASSERT_TRUE(rest.has_value()) << pageWords(after, 1);
    EXPECT_NEAR(rest->xMin, 104.088, 0.01);
    EXPECT_NEAR(rest->xMax, 125.73, 0.01);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

TEST(TextRuleOverRecords, FindTextSplitOverTwoStringsIsEditedInTheirFont) {
    // multipage.pdf page 2: "Find SPLIT" and "WORD now" are two strings shown one after the
    // other; no record holds "SPLITWORD". Each string takes its share of the new word, and the
    // rest of the line follows it.
    const auto input = kit("multipage.pdf");
    std::optional<Word> split = uniqueWord(testsupport::extractWords(input), 2, "SPLITWORD");
    ASSERT_TRUE(split.has_value());
    TempDir dir;
    EngineRun run = runTextRules(dir, input, {ruleOverWord(*split, 12, "SPLITWORD", "Joined")});
    EXPECT_EQ(run.ruleResults(), std::vector<std::string>{"own font"}) << run.result.output;
    EXPECT_EQ(run.matchedRecords(), 2);
    const std::vector<Word> after = testsupport::extractWords(run.output);
    EXPECT_NE(testsupport::extractText(run.output, 2).find("Find Joined now"), std::string::npos);
    expectNear(xPositions(after, 2, "Joined"), {split->xMin}, 0.01);
    expectNear(xPositions(after, 2, "Find"), {72}, 0.01);
    EXPECT_TRUE(
        addedFonts(testsupport::listFonts(input), testsupport::listFonts(run.output)).empty());
    // The other pages are untouched.
    EXPECT_EQ(testsupport::extractText(run.output, 1), testsupport::extractText(input, 1));
    EXPECT_EQ(testsupport::extractText(run.output, 3), testsupport::extractText(input, 3));
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

TEST(TextRuleKerning, TjNumbersOutsideTheEditedWordStay) {
    // tj_kerning.pdf: [(W) 120 (orld) -50 (wide) -278 (shipping)] TJ at baseline 720,
    // [(T) 70 (otal) -4000 (amount)] TJ at 696 and [(A) 80 (V) 80 (A) 60 (T) (AR) -300 (code)]
    // TJ at 672, where "TAR" spans two strings with no number between them. Permutations keep
    // Helvetica widths, so every word after an edit keeps its place.
    const auto input = kit("tj_kerning.pdf");
    TempDir dir;
    EngineRun run = runTextRules(dir, input,
                                 {{1, 72, 60, 60, 12, "wide", "dewi"},
                                  {1, 145, 84, 40, 12, "amount", "tnuoma"},
                                  {1, 72, 108, 40, 12, "TAR", "RAT"}});
    EXPECT_EQ(run.changeResults(), (std::vector<int>{1, 1, 1}));
    const std::string objects = uncompressedObjects(run.output);
    EXPECT_NE(objects.find("[(W) 120 (orld) -50 (dewi) -278 (shipping)"), std::string::npos)
        << objects;
    EXPECT_NE(objects.find("[(T) 70 (otal) -4000 (tnuoma)"), std::string::npos);
    EXPECT_NE(objects.find("[(A) 80 (V) 80 (A) 60 "), std::string::npos);
    EXPECT_NE(objects.find(" -300 (code)"), std::string::npos);
    const std::vector<Word> after = testsupport::extractWords(run.output);
    EXPECT_EQ(lineAt(after, 1, 63.384), "Worlddewi shipping included today");
    expectNear(xPositions(after, 1, "shipping"), {130.5}, 0.01);
    expectNear(xPositions(after, 1, "tnuoma"), {145.836}, 0.01);
    expectNear(xPositions(after, 1, "due"), {189.192}, 0.01);
    EXPECT_EQ(lineAt(after, 1, 111.384), "AVARAT code");
    expectNear(xPositions(after, 1, "code"), {120.972}, 0.01);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

TEST(TextRuleKerning, LettersHeldTogetherAgainstCharacterSpacingStayTogether) {
    // 3.5 Tc spaces the words of a justified line; 350 between the letters takes it back (size
    // 10), so "up" reads as one word. Its new letters must be held together the same way.
    TempDir dir;
    const auto input = dir / "spaced.pdf";
    writeHelveticaPdf(input,
                      "BT /F1 10 Tf 3.5 Tc 72 700 Td [(o) 350 (n) (u) 350 (p) 350 (s) (a) 350 (t)] "
                      "TJ ET\n");
    const std::vector<Word> before = testsupport::extractWords(input);
    ASSERT_EQ(lineAt(before, 1, before.front().yMin), "on ups at");
    EngineRun run = runTextRules(dir, input, {{1, 72, 82, 60, 10, "ups", "spu"}});
    EXPECT_EQ(run.ruleResults(), std::vector<std::string>{"own font"}) << run.result.output;
    const std::vector<Word> after = testsupport::extractWords(run.output);
    EXPECT_EQ(lineAt(after, 1, before.front().yMin), "on spu at");
}

TEST(TextRuleKerning, FallbackInsideTjKeepsTheOtherGlyphsInPlace) {
    // "wide" goes from the TJ; "World"'s first letters and "shipping" must not move.
    const auto input = kit("tj_kerning.pdf");
    TempDir dir;
    EngineRun run = runTextRules(dir, input, {{1, 102, 60, 26, 12, "wide", "\xCE\xA9"}});
    EXPECT_EQ(run.changeResults(), std::vector<int>{1});
    EXPECT_TRUE(fallbackFontAdded(input, run.output));
    const std::vector<Word> after = testsupport::extractWords(run.output);
    EXPECT_EQ(testsupport::extractText(run.output).find("wide"), std::string::npos);
    expectNear(xPositions(after, 1, "shipping"), {130.5}, 0.01);
    expectNear(xPositions(after, 1, "included"), {178.524}, 0.01);
    EXPECT_EQ(uniqueWord(after, 1, "\xCE\xA9").has_value(), true) << pageWords(after, 1);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

TEST(TextRuleFormXObject, FormTextEditedOnOnePageOnly) {
    // form_xobject.pdf draws one form on both pages: "Shared form text" at (82, 530) on page 1
    // (top 792 - 530 - 12 = 250) and at (210, 330) on page 2 (top 450).
    const auto input = kit("form_xobject.pdf");
    for (int page : {1, 2}) {
        SCOPED_TRACE("rule on page " + std::to_string(page));
        TempDir dir;
        const int top = page == 1 ? 250 : 450;
        EngineRun run = runTextRules(dir, input, {{page, 50, top, 100, 12, "Shared", "Dehsar"}});
        EXPECT_EQ(run.changeResults(), std::vector<int>{1});
        EXPECT_EQ(run.matchedRecords(), 1) << run.result.output;
        const std::vector<Word> after = testsupport::extractWords(run.output);
        const int other = 3 - page;
        const double x = page == 1 ? 82 : 210;
        expectNear(xPositions(after, page, "Dehsar"), {x}, 0.01);
        EXPECT_TRUE(wordsNamed(after, page, "Shared").empty());
        expectNear(xPositions(after, other, "Shared"), {page == 1 ? 210.0 : 82.0}, 0.01);
        EXPECT_TRUE(wordsNamed(after, other, "Dehsar").empty());
        EXPECT_FALSE(fallbackFontAdded(input, run.output));
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

TEST(TextRuleFormXObject, FallbackRemovesFormTextOnOnePageOnly) {
    // The fallback removes "Shared" from the form as page 1 draws it; page 2 draws the same
    // form and must still show it.
    const auto input = kit("form_xobject.pdf");
    TempDir dir;
    EngineRun run =
        runTextRules(dir, input, {{1, 82, 250, 40, 12, "Shared", "\xD0\x9C\xD0\xB8\xD1\x80"}});
    EXPECT_EQ(run.changeResults(), std::vector<int>{1});
    EXPECT_TRUE(fallbackFontAdded(input, run.output));
    const std::vector<Word> after = testsupport::extractWords(run.output);
    EXPECT_EQ(testsupport::extractText(run.output, 1).find("Shared"), std::string::npos);
    expectNear(xPositions(after, 1, "\xD0\x9C\xD0\xB8\xD1\x80"), {82}, 1.0);
    expectNear(xPositions(after, 1, "form"), {124.024, 137.364}, 0.01);
    expectNear(xPositions(after, 2, "Shared"), {210}, 0.01);
    expectNear(xPositions(after, 2, "form"), {252.024, 137.364}, 0.01);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
}

TEST(TextRuleResult, EachRuleSaysHowItWasDoneAndWhy) {
    // A character of the private use area: no font of the fallback's chain has it.
    const char* const kNoFontHasIt = "\xEE\x80\x80";
    const auto input = kit("std14_helvetica.pdf");
    TempDir dir;
    EngineRun run = runTextRules(dir, input,
                                 {{1, 217, kInvoiceTop, 30, 12, "today", "toady"},
                                  {1, 217, kInvoiceTop + 20, 30, 12, "due", "Due"},
                                  {1, 217, kInvoiceTop, 30, 12, "zzz", "Paid"},
                                  {1, 157, kInvoiceTop, 34, 12, "12345", "\xCE\xA9"},
                                  {1, 72, kInvoiceTop, 30, 12, "Invoice", kNoFontHasIt},
                                  {9, 72, kInvoiceTop, 30, 12, "Invoice", "Bill"}});
    EXPECT_EQ(
        run.ruleResults(),
        (std::vector<std::string>{
            "own font",
            "fallback font: the find text is not at this place; written in Liberation Sans",
            "fallback font: the find text is not on the page; written in Liberation Sans",
            "fallback font: the font Helvetica has no glyph for \"\xCE\xA9\" (U+03A9); "
            "written in Liberation Sans",
            "not done: the font Helvetica has no glyph for \"" + std::string(kNoFontHasIt) +
                "\" (U+E000); the fallback font has no glyph for \"" + kNoFontHasIt + "\" (U+E000)",
            "not done: page 9 does not exist"}))
        << run.result.output;
    EXPECT_EQ(run.changeResults(), (std::vector<int>{1, 1, 1, 1, 0, 0}));
    // The rule the fallback font cannot show leaves its text in place.
    EXPECT_EQ(lineAt(testsupport::extractWords(run.output), 1, 87.384).rfind("Invoice", 0), 0u);
}

TEST(TextRulePages, RuleOnPageZeroOrBeyondChangesNothing) {
    const auto input = kit("std14_helvetica.pdf");
    const std::vector<Word> before = testsupport::extractWords(input);
    for (int page : {0, 2}) {
        SCOPED_TRACE("page " + std::to_string(page));
        TempDir dir;
        EngineRun run =
            runTextRules(dir, input, {{page, 217, kInvoiceTop, 30, 12, "today", "toady"}});
        EXPECT_EQ(run.changeResults(), std::vector<int>{0});
        EXPECT_EQ(run.matchedRecords(), 0);
        ASSERT_TRUE(std::filesystem::exists(run.output));
        const std::vector<Word> after = testsupport::extractWords(run.output);
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].text, before[i].text);
            EXPECT_NEAR(after[i].xMin, before[i].xMin, 0.001);
            EXPECT_NEAR(after[i].yMin, before[i].yMin, 0.001);
        }
        EXPECT_TRUE(
            addedFonts(testsupport::listFonts(input), testsupport::listFonts(run.output)).empty());
    }
}

TEST(TextRuleFallback, FindTextNowhereRemovesTheOldTextInTheRectangleAndWritesTheNew) {
    // The rectangle covers "12345" on the invoice line; "zzz" is nowhere, and an empty find
    // text always overwrites.
    const auto input = kit("std14_helvetica.pdf");
    for (const char* find : {"zzz", ""}) {
        SCOPED_TRACE(std::string("find \"") + find + "\"");
        TempDir dir;
        EngineRun run = runTextRules(dir, input, {{1, 157, kInvoiceTop, 34, 12, find, "Paid"}});
        EXPECT_EQ(run.changeResults(), std::vector<int>{1});
        EXPECT_EQ(run.matchedRecords(), 0);
        EXPECT_TRUE(fallbackFontAdded(input, run.output));
        const std::vector<Word> after = testsupport::extractWords(run.output);
        EXPECT_EQ(testsupport::extractText(run.output).find("12345"), std::string::npos);
        std::optional<Word> paid = uniqueWord(after, 1, "Paid");
        ASSERT_TRUE(paid.has_value()) << pageWords(after, 1);
        EXPECT_NEAR(paid->xMin, 157, 1.0);
        // On the line of the text it cleared, at its size: level with the words beside it.
        const std::optional<Word> invoice = uniqueWord(after, 1, "Invoice");
        ASSERT_TRUE(invoice.has_value());
        EXPECT_NEAR(paid->yMax, invoice->yMax, 1.0);
        EXPECT_NEAR(paid->yMax - paid->yMin, 12 * 1.117, 0.2);  // Liberation Sans at 12
        expectNear(xPositions(after, 1, "Invoice"), {72}, 0.01);
        expectNear(xPositions(after, 1, "number"), {113.352}, 0.01);
        expectNear(xPositions(after, 1, "due"), {194.064}, 0.01);
        expectNear(xPositions(after, 1, "today"), {217.416}, 0.01);
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

// Sets an environment variable for the life of the object (the engine inherits it).
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        ::setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (had_) {
            ::setenv(name_.c_str(), old_.c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }

  private:
    std::string name_, old_;
    bool had_ = false;
};

TEST(TextRuleFallback, MissingFallbackFontIsReportedAndLeavesThePageAlone) {
    const auto input = kit("std14_helvetica.pdf");
    ScopedEnv env("RELETTRA_FALLBACK_FONT", "/nonexistent/LiberationSans.ttf");
    TempDir dir;
    // The first rule needs the fallback font; the second is a true edit and needs none.
    EngineRun run = runTextRules(dir, input,
                                 {{1, 157, kInvoiceTop, 34, 12, "zzz", "Paid"},
                                  {1, 217, kInvoiceTop, 30, 12, "today", "toady"}});
    EXPECT_EQ(run.changeResults(), (std::vector<int>{0, 1}));
    EXPECT_NE(run.result.errors.find("/nonexistent/LiberationSans.ttf"), std::string::npos)
        << run.result.errors;
    ASSERT_TRUE(std::filesystem::exists(run.output));
    const std::vector<Word> after = testsupport::extractWords(run.output);
    EXPECT_EQ(lineAt(after, 1, 87.384), "Invoice number 12345 due toady");
    EXPECT_TRUE(wordsNamed(after, 1, "Paid").empty());
    EXPECT_TRUE(
        addedFonts(testsupport::listFonts(input), testsupport::listFonts(run.output)).empty());
}

}  // namespace
