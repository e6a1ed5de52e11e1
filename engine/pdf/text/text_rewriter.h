#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdf/content/text_interpreter.h"
#include "pdf/text/spaced_text.h"
#include "pdf/text/text_diff.h"

namespace relettra::pdf {

// New bytes for a text-showing operator with the changes `hunks` made to its text as
// spaceText(show) reads it (hunks in order, apart from one another), written in the operator's
// own font. Each change grows to whole glyphs; glyphs outside every change keep their bytes, and
// TJ adjustments outside every change stay (an adjustment read as a space goes when a change
// covers that space). nullopt when the font cannot show every new character (or the operator has
// no font), or when nothing changes.
std::optional<std::string> rewriteShowHunks(const TextShow& show, const SpacedText& spaced,
                                            const std::vector<TextHunk>& hunks);

// The same for a whole new text of the operator (as spaceText reads it).
std::optional<std::string> rewriteShowText(const TextShow& show, const std::string& newText);

// New bytes for a text-showing operator without the glyphs marked in `remove` (one flag per
// glyph of layoutGlyphs). Every other glyph stays exactly where it was: the advance of removed
// glyphs becomes a TJ adjustment. nullopt when nothing is removed.
std::optional<std::string> rewriteShowWithout(const TextShow& show,
                                              const std::vector<bool>& remove);

}  // namespace relettra::pdf
