#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "pdf/content/content_lexer.h"

namespace relettra::pdf {

// A change of one operation that places text: the line it starts lies `shift` text space units
// further along the baseline than before.
struct PlacementMove {
    std::uint32_t operation;
    double shift;
};

// How the shows of one content stand once some of them were moved along their baselines.
struct ShowsPlaced {
    std::vector<PlacementMove> moves;
    // For each show of the list: how far along its baseline it now stands from where it stood.
    std::vector<double> shifts;
    // The text-showing operations after the list that follow its last show's pen, and how far.
    std::vector<std::pair<std::uint32_t, double>> followers;
};

// The moves that let the shows `showOps` of `content` (every text-showing operation from
// `from` on, in order, none left out) each stand `wanted[k]` text space units further along
// their baselines than they did, where text positioning stands before them (Td, TD, T*, Tm,
// BT, or the line move of ' and "), while whatever the content shows after them stands where it
// stood. A show that follows the pen of the one before it (nothing places it) moves as far as
// that one did plus that one's change of width (`widthChanges[k - 1]`); so do the shows after
// the list until the next positioning. A relative move carries its change to everything placed
// after it, so the first one before a show takes it and the rest follow; an absolute one (Tm,
// BT) forgets it, so each takes the shift again (a BT that a show follows directly becomes
// "BT shift 0 Td"). After the list, the first relative move takes the shift back.
ShowsPlaced placeShows(const ParsedContent& content, std::uint32_t from,
                       const std::vector<std::uint32_t>& showOps, const std::vector<double>& wanted,
                       const std::vector<double>& widthChanges);

// The moves that let the shows of a run (operations `showOps` of `content`, in order) each start
// `starts[k]` text space units further along their baseline than they did (starts[0] is taken as
// 0), while whatever the content shows after the run stands where it stood. A relative move
// (Td, TD, T*) carries its change to everything placed after it, so the first one after a show
// takes it and the rest follow; an absolute one (Tm, or BT) forgets it, so each such move of the
// run takes the shift again. After the run, the first relative move takes the shift back; text
// shown after the run before any move follows the run's pen, as in the original.
std::vector<PlacementMove> placementMoves(const ParsedContent& content,
                                          const std::vector<std::uint32_t>& showOps,
                                          const std::vector<double>& starts);

// Operation `operation` of `content` written to move its line `shift` further along: Td and TD
// with a new x, Tm with a new origin, BT followed by "shift 0 Td", and T*, ' and " (or anything
// else) after a "shift 0 Td".
// `current` holds the operation's bytes as written now (a text-showing operator may have been
// rewritten); Td, TD and Tm are written from their original tokens.
std::string movedPlacement(const ParsedContent& content, std::uint32_t operation, double shift,
                           const std::string& current);

}  // namespace relettra::pdf
