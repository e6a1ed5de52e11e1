#include "pdf/text/spaced_text.h"

#include <string_view>

#include "pdf/fonts/ligature_text.h"

namespace relettra::pdf {

namespace {

// A glyph's text as a reader spells it.
void appendGlyphText(const DecodedGlyph& glyph, std::string& out) {
    // Most glyphs show one ASCII character, which spells nothing out.
    if (glyph.unicode.size() == 1) {
        out.push_back(glyph.unicode.front());
        return;
    }
    if (hasLigature(glyph.unicode)) {
        out += spellOutLigatures(std::string(glyph.unicode));
    } else {
        out += glyph.unicode;
    }
}

bool startsWithSpace(std::string_view text) {
    return !text.empty() && text.front() == ' ';
}

bool endsWithSpace(std::string_view text) {
    return !text.empty() && text.back() == ' ';
}

// The first glyph after element `e`, or null.
const DecodedGlyph* glyphAfter(const TextShow& show, std::size_t e) {
    for (std::size_t k = e + 1; k < show.elements.size(); ++k) {
        const ShowElement& element = show.elements[k];
        if (element.isString && !element.glyphs.empty()) return &element.glyphs.front();
    }
    return nullptr;
}

// Runs onGlyph(element, glyph index, glyph) for every glyph and onGap(element) for every
// adjustment read as a space, in order.
template <typename OnGlyph, typename OnGap>
void walk(const TextShow& show, OnGlyph onGlyph, OnGap onGap) {
    const bool vertical = show.writesVertically();
    // Half a space, in thousandths of the font size as TJ numbers count.
    const double halfSpace = (show.state.font ? show.state.font->spaceAdvance() : 0.25) * 500.0;
    const DecodedGlyph* previous = nullptr;
    bool endsInSpace = false;
    for (std::uint32_t e = 0; e < show.elements.size(); ++e) {
        const ShowElement& element = show.elements[e];
        if (!element.isString) {
            if (vertical || previous == nullptr || endsInSpace ||
                -element.adjustment <= halfSpace) {
                continue;
            }
            const DecodedGlyph* next = glyphAfter(show, e);
            if (next == nullptr || startsWithSpace(next->unicode)) continue;
            onGap(e);
            endsInSpace = true;
            continue;
        }
        for (std::uint32_t g = 0; g < element.glyphs.size(); ++g) {
            const DecodedGlyph& glyph = element.glyphs[g];
            onGlyph(e, g, glyph);
            previous = &glyph;
            if (!glyph.unicode.empty()) endsInSpace = endsWithSpace(glyph.unicode);
        }
    }
}

}  // namespace

SpacedText spaceText(const TextShow& show) {
    SpacedText out;
    double pen = 0;
    std::size_t nextAdjustment = 0;  // pen moves of adjustments before the current element
    auto advanceTo = [&](std::uint32_t element) {
        for (; nextAdjustment < element; ++nextAdjustment) {
            const ShowElement& e = show.elements[nextAdjustment];
            if (!e.isString) pen += show.adjustmentAdvance(e.adjustment);
        }
    };
    walk(
        show,
        [&](std::uint32_t e, std::uint32_t g, const DecodedGlyph& glyph) {
            advanceTo(e);
            nextAdjustment = e + 1;
            const double advance = show.glyphAdvance(glyph);
            const auto begin = static_cast<std::uint32_t>(out.text.size());
            appendGlyphText(glyph, out.text);
            out.glyphs.push_back(PlacedGlyph{e, g, pen, advance, begin,
                                             static_cast<std::uint32_t>(out.text.size())});
            pen += advance;
        },
        [&](std::uint32_t e) {
            out.gaps.push_back({e, static_cast<std::uint32_t>(out.text.size())});
            out.text += ' ';
        });
    return out;
}

void appendSpacedText(const TextShow& show, std::string& out) {
    walk(
        show,
        [&](std::uint32_t, std::uint32_t, const DecodedGlyph& glyph) {
            appendGlyphText(glyph, out);
        },
        [&](std::uint32_t) { out += ' '; });
}

}  // namespace relettra::pdf
