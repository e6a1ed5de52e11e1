// Hevrit's pure parts: the rule box of a word (checked against the engine's own matching), the
// shared pixel/point units, the text layer's lines, the command line and the page range.

#include <gtest/gtest.h>
#include <marqel/page_units.h>

#include <cmath>

#include "command_line.h"
#include "hevrit_layer_reader.h"
#include "page_range.h"
#include "runners/text_record_match.h"
#include "text_layer_writer.h"
#include "word_box.h"

namespace {

TEST(PointsToRulePixels, engineReadsTheNearestWholePointAndThePixelIsTheNearestThatDoes) {
    for (int hundredths = 0; hundredths <= 100000; ++hundredths) {
        const double points = hundredths / 100.0;
        const int pixels = marqel::pointsToRulePixels(points);
        ASSERT_EQ(marqel::pixelsToPoints(pixels), std::llround(points)) << points;
        const double exact = marqel::pointsToPixels(points);
        for (int other : {pixels - 1, pixels + 1}) {
            if (marqel::pixelsToPoints(other) == marqel::pixelsToPoints(pixels)) {
                ASSERT_LE(std::fabs(pixels - exact), std::fabs(other - exact)) << points;
            }
        }
    }
    EXPECT_EQ(marqel::pointsToRulePixels(-3.0), 0);
    EXPECT_EQ(marqel::pointsToRulePixels(std::nan("")), 0);
}

// A text record of the engine and the box the PDF library reports for the same word, for a
// font with the given ascent and descent (shares of the size).
struct BoxCase {
    const char* name;
    int engineAngle;  // 0, 90 (running down) or 270 (running up)
    double size, ascent, descent, pageHeight;
};

RecordGeometry recordAt(const BoxCase& c, double x, double y) {
    TPDFStack record;
    const double turns[3][4] = {{1, 0, 0, 1}, {0, -1, 1, 0}, {0, 1, -1, 0}};
    const double* m = turns[c.engineAngle == 0 ? 0 : c.engineAngle == 90 ? 1 : 2];
    const double tm[6] = {m[0], m[1], m[2], m[3], x, y};
    std::copy(tm, tm + 6, record.tm);
    record.fontSize = c.size;
    return MeasureRecord(record);
}

// The library's box of a 60-point-long word starting at upright (x, y).
WordGeometry libraryBox(const BoxCase& c, double x, double y) {
    const double top = c.pageHeight - y;  // displayed y of the start
    const double up = c.ascent * c.size, down = c.descent * c.size, length = 60;
    switch (c.engineAngle) {
        case 90:
            return {x - down, top, x + up, top + length, 1, c.size};
        case 270:
            return {x - up, top - length, x + down, top, 3, c.size};
        default:
            return {x, top - up, x + length, top + down, 0, c.size};
    }
}

TEST(RuleBoxForWord, engineMatchesTheWordsRecordButNotTheNextLine) {
    const BoxCase cases[] = {
        {"helvetica12", 0, 12, 0.718, 0.207, 792},
        {"liberationSans9", 0, 9, 0.905, 0.212, 792},
        {"times20A4", 0, 20, 0.683, 0.217, 841.89},
        {"defaultMetrics7", 0, 7, 0.95, 0.35, 595.3},
        {"downHelvetica12", 90, 12, 0.718, 0.207, 612},
        {"downTimes8A4", 90, 8, 0.683, 0.217, 595.28},
        {"upHelvetica12", 270, 12, 0.718, 0.207, 612},
        {"upLiberation10A4", 270, 10, 0.905, 0.212, 841.89},
    };
    for (const BoxCase& c : cases) {
        for (const double x : {72.0, 300.5}) {
            for (const double y : {80.0, 0.55 * c.pageHeight, c.pageHeight - 90.3}) {
                const RuleBox box = ruleBoxForWord(libraryBox(c, x, y), c.pageHeight);
                auto matches = [&](double lineX, double lineY) {
                    return RecordMatchesRule(
                        recordAt(c, lineX, lineY), c.pageHeight, marqel::pixelsToPoints(box.top),
                        marqel::pixelsToPoints(box.width), marqel::pixelsToPoints(box.height));
                };
                EXPECT_TRUE(matches(x, y)) << c.name << " at " << x << "," << y;
                // The neighbouring line, 1.2 sizes away across or a word's length along the text.
                const bool across = c.engineAngle == 0;
                EXPECT_FALSE(across ? matches(x, y - 1.2 * c.size) : matches(x, y - 60))
                    << c.name << " at " << x << "," << y;
            }
        }
    }
}

// Helvetica 12 boxes as the library reports them; the engine's reading of the rule box in points.
TEST(RuleBoxForWord, emBoxOnTheBaselineAsTheEngineReadsIt) {
    struct Case {
        WordGeometry word;
        double pageHeight;
        int left, top, width, height;
    };
    const Case cases[] = {
        // Baseline 72 points from the top; on a page 841.89 high the engine measures from 841.
        {{72, 63.384, 101.352, 74.484, 0, 12}, 792, 72, 60, 29, 12},
        {{72, 63.384, 101.352, 74.484, 0, 12}, 841.89, 72, 59, 29, 12},
        // Running down: em box right of the baseline x = 720; its length is not compared.
        {{717.516, 72, 728.616, 100.02, 1, 12}, 612, 720, 72, 12, 27},
        // Running up from y = 492: top + height read as 492.
        {{291.384, 438.672, 302.484, 492, 3, 12}, 792, 288, 439, 12, 53},
    };
    for (const Case& c : cases) {
        const RuleBox box = ruleBoxForWord(c.word, c.pageHeight);
        const std::vector<int> read = {
            marqel::pixelsToPoints(box.left), marqel::pixelsToPoints(box.top),
            marqel::pixelsToPoints(box.width), marqel::pixelsToPoints(box.height)};
        EXPECT_EQ(read, std::vector<int>({c.left, c.top, c.width, c.height}))
            << "rotation " << c.word.rotation << " page height " << c.pageHeight;
    }
}

TEST(TextLayer, wordLinesReadBackAsWrittenAndTheFrameEndsTheReading) {
    const std::vector<LayerWord> words = {
        {"Fish&Chips<b>", {10, 20, 30, 40}},
        {"\x01\t", {50, 60, 70, 80}},  // only control characters: left out
        {"A\xC2\x85"
         "B\x7F",
         {5, 5, 5, 5}},              // C1 and DEL dropped
        {"corner", {0, 0, 40, 25}},  // 0/0 would end the reading
        {"left:9;top:9\"</span>", {100, 200, 30, 25}},
    };
    const std::string layer = formatTextLayer(words, "p a#ge.png");
    EXPECT_EQ(layer.rfind("<span class=\"w\" style=\"left:10;top:20;width:30;height:40\">", 0), 0u);
    const std::vector<LayerLine> read = readLayer(layer);
    ASSERT_EQ(read.size(), 4u) << layer;
    EXPECT_EQ(read[0].word, "Fish&amp;Chips&lt;b&gt;");
    EXPECT_EQ(read[1].word, "AB");
    EXPECT_EQ(std::vector<int>({read[2].left, read[2].top, read[2].width}),
              std::vector<int>({1, 0, 40}));
    EXPECT_EQ(std::vector<int>({read[3].left, read[3].top, read[3].height}),
              std::vector<int>({100, 200, 25}));
    EXPECT_EQ(read[3].word, "left:9;top:9\"&lt;/span&gt;");
    const std::string frame = layer.substr(layer.find("<html>"));
    EXPECT_EQ(frame.find("</span>"), std::string::npos);
    EXPECT_NE(frame.find("<img src=\"p%20a%23ge.png\""), std::string::npos);
    EXPECT_EQ(formatTextLayer(words, "").find("<img"), std::string::npos);
}

TEST(CommandLine, acceptedAndRefusedLines) {
    const auto parse = [](std::vector<std::string> args) { return parseCommandLine(args); };
    const auto full = parse({"in.pdf", "-textonly", "-l", "7", "-ht", "d/p.png", "-f", "2"});
    ASSERT_TRUE(full);
    EXPECT_EQ(full->imageArgument, "d/p.png");
    EXPECT_EQ(*full->firstPage, 2);
    EXPECT_EQ(*full->lastPage, 7);
    EXPECT_TRUE(full->textOnly);
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"in.pdf"},
        {"-ht", "p.png", "in.pdf"},
        {"in.pdf", "-ht"},
        {"in.pdf", "-ht", ""},
        {"in.pdf", "-ht", "p.png", "-f", "0"},
        {"in.pdf", "-ht", "p.png", "-l", "-3"},
        {"in.pdf", "-ht", "p.png", "-f", "5", "-l", "4"},
        {"in.pdf", "-ht", "p.png", "-ht", "q.png"},
        {"in.pdf", "-ht", "p.png", "-TEXTONLY"},
    };
    for (const auto& args : refused) {
        EXPECT_FALSE(parse(args)) << args.size() << " arguments";
    }
}

TEST(PageRange, endClampedToTheDocumentStartBeyondItGivesNothing) {
    const PageRange cases[] = {resolvePageRange({}, {}, 5), resolvePageRange(3, {}, 5),
                               resolvePageRange({}, 2, 5), resolvePageRange(2, 99, 5)};
    const int expected[][2] = {{1, 5}, {3, 5}, {1, 2}, {2, 5}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cases[i].first, expected[i][0]) << i;
        EXPECT_EQ(cases[i].last, expected[i][1]) << i;
    }
    EXPECT_TRUE(resolvePageRange({}, {}, 0).empty());
    EXPECT_TRUE(resolvePageRange(9, {}, 5).empty());
    EXPECT_TRUE(resolvePageRange(9, 9, 5).empty());
}

}  // namespace
