#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace relettra::pdf {

// One change between two texts: old[oldBegin, oldEnd) becomes `replacement`.
struct TextHunk {
    std::size_t oldBegin = 0;
    std::size_t oldEnd = 0;
    std::string replacement;
    // Set on a removal whose glyphs leave their advance behind when it is written, so that
    // what follows stays where it was, or moves by `shift` (text space units) from there.
    bool keepsPlace = false;
    double shift = 0;
};

// The changes that turn `oldText` into `newText` (both UTF-8), left to right and apart from
// one another. Words and single spaces are compared as wholes, so the unchanged words and
// spaces between two changes stay out of both; within a changed stretch, what it shares with
// the old text at its start and at its end is left out (whole characters). Empty when the
// texts are equal.
std::vector<TextHunk> diffByWords(const std::string& oldText, const std::string& newText);

}  // namespace relettra::pdf
