// The changes a text rule makes to a record's text: found word by word, and shared out among the
// operators of a record that a producer wrote in pieces.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/text/run_changes.h"
#include "pdf/text/text_diff.h"

namespace {

using relettra::pdf::diffByWords;
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

}  // namespace
