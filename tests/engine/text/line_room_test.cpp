// Lines make room: when an edit makes a text wider or narrower, the text after it on its line,
// in whatever text object it stands (placed by Td, Tm or a BT of its own), moves with it up to
// the end of the line, so that nothing overlaps and no gap opens; text beyond a column's gap
// stays unless the wider text would reach it, and other lines stay.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "pdf/text/line_rest.h"
#include "text_test_support.h"

namespace {

using relettra::pdf::LinePiece;
using relettra::pdf::lineRestShifts;
using testsupport::TempDir;
using testsupport::Word;
using namespace texttest;

// Helvetica 12 (F1) and Helvetica-Bold 12 (F2). "Tiny" is 22.668 points wide, "Big" 17.34.
const char* const kContent =
    "BT /F1 12 Tf 72 700 Td (Tiny) Tj ET\n"
    "BT /F1 12 Tf 100 700 Td (red barn) Tj ET\n"
    "BT /F1 12 Tf 1 0 0 1 160 700 Tm (stands) Tj ET\n"
    "BT /F1 12 Tf 72 680 Td (next line stays) Tj ET\n"
    "BT /F1 12 Tf 72 650 Td (Big) Tj /F2 12 Tf 17.34 0 Td (ger) Tj ET\n"
    "BT /F1 12 Tf 120 650 Td (words follow) Tj ET\n"
    "BT /F1 12 Tf 72 630 Td (below) Tj ET\n"
    "BT /F1 12 Tf 72 600 Td (Small) Tj 40 0 Td (gap) Tj 0 -20 Td (under) Tj ET\n"
    "BT /F1 12 Tf 72 560 Td (Cell) Tj ET BT /F1 12 Tf 300 560 Td (Column) Tj ET\n"
    "BT /F1 12 Tf 72 520 Td [(S) -100 (p) -100 (a) -100 (c) -100 (e) -100 (d) -1420 (after)] TJ "
    "ET\n"
    // Letters placed one by one 0.8 points apart (one record), and 2 points into one another (a
    // record each).
    "BT /F1 12 Tf 72 480 Td (S) Tj 8.804 0 Td (p) Tj 7.472 0 Td (a) Tj 7.472 0 Td (r) Tj "
    "4.796 0 Td (k) Tj 6.8 0 Td ( beyond) Tj ET\n"
    "BT /F1 12 Tf 72 440 Td (C) Tj 6.664 0 Td (l) Tj 0.664 0 Td (o) Tj 4.672 0 Td (s) Tj "
    "4 0 Td (e) Tj 6.672 0 Td ( by) Tj ET\n";

struct RoomCase {
    const char* name;
    PointRule rule;
    const char* newWord;  // the edited word as pdftotext reads it afterwards
    const char* oldWord;  // and before
    // Words after it on its line that keep their distance from its end.
    std::vector<const char*> following;
    // Words that stand where they stood (other lines, beyond a column's gap).
    std::vector<const char*> staying;
};

const Word& word(const std::vector<Word>& words, const char* text) {
    static const Word none;
    for (const Word& w : words) {
        if (w.text == text) return w;
    }
    ADD_FAILURE() << "no word " << text << ": " << pageWords(words, 1);
    return none;
}

TEST(LineRoom, editOfAnotherWidth_textAfterOnItsLineKeepsItsDistance_otherLinesStay) {
    const RoomCase cases[] = {
        {"wider, the next text objects (Td, Tm) follow",
         {1, 72, topOf(700), 23, 12, "Tiny", "Enormous"},
         "Enormous",
         "Tiny",
         {"red", "barn", "stands"},
         {"next", "line", "below"}},
        {"narrower, no gap opens",
         {1, 72, topOf(700), 23, 12, "Tiny", "Ti"},
         "Ti",
         "Tiny",
         {"red", "barn", "stands"},
         {"next"}},
        {"wider word over pieces in two fonts",
         {1, 72, topOf(650), 37, 12, "Bigger", "Biggerest"},
         "Biggerest",
         "Bigger",
         {"words", "follow"},
         {"below", "next"}},
        {"narrower word over pieces",
         {1, 72, topOf(650), 37, 12, "Bigger", "Big"},
         "Big",
         "Bigger",
         {"words", "follow"},
         {"below"}},
        {"the next word by Td follows, the next line by Td stays",
         {1, 72, topOf(600), 31, 12, "Small", "Smallest"},
         "Smallest",
         "Small",
         {"gap"},
         {"under"}},
        {"letters spaced apart, the last one taken off with its spacing",
         {1, 72, topOf(520), 40, 12, "Spaced", "Space"},
         "Space",
         "Spaced",
         {"after"},
         {"Column"}},
        {"letters placed apart, the last one taken off with the spacing before it",
         {1, 72, topOf(480), 50, 12, "Spark", "Spar"},
         "Spar",
         "Spark",
         {"beyond"},
         {}},
        {"letters a record each, kerned into one another, the last one taken off",
         {1, 72, topOf(440), 30, 12, "Close", "Clos"},
         "Clos",
         "Close",
         {"by"},
         {}},
        {"a word beyond a column's gap stays",
         {1, 72, topOf(560), 23, 12, "Cell", "Cellars"},
         "Cellars",
         "Cell",
         {},
         {"Column"}},
    };
    TempDir made;
    const auto input = made / "room.pdf";
    writeHelveticaPdf(input, kContent);
    const std::vector<Word> before = testsupport::extractWords(input);
    for (const RoomCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        EngineRun run = runTextRules(dir, input, {c.rule});
        ASSERT_EQ(run.ruleResults(), std::vector<std::string>{"own font"}) << run.result.output;
        const std::vector<Word> after = testsupport::extractWords(run.output);
        const Word& oldWord = word(before, c.oldWord);
        const Word& newWord = word(after, c.newWord);
        for (const char* text : c.following) {
            EXPECT_NEAR(word(after, text).xMin - newWord.xMax,
                        word(before, text).xMin - oldWord.xMax, 0.01)
                << text;
        }
        for (const char* text : c.staying) {
            EXPECT_NEAR(word(after, text).xMin, word(before, text).xMin, 0.01) << text;
            EXPECT_NEAR(word(after, text).yMin, word(before, text).yMin, 0.01) << text;
        }
        // Nothing on the edited line overlaps.
        std::vector<Word> line;
        for (const Word& w : after) {
            if (std::fabs(w.yMin - newWord.yMin) < 3) line.push_back(w);
        }
        std::sort(line.begin(), line.end(),
                  [](const Word& a, const Word& b) { return a.xMin < b.xMin; });
        for (size_t i = 1; i < line.size(); ++i) {
            EXPECT_GE(line[i].xMin, line[i - 1].xMax - 0.01)
                << line[i - 1].text << " / " << line[i].text;
        }
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

struct ShiftCase {
    const char* name;
    std::vector<LinePiece> pieces;
    double from;
    double shift;
    std::vector<double> shifts;
};

TEST(LineRoom, restOfALine_movesUpToAColumnsGapAndBeyondItOnlyToKeepItClear) {
    // em 10: a column's gap is more than 15, the least gap kept 2.5.
    const ShiftCase cases[] = {
        {"pieces that follow one another all move",
         {{52, 60}, {62, 70}, {80, 90}},
         50,
         4,
         {4, 4, 4}},
        {"narrower: the pieces before a column's gap move",
         {{52, 60}, {100, 110}},
         50,
         -4,
         {-4, 0}},
        {"wider, far from the next column: it stays", {{52, 60}, {100, 110}}, 50, 4, {4, 0}},
        {"wider, reaching near the next column: it moves to keep the least gap",
         {{52, 60}, {80, 90}, {92, 99}},
         50,
         25,
         {25, 7.5, 7.5}},
        {"a piece starting well before the end stays", {{40, 48}, {52, 60}}, 50, 4, {0, 4}},
        {"a piece kerned a little into the end follows", {{49.5, 60}}, 50, 4, {4}},
    };
    for (const ShiftCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> shifts = lineRestShifts(c.pieces, c.from, c.shift, 10);
        ASSERT_EQ(shifts.size(), c.shifts.size());
        for (size_t i = 0; i < shifts.size(); ++i) EXPECT_NEAR(shifts[i], c.shifts[i], 1e-9) << i;
    }
}

}  // namespace
