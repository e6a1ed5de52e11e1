// The changes a text rule makes to a record's text: found word by word, shared out among the
// operators of a record that a producer wrote in pieces, and the moves that let the rest of the
// record follow a change of width.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/content/content_lexer.h"
#include "pdf/text/run_changes.h"
#include "pdf/text/run_placement.h"
#include "pdf/text/text_diff.h"

namespace {

using relettra::pdf::diffByWords;
using relettra::pdf::movedPlacement;
using relettra::pdf::ParsedContent;
using relettra::pdf::PlacementMove;
using relettra::pdf::placementMoves;
using relettra::pdf::shareChanges;
using relettra::pdf::TextHunk;

std::string describe(const std::vector<TextHunk>& hunks) {
    std::string out;
    for (const TextHunk& h : hunks) {
        out += "[" + std::to_string(h.oldBegin) + "," + std::to_string(h.oldEnd) + ")" +
               (h.keepsPlace ? "~" + std::to_string(static_cast<int>(h.shift)) : "") + "\"" +
               h.replacement + "\" ";
    }
    return out;
}

TEST(DiffByWords, ChangesStayApartFromUnchangedWordsAndSpaces) {
    struct Case {
        const char* name;
        const char* before;
        const char* after;
        const char* hunks;
    };
    const Case cases[] = {
        {"equal texts", "same text", "same text", ""},
        {"two occurrences give two changes", "alpha beta alpha gamma", "ahpla beta ahpla gamma",
         "[1,4)\"hpl\" [12,15)\"hpl\" "},
        {"the shared start of a word stays", "Worldwide shipping", "Worlddewi shipping",
         "[5,9)\"dewi\" "},
        // The space between "for" and "forty" is no part of either change.
        {"word inside a longer word", "ran for forty", "ran orf orfty",
         "[4,7)\"orf\" [8,11)\"orf\" "},
        {"whole characters only", "Caf\xC3\xA9 menu", "Caf\xC3\xA8 menu", "[3,5)\"\xC3\xA8\" "},
        {"words joined", "Total amount", "Sum", "[0,12)\"Sum\" "},
        {"a word put in front", "amount", "net amount", "[0,0)\"net \" "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(describe(diffByWords(c.before, c.after)), c.hunks) << c.name;
    }
}

TEST(ShareChanges, ChangeOverSeveralPiecesIsWrittenByTheFirstAndTakenFromTheOthersInPlace) {
    struct Case {
        const char* name;
        std::vector<size_t> lengths;
        TextHunk hunk;
        std::vector<const char*> shares;  // per piece
    };
    // Pieces of "The control panel shows the firmware" as a producer wrote them:
    // "sho" (3 bytes), "ws the firmw" (12), "are" (3).
    const Case cases[] = {
        {"inside one piece", {3, 12, 3}, {7, 10, "THE"}, {"", "[4,7)\"THE\" ", ""}},
        {"over two pieces", {3, 12, 3}, {0, 4, "hows"}, {"[0,3)\"hows\" ", "[0,1)~1\"\" ", ""}},
        {"over three pieces",
         {3, 12, 3},
         {10, 18, "software"},
         {"", "[7,12)\"software\" ", "[0,3)~12\"\" "}},
        {"insertion where a piece starts goes to that piece",
         {3, 12, 3},
         {15, 15, "new "},
         {"", "", "[0,0)\"new \" "}},
        {"insertion after the last piece", {3, 12, 3}, {18, 18, "!"}, {"", "", "[3,3)\"!\" "}},
    };
    for (const Case& c : cases) {
        // What follows a change over several pieces moves by the number given here.
        const auto shares = shareChanges(
            {c.hunk}, c.lengths,
            [](const TextHunk&, size_t first, size_t last) { return 10.0 * first + last; });
        ASSERT_EQ(shares.size(), c.shares.size()) << c.name;
        for (size_t j = 0; j < shares.size(); ++j) {
            EXPECT_EQ(describe(shares[j]), c.shares[j]) << c.name << ", piece " << j;
        }
    }
}

std::string describe(const ParsedContent& content, const std::vector<PlacementMove>& moves) {
    std::string out;
    for (const PlacementMove& move : moves) {
        const auto& op = content.operations()[move.operation];
        const std::string written =
            content.bytes().substr(content.beginOf(op), content.endOf(op) - content.beginOf(op));
        out += "[" + movedPlacement(content, move.operation, move.shift, written) + "] ";
    }
    return out;
}

TEST(PlacementMoves, LaterShowsOfARunMoveAndWhatFollowsTheRunStays) {
    struct Case {
        const char* name;
        const char* content;
        std::vector<std::uint32_t> run;  // operation indices of the run's shows
        std::vector<double> starts;
        const char* moves;
    };
    const Case cases[] = {
        {"relative moves: the first after the change takes it, the next line takes it back",
         "BT 72 700 Td (a) Tj 10 0 Td (b) Tj 5 0 Td (c) Tj 0 -20 Td (d) Tj ET",
         {2, 4, 6},
         {0, 3, 3},
         "[13 0 Td] [-3 -20 Td] "},
        {"absolute moves each take it; text shown without a move follows the run",
         "BT 2 0 0 2 72 700 Tm (a) Tj 2 0 0 2 92 700 Tm (b) Tj (c) Tj T* (d) Tj ET",
         {2, 4},
         {0, 1.5},
         "[2 0 0 2 95 700 Tm] [-1.5 0 Td T*] "},
        {"a change in the last show moves nothing",
         "BT 10 0 Td (a) Tj 5 0 Td (b) Tj ET",
         {2, 4},
         {0, 0},
         ""},
        {"a line shown by ' takes the shift back before it",
         "BT 1 0 0 1 0 0 Tm (a) Tj 5 0 Td (b) Tj (x) ' ET",
         {2, 4},
         {0, -2},
         "[3 0 Td] [2 0 Td (x) '] "},
    };
    for (const Case& c : cases) {
        const ParsedContent content(c.content);
        EXPECT_EQ(describe(content, placementMoves(content, c.run, c.starts)), c.moves) << c.name;
    }
}

}  // namespace
