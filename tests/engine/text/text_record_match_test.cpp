// Where a text record stands and whether it stands at a rule's place, and the replacement of
// the find text inside a record's text.

#include "runners/text_record_match.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A record drawn with text matrix (a b c d e f) under `ctm`, at font size `size`.
TPDFStack record(double a, double b, double c, double d, double e, double f, double size,
                 double rise = 0, const double* ctm = nullptr) {
    TPDFStack r;
    const double tm[6] = {a, b, c, d, e, f};
    for (int i = 0; i < 6; ++i) r.tm[i] = tm[i];
    if (ctm != nullptr) {
        for (int i = 0; i < 6; ++i) r.ctm[i] = ctm[i];
    }
    r.fontSize = size;
    r.textRise = rise;
    return r;
}

TEST(MeasureRecord, UprightTextGivesSizeOriginAndAngleZero) {
    RecordGeometry g = MeasureRecord(record(1, 0, 0, 1, 72, 696, 12));
    EXPECT_DOUBLE_EQ(g.size, 12);
    EXPECT_DOUBLE_EQ(g.originX, 72);
    EXPECT_DOUBLE_EQ(g.originY, 696);
    EXPECT_EQ(g.angle, 0);
}

TEST(MeasureRecord, TextMatrixComesBeforeTheTransformationMatrix) {
    // A producer that flips y in the CTM and again in the text matrix, with Tf 1: the text is
    // upright, 12 points, its baseline 720 from the bottom.
    const double flip[6] = {1, 0, 0, -1, 0, 792};
    RecordGeometry g = MeasureRecord(record(12, 0, 0, -12, 72, 72, 1, 0, flip));
    EXPECT_DOUBLE_EQ(g.size, 12);
    EXPECT_DOUBLE_EQ(g.originX, 72);
    EXPECT_DOUBLE_EQ(g.originY, 720);
    EXPECT_EQ(g.angle, 0);
}

TEST(MeasureRecord, ScalingCtmAndRiseMoveSizeAndOrigin) {
    const double scale2[6] = {2, 0, 0, 2, 10, 20};
    RecordGeometry g = MeasureRecord(record(1, 0, 0, 1, 30, 300, 6, 1.5, scale2));
    EXPECT_DOUBLE_EQ(g.size, 12);
    EXPECT_DOUBLE_EQ(g.originX, 70);
    EXPECT_DOUBLE_EQ(g.originY, 623);  // (300 + 1.5) * 2 + 20
}

TEST(MeasureRecord, AngleOfTurnedText) {
    struct Case {
        const char* name;
        double a, b, c, d;
        int angle;
    };
    // Angles count clockwise on the page: y grows downward in the rule's view.
    const Case cases[] = {
        {"upright", 1, 0, 0, 1, 0},
        {"running bottom to top", 0, 1, -1, 0, 270},
        {"running top to bottom", 0, -1, 1, 0, 90},
        {"upside down", -1, 0, 0, -1, 180},
        {"three degrees counter-clockwise", 0.99863, 0.052336, -0.052336, 0.99863, 356},
        {"degenerate matrix", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MeasureRecord(record(c.a, c.b, c.c, c.d, 100, 100, 12)).angle, c.angle) << c.name;
    }
}

struct MatchCase {
    const char* name;
    TPDFStack rec;
    double pageHeight;
    int top, width, height;
    bool matches;
};

TEST(RecordMatchesRule, SizeAndTopWithinHalfTheSize) {
    // Size 12 with its baseline 696 from the bottom: its top is 792 - 696 - 12 = 84.
    const TPDFStack r12 = record(1, 0, 0, 1, 72, 696, 12);
    const MatchCase cases[] = {
        {"exact place", r12, 792, 84, 100, 12, true},
        {"height 5 larger and top 3 lower", r12, 792, 87, 100, 17, true},
        {"height 6 larger", r12, 792, 87, 100, 18, false},
        {"height 5 smaller", r12, 792, 84, 100, 7, true},
        {"height 6 smaller", r12, 792, 84, 100, 6, false},
        {"top 5 lower", r12, 792, 89, 100, 12, true},
        {"top 6 lower", r12, 792, 90, 100, 12, false},
        {"top 5 higher", r12, 792, 79, 100, 12, true},
        {"top 6 higher", r12, 792, 78, 100, 12, false},
        {"width takes no part for horizontal text", r12, 792, 84, 1, 12, true},
        // The page height is cut to whole points: 792.9 counts as 792, so the top stays 84.
        {"fractional page height truncated", r12, 792.9, 90, 100, 12, false},
        {"tilted 3 degrees compares the height",
         record(0.99863, 0.052336, -0.052336, 0.99863, 100, 200, 12), 792, 580, 100, 12, true},
        {"tilted 3 degrees ignores the width",
         record(0.99863, 0.052336, -0.052336, 0.99863, 100, 200, 12), 792, 580, 40, 12, true},
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(RecordMatchesRule(MeasureRecord(c.rec), c.pageHeight, c.top, c.width, c.height),
                  c.matches)
            << c.name;
    }
}

TEST(RecordMatchesRule, Type3TextMatchesARuleWhoseMiddleIsInItsEmBox) {
    // Readers guess a Type 3 font's size from its widths: a box 7 high whose middle is 4 below
    // the em box's middle is on the text; one whose middle is outside the em box is not.
    TPDFStack r12 = record(1, 0, 0, 1, 72, 696, 12);
    r12.sizeGuessedByReaders = true;
    const MatchCase cases[] = {
        {"smaller box, lower middle", r12, 792, 90, 100, 7, true},
        {"exact em box", r12, 792, 84, 100, 12, true},
        {"middle below the em box", r12, 792, 94, 100, 7, false},
        {"tiny box", r12, 792, 88, 100, 2, false},
        {"box twice the em", r12, 792, 78, 100, 24, false},
    };
    TPDFStack up = record(0, 1, -1, 0, 300, 300, 12);
    up.sizeGuessedByReaders = true;
    const MatchCase turned[] = {
        {"running up, width near twice the size", up, 792, 438, 22, 54, true},
        {"running up, width twice the size", up, 792, 438, 24, 54, false},
    };
    for (const auto& group : {std::vector<MatchCase>(std::begin(cases), std::end(cases)),
                              std::vector<MatchCase>(std::begin(turned), std::end(turned))}) {
        for (const MatchCase& c : group) {
            EXPECT_EQ(
                RecordMatchesRule(MeasureRecord(c.rec), c.pageHeight, c.top, c.width, c.height),
                c.matches)
                << c.name;
        }
    }
}

TEST(RecordMatchesRule, VerticalTextComparesTheRuleWidth) {
    // The rule's top is the displayed top of the text: for text running up (270 degrees) from
    // (300, 300) that is 792 - 300 - rule height, for text running down (90 degrees) from
    // (400, 600) it is 792 - 600, where the text starts.
    const TPDFStack up = record(0, 1, -1, 0, 300, 300, 12);
    const TPDFStack down = record(0, -1, 1, 0, 400, 600, 12);
    // Size 12.9: the compared size is cut to 12, so the tolerance is 6, not 6.45.
    const TPDFStack upLarger = record(0, 1, -1, 0, 300, 300, 12.9);
    const MatchCase cases[] = {
        {"270 degrees, width equals the size", up, 792, 438, 12, 54, true},
        {"270 degrees, width 5 more", up, 792, 438, 17, 54, true},
        {"270 degrees, width 6 more", up, 792, 438, 18, 54, false},
        {"270 degrees, height like the size but width far off", up, 792, 480, 54, 12, false},
        {"270 degrees, top 6 off", up, 792, 432, 12, 54, false},
        {"90 degrees, width equals the size", down, 792, 192, 12, 74, true},
        {"90 degrees, width 6 less", down, 792, 192, 6, 74, false},
        {"90 degrees, top 5 lower", down, 792, 197, 12, 74, true},
        {"90 degrees, top less the height does not match", down, 792, 192 - 74, 12, 74, false},
        {"compared size truncated, width 5 below", upLarger, 792, 438, 7, 54, true},
        {"compared size truncated, width 6 above", upLarger, 792, 438, 18, 54, false},
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(RecordMatchesRule(MeasureRecord(c.rec), c.pageHeight, c.top, c.width, c.height),
                  c.matches)
            << c.name;
    }
    // The band is 5 degrees wide, open at its edge: a rule that fits the text as text running
    // down (width 12, top 792 - 300) matches at 87 degrees and not at 85, where the text is
    // compared like horizontal text, by its size and top against the rule's height and top.
    for (int degrees : {85, 87}) {
        const double rad = (degrees + 0.25) * 3.14159265358979323846 / 180;
        RecordGeometry g = MeasureRecord(
            record(std::cos(rad), -std::sin(rad), std::sin(rad), std::cos(rad), 300, 300, 12));
        ASSERT_EQ(g.angle, degrees);
        EXPECT_EQ(RecordMatchesRule(g, 792, 492, 12, 100), degrees == 87) << degrees;
    }
}

TEST(RecordMatchesRule, VerticalRecordMatchesARuleOnAnyStretchOfIt) {
    // Text 100 points long running down from (400, 600) (displayed y 192 to 292) and running up
    // from (300, 300) (displayed y 392 to 492); rules 30 high, tolerance 6.
    TPDFStack down = record(0, -1, 1, 0, 400, 600, 12);
    down.advance = 100;
    TPDFStack up = record(0, 1, -1, 0, 300, 300, 12);
    up.advance = 100;
    TPDFStack shortDown = down;
    shortDown.advance = 10;
    const MatchCase cases[] = {
        {"down, at its start", down, 792, 192, 12, 30, true},
        {"down, in its middle", down, 792, 240, 12, 30, true},
        {"down, at its end", down, 792, 262, 12, 30, true},
        {"down, 7 past its end", down, 792, 269, 12, 30, false},
        {"down, 7 before its start", down, 792, 185, 12, 30, false},
        {"up, at its start", up, 792, 462, 12, 30, true},
        {"up, at its far end", up, 792, 392, 12, 30, true},
        {"up, 7 beyond its far end", up, 792, 385, 12, 30, false},
        {"rule longer than the record, at its start", shortDown, 792, 197, 12, 30, true},
        {"rule longer than the record, 7 off its start", shortDown, 792, 199, 12, 30, false},
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(RecordMatchesRule(MeasureRecord(c.rec), c.pageHeight, c.top, c.width, c.height),
                  c.matches)
            << c.name;
    }
}

TEST(RecordMatchesRule, UpsideDownTextHasItsTopAtItsBaseline) {
    // Half a turn at (500, 600), by the text matrix or by the transformation matrix: its glyphs
    // hang below the baseline at displayed y 192.
    const double halfTurn[6] = {-1, 0, 0, -1, 612, 792};
    const TPDFStack byTm = record(-1, 0, 0, -1, 500, 600, 12);
    const TPDFStack byCm = record(1, 0, 0, 1, 112, 192, 12, 0, halfTurn);
    const MatchCase cases[] = {
        {"top at the baseline", byTm, 792, 192, 60, 12, true},
        {"top 5 above it", byTm, 792, 187, 60, 12, true},
        {"top a size above it, as for upright text", byTm, 792, 180, 60, 12, false},
        {"turned by the transformation matrix", byCm, 792, 192, 60, 12, true},
        {"height far from the size", byCm, 792, 192, 60, 20, false},
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(RecordMatchesRule(MeasureRecord(c.rec), c.pageHeight, c.top, c.width, c.height),
                  c.matches)
            << c.name;
    }
}

TEST(WritingDirection, QuartersAsTheAngleRuleTellsThem) {
    struct Case {
        double degrees;  // counter-clockwise, as the text matrix turns
        int direction;   // clockwise on the displayed page
    };
    const Case cases[] = {{0, 0},    {3, 0},    {-3, 0},   {178, 180}, {182, 180},
                          {-90, 90}, {-88, 90}, {90, 270}, {93, 270},  {80, 0}};
    for (const Case& c : cases) {
        const double rad = c.degrees * 3.14159265358979323846 / 180;
        const RecordGeometry g = MeasureRecord(
            record(std::cos(rad), std::sin(rad), -std::sin(rad), std::cos(rad), 300, 300, 12));
        EXPECT_EQ(WritingDirection(g), c.direction) << c.degrees;
    }
}

TEST(SplitOverParts, EachPartTakesAsManyCharactersAsItHeldAndTheLastTheRest) {
    struct Case {
        const char* replacement;
        std::vector<size_t> lengths;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"Larger", {3, 3}, {"Lar", "ger"}},
        {"Joined", {5, 4}, {"Joine", "d"}},
        {"Longer word", {1, 1, 1}, {"L", "o", "nger word"}},
        {"Hi", {1, 1, 1}, {"H", "i", ""}},
        {"", {2, 2}, {"", ""}},
        {"\xCE\xB1\xCE\xB2g", {1, 2}, {"\xCE\xB1", "\xCE\xB2g"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitOverParts(c.replacement, c.lengths), c.pieces) << c.replacement;
    }
    EXPECT_EQ(CharacterCount("Caf\xC3\xA9"), 4u);
}

TEST(FitOverParts, EachPartTakesAPieceItsFontShows_cutAsNearAsCanBeToTheOldLengths) {
    struct Case {
        const char* name;
        const char* replacement;
        std::vector<size_t> lengths;
        std::vector<std::string> alphabets;  // the characters each part's font shows
        std::vector<std::string> pieces;     // empty: no cut fits
    };
    const Case cases[] = {
        {"the cut by the old lengths fits", "abc", {1, 2}, {"abc", "abc"}, {"a", "bc"}},
        {"a bracket goes to the upright font, the letter to the italic one",
         "x)(",
         {1, 1, 1},
         {"()", "x", "()"},
         {"", "x", ")("}},
        {"the last part takes what the others cannot", "=1k", {1, 2}, {"k", "=1"}, {}},
        {"letters in a part beyond the old length",
         "Kestrel\",(",
         {2, 7, 2},
         {"(\",", "Kestrl", "(\","},
         {"", "Kestrel", "\",("}},
        {"the nearest fitting cut wins", "aaaa", {2, 2}, {"a", "a"}, {"aa", "aa"}},
        {"characters of several bytes stay whole",
         "\xCE\xB1"
         "b",
         {1, 1},
         {"\xCE\xB1", "b"},
         {"\xCE\xB1", "b"}},
    };
    for (const Case& c : cases) {
        const auto shows = [&](size_t part, const std::string& piece) {
            for (size_t i = 0; i < piece.size();) {
                size_t length = 1;
                while (i + length < piece.size() &&
                       (static_cast<unsigned char>(piece[i + length]) & 0xC0) == 0x80) {
                    ++length;
                }
                if (c.alphabets[part].find(piece.substr(i, length)) == std::string::npos) {
                    return false;
                }
                i += length;
            }
            return true;
        };
        EXPECT_EQ(FitOverParts(c.replacement, c.lengths, shows), c.pieces) << c.name;
    }
}

TEST(ReplaceAll, EveryOccurrenceLeftToRightOnce) {
    struct Case {
        const char* text;
        const char* find;
        const char* replacement;
        const char* expected;
    };
    const Case cases[] = {
        {"alpha beta alpha gamma", "alpha", "ahpla", "ahpla beta ahpla gamma"},
        {"alpha beta alpha", "alpha", "alphalpha", "alphalpha beta alphalpha"},
        {"beta", "alpha", "x", "beta"},
        {"aaa", "aa", "b", "ba"},
        {"ab ab", "ab", "", " "},
        {"text", "", "x", "text"},
        {"Caf\xC3\xA9 menu", "\xC3\xA9", "e", "Cafe menu"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplaceAll(c.text, c.find, c.replacement), c.expected)
            << c.text << " / " << c.find;
    }
}

TEST(OccurrenceAtRule, MiddleOfItsGlyphsWithinTheRuleAlongTheWritingDirection) {
    struct Case {
        const char* name;
        TPDFStack rec;
        double box[4];  // displayed page, y downward
        int left, top, width, height;
        bool atRule;
    };
    const TPDFStack across = record(1, 0, 0, 1, 72, 696, 12);
    const TPDFStack up = record(0, 1, -1, 0, 300, 300, 12);
    const Case cases[] = {
        {"middle 110 inside [100, 120]", across, {100, 84, 120, 96}, 100, 0, 20, 12, true},
        {"middle on the right edge", across, {100, 84, 120, 96}, 90, 0, 20, 12, true},
        {"middle just past the right edge", across, {100, 84, 120, 96}, 90, 0, 19, 12, false},
        {"middle before the left edge", across, {100, 84, 120, 96}, 111, 0, 20, 12, false},
        {"running up: middle 415 inside [400, 430]",
         up,
         {291, 400, 303, 430},
         0,
         400,
         12,
         30,
         true},
        {"running up: middle above the rule", up, {291, 400, 303, 430}, 291, 416, 12, 30, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OccurrenceAtRule(MeasureRecord(c.rec), c.box, c.left, c.top, c.width, c.height),
                  c.atRule)
            << c.name;
    }
}

TEST(ReplaceOccurrences, OnlyTheGivenOccurrences) {
    const std::string text = "Sign in within the building";
    ASSERT_EQ(FindOccurrences(text, "in"), (std::vector<size_t>{5, 12, 24}));
    EXPECT_EQ(ReplaceOccurrences(text, "in", "IN", {5}), "Sign IN within the building");
    EXPECT_EQ(ReplaceOccurrences(text, "in", "", {12, 24}), "Sign in with the buildg");
}

}  // namespace
