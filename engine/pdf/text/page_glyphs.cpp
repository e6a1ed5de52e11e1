#include "pdf/text/page_glyphs.h"

#include "pdf/text/glyph_layout.h"
#include "pdf/text/line_rest.h"
#include "pdf/text/spaced_text.h"

namespace relettra::pdf {

void PageGlyphs::setRecord(std::size_t record, const std::vector<TextShow>& shows,
                           const std::vector<std::size_t>& run) {
    if (records_.size() <= record) records_.resize(record + 1);
    RecordLayout layout;
    if (!run.empty()) {
        // The record's direction and size from its first operator.
        const TextLine line = lineOf(shows[run.front()]);
        layout.alongX = line.ux;
        layout.alongY = line.uy;
        layout.size = line.size;
        layout.acrossLine = !shows[run.front()].writesVertically();
    }
    for (std::size_t s : run) {
        const TextShow& show = shows[s];
        const SpacedText spaced = spaceText(show);
        const QPDFMatrix m = show.toPage();
        const bool vertical = show.writesVertically();
        const auto offset = static_cast<std::uint32_t>(layout.text.size());
        for (std::size_t g = 0; g < spaced.glyphs.size(); ++g) {
            const PlacedGlyph& placed = spaced.glyphs[g];
            PageGlyph glyph{};
            glyph.record = static_cast<std::uint32_t>(record);
            glyph.show = static_cast<std::uint32_t>(s);
            glyph.glyph = static_cast<std::uint32_t>(g);
            glyph.textBegin = offset + placed.textBegin;
            glyph.textEnd = offset + placed.textEnd;
            glyphEmBox(show, placed, glyph.box);
            glyphCentre(show, placed, glyph.centreX, glyph.centreY);
            const double end = placed.penStart + placed.advance;
            if (vertical) {
                m.transform(0, -placed.penStart, glyph.startX, glyph.startY);
                m.transform(0, -end, glyph.endX, glyph.endY);
            } else {
                m.transform(placed.penStart, show.state.rise, glyph.startX, glyph.startY);
                m.transform(end, show.state.rise, glyph.endX, glyph.endY);
            }
            layout.glyphs.push_back(glyph);
        }
        layout.text += spaced.text;
    }
    if (layout.glyphs.empty()) {
        withGlyphs_.erase(record);
    } else {
        withGlyphs_.insert(record);
    }
    records_[record] = std::move(layout);
}

}  // namespace relettra::pdf
