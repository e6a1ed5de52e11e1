#pragma once

#include <cstddef>
#include <vector>

#include "pdf/content/text_interpreter.h"

namespace relettra::pdf {

// Whether `next` continues the text of `previous` as one piece: producers that kern or place
// glyphs themselves write a word in several strings, each moved by Td, TD, Tm or T* to the point
// where the previous one ended. Both strings must stand in the same content with the same font,
// size, scaling, rise and matrices (character and word spacing may differ), only text
// positioning, text state and marked content
// between them (at least one move), and `next` must start on the baseline of `previous`, less
// than half a space from its end. Strings shown one after the other without a move stay apart,
// as the producer wrote them.
bool continuesShow(const TextShow& previous, const TextShow& next);

// Where `point` (in the coordinates `show.tm` maps to) lies in the text space of `show`, on its
// baseline (x) and across it (y). False when the text matrix cannot be inverted.
bool toTextSpace(const TextShow& show, double pointX, double pointY, double& x, double& y);

// The length of a run along its baseline, in the text space of its first show: from the first
// show's start to the end of the last one.
double runAdvance(const std::vector<TextShow>& shows, const std::vector<std::size_t>& run);

// The shows of a page in runs of shows that continue one another, in content order; each run
// lists indices into `shows`.
std::vector<std::vector<std::size_t>> groupShowsIntoRuns(const std::vector<TextShow>& shows);

}  // namespace relettra::pdf
