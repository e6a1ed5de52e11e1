#pragma once

#include <vector>

#include "pdf/pdf_api.h"
#include "runners/text_record_match.h"

// Where the fallback writes a replacement that takes the place of old text: on the old text's
// baseline, from where its glyphs start, in its direction and at its size, and how much room it
// may take along that baseline.
struct FallbackPlacement {
    double x = 0;  // the start of the baseline, top-down page coordinates
    double y = 0;
    int angle = 0;    // degrees, clockwise on the displayed page
    double size = 0;  // the font size
    double room = 0;  // the most the new text may take along its baseline
};

// The placement over glyphs that stand on `line` (a record's geometry, upright page space) and
// fill `box` (top-down page coordinates: x0, y0, x1, y1) on a page `pageHeight` high: the
// baseline's point level with the box's edge where the text starts (left for text across the
// page, right for upside-down text, top for text running down, bottom for text running up),
// the box's extent along the baseline as room. False for a line without a direction (no size)
// and for a font that writes top to bottom, whose glyphs stand across their line rather than
// on it.
bool PlaceOnLine(const RecordGeometry& line, const double box[4], double pageHeight,
                 FallbackPlacement& placement);

// The box of the glyphs of `spans` (their union) on the open page as they stand now, in top-down
// page coordinates. False when no glyph shows them.
bool BoxOfSpans(PDF* pdf, const std::vector<TPDFTextSpan>& spans, double box[4]);
