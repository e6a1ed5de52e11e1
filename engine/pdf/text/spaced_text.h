#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/content/text_interpreter.h"
#include "pdf/text/glyph_layout.h"

namespace relettra::pdf {

// The text of a text-showing operator as a reader takes it: the Unicode text of its glyphs
// (ligature characters spelled out in their letters), with a space wherever a TJ adjustment moves
// the pen on by more than half a space between two glyphs that are not spaces themselves. Producers
// that set words apart by such adjustments instead of space characters (typesetters, justified
// lines) so keep their words apart.
struct SpacedText {
    std::string text;                 // UTF-8
    std::vector<PlacedGlyph> glyphs;  // as layoutGlyphs, with text ranges into `text`
    // The adjustments read as a space: element index and the space's offset in `text`.
    struct Gap {
        std::uint32_t element;
        std::uint32_t offset;
    };
    std::vector<Gap> gaps;
};

SpacedText spaceText(const TextShow& show);

// The text alone, appended to `out`: what spaceText(show).text holds.
void appendSpacedText(const TextShow& show, std::string& out);

}  // namespace relettra::pdf
