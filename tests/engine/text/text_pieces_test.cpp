// Text that a producer wrote in pieces: a word in several strings, each moved by Td to where
// the previous one ended (typesetters and browsers that kern or place glyphs themselves), and
// words set apart by TJ adjustments instead of spaces. A rule edits such text in its own font,
// the text after the edit follows the new text as it followed the old, and the rule still says
// so when the font cannot show the new text.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "text_test_support.h"

namespace {

using testsupport::TempDir;
using testsupport::Word;
using namespace texttest;

// Helvetica 12, one line per baseline. "Tech" is 26.676 points wide, "Big" 17.34.
const char* const kContent =
    "BT /F1 12 Tf 72 700 Td (Tech) Tj 26.676 0 Td (nical words) Tj ET\n"
    "BT /F1 12 Tf 72 650 Td (left) Tj 60 0 Td (right) Tj ET\n"
    "BT /F1 12 Tf 72 600 Td [(ran) -250 (for) -250 (forty) -250 (minutes)] TJ ET\n"
    "BT /F1 12 Tf 72 550 Td (Big) Tj /F1 14 Tf 17.34 0 Td (ger) Tj ET\n";

// The top of a 12 point line on the 792 point page, from its baseline.
int topOf(int baseline) {
    return 792 - baseline - 12;
}

struct PieceCase {
    const char* name;
    PointRule rule;
    const char* result;  // the "Rule result:" line, without its prefix
    const char* line;    // the edited line as pdftotext reads it afterwards
    // The word after the edit follows the edited word (old and new) as closely as it did.
    const char* oldWord;
    const char* newWord;
    const char* following;
};

TEST(TextInPieces, wordOverPiecesOrAdjustmentGaps_editedInItsFontUnlessPiecesStandApart) {
    const PieceCase cases[] = {
        {"word over two pieces",
         {1, 72, topOf(700), 60, 12, "Technical", "Practical"},
         "own font",
         "Practical words",
         "Technical",
         "Practical",
         "words"},
        {"word inside a longer word, gaps kept",
         {1, 72, topOf(600), 40, 12, "for", "orf"},
         "own font",
         "ran orf orfty minutes",
         "forty",
         "orfty",
         "minutes"},
        {"find text over an adjustment gap",
         {1, 72, topOf(600), 60, 12, "for forty", "by ninety"},
         "own font",
         "ran by ninety minutes",
         "forty",
         "ninety",
         "minutes"},
        {"pieces far apart stay apart",
         {1, 72, topOf(650), 120, 12, "left right", "both"},
         "fallback font: the find text is not on the page",
         "both",
         nullptr,
         nullptr,
         nullptr},
        {"pieces of other sizes stay apart",
         {1, 72, topOf(550), 40, 12, "Bigger", "Larger"},
         "fallback font: the find text is not on the page",
         "Larger",
         nullptr,
         nullptr,
         nullptr},
        {"new text the font cannot show",
         {1, 72, topOf(700), 52, 12, "Technical", "Tech\xCE\xA9"},
         "fallback font: the font Helvetica has no glyph for \"\xCE\xA9\" (U+03A9)",
         "Tech\xCE\xA9",
         nullptr,
         nullptr,
         nullptr},
    };
    TempDir made;
    const auto input = made / "pieces.pdf";
    writeHelveticaPdf(input, kContent);
    const std::vector<Word> before = testsupport::extractWords(input);
    for (const PieceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        EngineRun run = runTextRules(dir, input, {c.rule});
        ASSERT_EQ(run.ruleResults(), std::vector<std::string>{c.result}) << run.result.output;
        const std::string text = testsupport::extractText(run.output);
        EXPECT_NE(text.find(c.line), std::string::npos) << text;
        EXPECT_EQ(text.find(c.rule.find), std::string::npos) << text;
        if (c.following != nullptr) {
            const std::vector<Word> after = testsupport::extractWords(run.output);
            std::optional<Word> oldWord = uniqueWord(before, 1, c.oldWord);
            std::optional<Word> oldNext = uniqueWord(before, 1, c.following);
            std::optional<Word> newWord = uniqueWord(after, 1, c.newWord);
            std::optional<Word> newNext = uniqueWord(after, 1, c.following);
            ASSERT_TRUE(oldWord && oldNext && newWord && newNext) << pageWords(after, 1);
            EXPECT_NEAR(newNext->xMin - newWord->xMax, oldNext->xMin - oldWord->xMax, 0.01);
        }
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

}  // namespace
