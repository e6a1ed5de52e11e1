#include "word_box.h"

#include <marqel/page_units.h>

#include <algorithm>
#include <cmath>

namespace {

// A point position to the nearest pixel, for values the engine does not compare (the overlay
// follows the text there).
int nearestPixel(double points) {
    const double pixels = marqel::pointsToPixels(points);
    return pixels > 0 ? static_cast<int>(std::lround(std::min(pixels, 2e9))) : 0;
}

// The pixel span [start, end) in points, rounded at both ends.
void spanToPixels(double start, double end, int& pixelStart, int& pixelLength) {
    pixelStart = nearestPixel(start);
    pixelLength = std::max(0, nearestPixel(end) - pixelStart);
}

}  // namespace

RuleBox ruleBoxForWord(const WordGeometry& word, double pageHeight) {
    // The engine measures displayed y as (whole points of the page height) − upright y, so its
    // positions lie this much above the true ones.
    const double heightCut = pageHeight > 0 ? pageHeight - std::trunc(pageHeight) : 0;
    const bool vertical = word.rotation == 1 || word.rotation == 3;
    const double thickness = vertical ? word.xMax - word.xMin : word.yMax - word.yMin;
    const double size = word.fontSize > 0 ? word.fontSize : std::max(thickness, 0.0);
    const double ascentToBaseline = kBaselineShare * thickness;

    RuleBox box;
    switch (word.rotation) {
        case 1: {  // running down: glyph tops point right, the text starts at its upper end
            const double baseline = word.xMax - ascentToBaseline;
            box.left = nearestPixel(baseline);
            box.width = marqel::pointsToRulePixels(size);
            box.top = marqel::pointsToRulePixels(word.yMin - heightCut);
            // The engine does not compare the height of text running down.
            box.height = std::max(0, nearestPixel(word.yMax - heightCut) - box.top);
            break;
        }
        case 3: {  // running up: glyph tops point left, the text starts at its lower end
            const double baseline = word.xMin + ascentToBaseline;
            box.left = nearestPixel(baseline - size);
            box.width = marqel::pointsToRulePixels(size);
            // The engine takes the start as rule top + rule height, both as it reads them.
            box.height = marqel::pointsToRulePixels(word.yMax - word.yMin);
            box.top = marqel::pointsToRulePixels(word.yMax - heightCut -
                                                 marqel::pixelsToPoints(box.height));
            break;
        }
        case 2: {  // upside down: the glyphs hang below the baseline
            const double baseline = word.yMax - ascentToBaseline;
            spanToPixels(word.xMin, word.xMax, box.left, box.width);
            box.top = marqel::pointsToRulePixels(baseline - heightCut);
            box.height = marqel::pointsToRulePixels(size);
            break;
        }
        default: {
            const double baseline = word.yMin + ascentToBaseline;
            spanToPixels(word.xMin, word.xMax, box.left, box.width);
            box.top = marqel::pointsToRulePixels(baseline - size - heightCut);
            box.height = marqel::pointsToRulePixels(size);
            break;
        }
    }
    return box;
}
