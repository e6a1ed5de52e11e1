#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdf/content/text_interpreter.h"

namespace relettra::pdf {

// New bytes for a text-showing operator whose text becomes `newText` (UTF-8), written in the
// operator's own font. Only the part that differs from the old text is encoded anew: glyphs
// before and after it keep their bytes, and TJ adjustments outside it stay. nullopt when the
// font cannot show every new character (or the operator has no font).
std::optional<std::string> rewriteShowText(const TextShow& show, const std::string& newText);

// New bytes for a text-showing operator without the glyphs marked in `remove` (one flag per
// glyph of layoutGlyphs). Every other glyph stays exactly where it was: the advance of removed
// glyphs becomes a TJ adjustment. nullopt when nothing is removed.
std::optional<std::string> rewriteShowWithout(const TextShow& show,
                                              const std::vector<bool>& remove);

}  // namespace relettra::pdf
