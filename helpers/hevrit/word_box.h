#pragma once

// Where a word's rule box goes: the box the engine compares a text rule against, in pixels of
// the page rendered at 150 dpi.

// A word as the page's text reader reports it. Its box is the one the reader builds from the
// font's ascent and descent around the baseline; the baseline itself is not reported.
struct WordGeometry {
    // Points on the displayed page (visible box turned by /Rotate), origin at its upper-left
    // corner, y downward.
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    // Writing direction on the displayed page: 0 left to right, 1 running down, 2 upside down
    // (right to left), 3 running up.
    int rotation = 0;
    double fontSize = 0;  // points
};

// Pixels at 150 dpi, origin at the displayed page's upper-left corner; never negative.
struct RuleBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where the baseline lies across a word's box, as a share of the box's thickness measured from
// its ascent side (the glyph tops). Fonts differ in ascent and descent; this share fits the
// common ones best (bench/hevrit_box_share.py measures it).
constexpr double kBaselineShare = 0.78;

// The box the engine matches a rule against:
// - horizontal text: the em box standing on the baseline (top = baseline − font size, height =
//   font size), left and width from the word's own extent;
// - text running down or up: the em box beside the baseline (width = font size), top and height
//   from the word's extent along the text.
// Top values allow for the engine measuring from the page height truncated to whole points
// (`pageHeight` is the displayed page's height in points), and are chosen so that the engine's
// pixel-to-point truncation lands on the nearest whole point.
RuleBox ruleBoxForWord(const WordGeometry& word, double pageHeight);
