#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdf/content/text_interpreter.h"
#include "pdf/text/spaced_text.h"
#include "pdf/text/text_diff.h"

namespace relettra::pdf {

// A text-showing operator written anew, and how its text moved along the baseline.
struct RewrittenShow {
    std::string bytes;
    double advance = 0;  // the new operator's advance, text space
    // From `at` on (text space, from the operator's start, as written now) the old text stands
    // `shift` further along than it stood: one step after each change that moved it.
    struct Step {
        double at;
        double shift;
    };
    std::vector<Step> steps;
};

// The operator with the changes `hunks` made to its text as spaceText(show) reads it (hunks in
// order, apart from one another), written in the operator's own font. Each change grows to
// whole glyphs; glyphs outside every change keep their bytes, and TJ adjustments outside every
// change stay (an adjustment read as a space goes when a change covers that space). Text added
// at the end of a word stays with the word, before what follows it. nullopt when the font cannot
// show every new character (or the operator has no font), or when nothing changes.
std::optional<RewrittenShow> rewriteShowHunks(const TextShow& show, const SpacedText& spaced,
                                              const std::vector<TextHunk>& hunks);

// The same for a whole new text of the operator (as spaceText reads it).
std::optional<std::string> rewriteShowText(const TextShow& show, const std::string& newText);

// New bytes for a text-showing operator without the glyphs marked in `remove` (one flag per
// glyph of layoutGlyphs). Every other glyph stays exactly where it was: the advance of removed
// glyphs becomes a TJ adjustment. nullopt when nothing is removed.
std::optional<std::string> rewriteShowWithout(const TextShow& show,
                                              const std::vector<bool>& remove);

}  // namespace relettra::pdf
