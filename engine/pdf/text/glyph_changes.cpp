#include "pdf/text/glyph_changes.h"

#include <algorithm>

namespace relettra::pdf {

namespace {

// Whether `hunk` inserts text right after a glyph whose text ends a word there (it does not
// end in a space): the insertion then belongs to that word, not to what follows it.
bool endsWord(const SpacedText& spaced, const TextHunk& hunk, std::size_t g0, std::size_t g1) {
    if (hunk.oldBegin != hunk.oldEnd || g0 != g1 || g0 == 0) return false;
    const PlacedGlyph& previous = spaced.glyphs[g0 - 1];
    return previous.textEnd == hunk.oldBegin && previous.textEnd > previous.textBegin &&
           spaced.text[previous.textEnd - 1] != ' ';
}

}  // namespace

std::vector<GlyphChange> glyphChanges(const SpacedText& spaced,
                                      const std::vector<TextHunk>& hunks) {
    const std::vector<PlacedGlyph>& glyphs = spaced.glyphs;
    std::vector<GlyphChange> changes;
    for (const TextHunk& hunk : hunks) {
        std::size_t g0 = 0;
        while (g0 < glyphs.size() && glyphs[g0].textEnd <= hunk.oldBegin) ++g0;
        std::size_t g1 = g0;
        while (g1 < glyphs.size() && glyphs[g1].textBegin < hunk.oldEnd) ++g1;
        if (g1 == g0 && g0 < glyphs.size() && glyphs[g0].textBegin < hunk.oldBegin) {
            g1 = g0 + 1;  // an insertion inside a glyph's text
        }
        std::size_t begin = hunk.oldBegin;
        std::size_t end = hunk.oldEnd;
        if (g1 > g0) {
            begin = std::min<std::size_t>(begin, glyphs[g0].textBegin);
            end = std::max<std::size_t>(end, glyphs[g1 - 1].textEnd);
        }
        if (!changes.empty() && (begin < changes.back().end || g0 < changes.back().g1)) {
            GlyphChange& last = changes.back();
            last.g1 = std::max(last.g1, g1);
            last.end = std::max(last.end, end);
            last.hunks.push_back(&hunk);
            continue;
        }
        GlyphChange change{g0, g1, begin, end, {&hunk}, {}, {}};
        change.afterPrevious = endsWord(spaced, hunk, g0, g1);
        changes.push_back(std::move(change));
    }
    for (GlyphChange& change : changes) {
        std::size_t pos = change.begin;
        for (const TextHunk* hunk : change.hunks) {
            change.text.append(spaced.text, pos, hunk->oldBegin - pos);
            change.text += hunk->replacement;
            pos = hunk->oldEnd;
        }
        change.text.append(spaced.text, pos, change.end - pos);
        for (const TextHunk* hunk : change.hunks) {
            change.keepsPlace = change.keepsPlace && hunk->keepsPlace;
            change.shift += hunk->shift;
        }
    }
    return changes;
}

}  // namespace relettra::pdf
