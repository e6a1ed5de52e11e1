// Text that a producer wrote in pieces: a word in several strings, each moved by Td or Tm to
// where the previous one ended (typesetters and browsers that kern or place glyphs themselves),
// words set apart by TJ adjustments instead of spaces, ligature glyphs, and pieces of other sizes.
// A rule edits such text in its own font, the text after the edit follows the new text as it
// followed the old (later pieces of its line included, and nothing past the line), and the rule
// still says so when the font cannot show the new text.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "text_test_support.h"

namespace {

using testsupport::TempDir;
using testsupport::Word;
using namespace texttest;

// Helvetica 12 (code 174 is the fi ligature), one line per baseline. "Tech" is 26.676 points
// wide, "Big" 17.34, "Tiny" 22.668, "Wide" 27.336, " blue" 26.016.
const char* const kContent =
    "BT /F1 12 Tf 72 700 Td (Tech) Tj 26.676 0 Td (nical words) Tj ET\n"
    "BT /F1 12 Tf 72 650 Td (left) Tj 60 0 Td (right) Tj ET\n"
    "BT /F1 12 Tf 72 600 Td [(ran) -250 (for) -250 (forty) -250 (minutes)] TJ ET\n"
    "BT /F1 12 Tf 72 550 Td (Big) Tj /F1 14 Tf 17.34 0 Td (ger) Tj ET\n"
    "BT /F1 12 Tf 72 500 Td (Tiny) Tj 22.668 0 Td ( red barn) Tj 0 -20 Td (next line) Tj ET\n"
    "BT /F1 12 Tf 1 0 0 1 72 450 Tm (Wide) Tj 1 0 0 1 99.336 450 Tm ( blue) Tj\n"
    "1 0 0 1 125.352 450 Tm ( shed) Tj ET\n"
    "BT /F1 12 Tf 72 400 Td (A \\256ne day) Tj ET\n";
const char* const kEncoding =
    "<< /Type /Encoding /BaseEncoding /WinAnsiEncoding /Differences [174 /fi] >>";

struct PieceCase {
    const char* name;
    PointRule rule;
    const char* result;  // the "Rule result:" line, without its prefix
    const char* line;    // the edited line as pdftotext reads it afterwards
    // The word after the edit follows the edited word (old and new) as closely as it did.
    const char* oldWord;
    const char* newWord;
    const char* following;
    const char* staying;  // a word that keeps its place, or null
};

TEST(TextInPieces, wordOverPiecesOrAdjustmentGaps_editedInItsFontUnlessPiecesStandApart) {
    const PieceCase cases[] = {
        {"word over two pieces",
         {1, 72, topOf(700), 60, 12, "Technical", "Practical"},
         "own font",
         "Practical words",
         "Technical",
         "Practical",
         "words",
         nullptr},
        {"word inside a longer word, box over both, gaps kept",
         {1, 72, topOf(600), 60, 12, "for", "orf"},
         "own font",
         "ran orf orfty minutes",
         "forty",
         "orfty",
         "minutes",
         nullptr},
        {"find text over an adjustment gap",
         {1, 72, topOf(600), 60, 12, "for forty", "by ninety"},
         "own font",
         "ran by ninety minutes",
         "forty",
         "ninety",
         "minutes",
         nullptr},
        {"wider word, the next piece (Td) follows, the next line (Td) stays",
         {1, 72, topOf(500), 23, 12, "Tiny", "Enormous"},
         "own font",
         "Enormous red barn",
         "Tiny",
         "Enormous",
         "red",
         "next"},
        {"narrower word, each later piece (Tm) follows",
         {1, 72, topOf(450), 28, 12, "Wide", "Slim"},
         "own font",
         "Slim blue shed",
         "Wide",
         "Slim",
         "blue",
         nullptr},
        {"ligature glyph read as its letters",
         {1, 83, topOf(400), 20, 12, "fine", "good"},
         "own font",
         "A good day",
         "fine",
         "good",
         "day",
         nullptr},
        {"pieces far apart stay apart",
         {1, 72, topOf(650), 120, 12, "left right", "both"},
         "fallback font: the find text is not on the page; written in Liberation Sans",
         "both",
         nullptr,
         nullptr,
         nullptr,
         nullptr},
        {"pieces of other sizes, each in its own size",
         {1, 72, topOf(550), 40, 12, "Bigger", "Larger"},
         "own font",
         "Larger",
         nullptr,
         nullptr,
         nullptr,
         nullptr},
        {"new text the font cannot show",
         {1, 72, topOf(700), 52, 12, "Technical", "Tech\xCE\xA9"},
         "fallback font: the font Helvetica has no glyph for \"\xCE\xA9\" (U+03A9); written in "
         "Liberation Sans",
         "Tech\xCE\xA9",
         nullptr,
         nullptr,
         nullptr,
         nullptr},
    };
    TempDir made;
    const auto input = made / "pieces.pdf";
    writeHelveticaPdf(input, kContent, kEncoding);
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
        if (c.staying != nullptr) {
            std::optional<Word> before1 = uniqueWord(before, 1, c.staying);
            std::optional<Word> after1 =
                uniqueWord(testsupport::extractWords(run.output), 1, c.staying);
            ASSERT_TRUE(before1 && after1);
            EXPECT_NEAR(after1->xMin, before1->xMin, 0.01);
            EXPECT_NEAR(after1->yMin, before1->yMin, 0.01);
        }
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

struct KitCase {
    const char* file;
    int size;
    const char* find;
    const char* replace;
    const char* following;  // the word after the edited one
    const char* further;    // a word further along the line, in a later piece
    const char* nextLine;   // a word of the next line
};

TEST(TextInPiecesKit, editOfAnotherWidth_restOfItsLineFollowsAndTheNextLineStays) {
    const KitCase cases[] = {
        // Pieces placed by Td, the line after by Tm.
        {"chromium_page.pdf", 12, "filed", "saved", "their", "waffle", "pairs"},
        {"chromium_page.pdf", 12, "officials", "clerks", "filed", "fluffiness", "pairs"},
        // Justified pieces placed by Td.
        {"groff_memo.pdf", 11, "pumping", "pumpingWWW", "station", "Riverside", "emergency"},
        // Words set apart by TJ numbers: added letters stay with their word, on either side.
        {"tj_kerning.pdf", 12, "Total", "Totals", "amount", "due", "AVATAR"},
        {"tj_kerning.pdf", 12, "amount", "examount", "due", "due", "AVATAR"},
        {"pdflatex_article.pdf", 10, "first", "firsts", "office", "staff", "into"},
    };
    for (const KitCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.find + " -> " + c.replace);
        const auto input = testsupport::kitDir() / c.file;
        const std::vector<Word> before = testsupport::extractWords(input);
        std::optional<Word> oldWord = uniqueWord(before, 1, c.find);
        ASSERT_TRUE(oldWord.has_value());
        TempDir dir;
        EngineRun run =
            runTextRules(dir, input, {ruleOverWord(*oldWord, c.size, c.find, c.replace)});
        EXPECT_EQ(run.ruleResults(), std::vector<std::string>{"own font"}) << run.result.output;
        const std::vector<Word> after = testsupport::extractWords(run.output);
        std::optional<Word> newWord = uniqueWord(after, 1, c.replace);
        ASSERT_TRUE(newWord.has_value()) << pageWords(after, 1);
        EXPECT_NEAR(newWord->xMin, oldWord->xMin, 0.01);
        // Words after it keep their distance from its end; the next line stays.
        for (const char* text : {c.following, c.further}) {
            std::optional<Word> old = uniqueWord(before, 1, text);
            std::optional<Word> now = uniqueWord(after, 1, text);
            ASSERT_TRUE(old && now) << text << ": " << pageWords(after, 1);
            EXPECT_NEAR(now->xMin - newWord->xMax, old->xMin - oldWord->xMax, 0.05) << text;
        }
        std::optional<Word> oldNext = uniqueWord(before, 1, c.nextLine);
        std::optional<Word> newNext = uniqueWord(after, 1, c.nextLine);
        ASSERT_TRUE(oldNext && newNext);
        EXPECT_NEAR(newNext->xMin, oldNext->xMin, 0.01);
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

}  // namespace
