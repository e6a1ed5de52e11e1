#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "pdf/text/spaced_text.h"
#include "pdf/text/text_diff.h"

namespace relettra::pdf {

// A change grown to whole glyphs: glyphs [g0, g1) and the old text [begin, end) give way to
// `text`, written before glyph g0, or right after glyph g0 - 1 when `afterPrevious` is set.
struct GlyphChange {
    std::size_t g0;
    std::size_t g1;
    std::size_t begin;
    std::size_t end;
    std::vector<const TextHunk*> hunks;
    std::string text;
    std::string bytes;
    bool keepsPlace = true;  // every hunk of it keeps its place
    double shift = 0;        // how far what follows moves, when it keeps its place
    // An insertion at the end of a word: it joins the word, before the adjustments (a gap read
    // as a space, kerning) that follow the word's last glyph.
    bool afterPrevious = false;
};

// Each hunk (offsets into spaced.text, in order) grown to the glyphs its text touches (a
// ligature's glyph whole), with its new text for the grown range; hunks that then share a glyph
// or text become one change. `bytes` is left for the caller to encode.
std::vector<GlyphChange> glyphChanges(const SpacedText& spaced, const std::vector<TextHunk>& hunks);

}  // namespace relettra::pdf
