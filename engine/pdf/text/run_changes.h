#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "pdf/text/text_diff.h"

namespace relettra::pdf {

// How the changes to a run's text fall to the operators of the run, whose texts follow one
// another with the byte lengths `partLengths`. A change within one operator stays whole (a text
// added where one operator's text ends and the next one's begins goes to the first, unless it
// ends in a space). A
// change that reaches over several is written by the first, where it starts, with its whole new
// text; the others lose their part of the old text in place (keepsPlace). The last of them moves
// what follows the change by `shiftOf(change, first, last)`, so that it follows the new text as
// it followed the old (the caller moves the operators after it by the change of width). Offsets
// of the result are relative to each operator's own text.
std::vector<std::vector<TextHunk>> shareChanges(
    const std::vector<TextHunk>& hunks, const std::vector<std::size_t>& partLengths,
    const std::function<double(const TextHunk&, std::size_t, std::size_t)>& shiftOf);

}  // namespace relettra::pdf
