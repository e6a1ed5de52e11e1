#pragma once

#include <string>
#include <vector>

#include "pdf/pdf_api.h"

// Where a text record stands, derived from its matrices (upright page space, y upward).
struct RecordGeometry {
    double m[4];     // text-to-page matrix without translation, times the font size
    double originX;  // the record's origin on the page
    double originY;
    double size;    // effective font size
    int angle;      // writing direction in whole degrees, [0, 360)
    double length;  // how far the record runs along its baseline on the page
};

RecordGeometry MeasureRecord(const TPDFStack& record);

// Whether a record stands at a rule's place: its size against the rule's height and its top
// against the rule's top, each within half the size; text running vertically (90 or 270
// degrees, within 5) is compared against the rule's width instead, and the rule's top against
// the record's extent on the page: the rule may cover any stretch of it (a rule longer than the
// record must start where the record starts).
bool RecordMatchesRule(const RecordGeometry& record, double pageHeight, int ruleTop, int ruleWidth,
                       int ruleHeight);

// Whether an occurrence of the find text whose glyphs fill `box` (displayed page, y downward:
// x0, y0, x1, y1) stands at the rule's place along the record's writing direction: the middle
// of the box lies within [left, left + width] for text that runs across the page, within
// [top, top + height] for text that runs up or down it (as RecordMatchesRule tells them apart).
bool OccurrenceAtRule(const RecordGeometry& record, const double box[4], int ruleLeft, int ruleTop,
                      int ruleWidth, int ruleHeight);

// Where `find` occurs in `text` (byte offsets), left to right and apart from one another.
std::vector<size_t> FindOccurrences(const std::string& text, const std::string& find);

// `text` with the occurrences of `find` that start at `offsets` (from FindOccurrences, in order)
// replaced by `replacement`.
std::string ReplaceOccurrences(const std::string& text, const std::string& find,
                               const std::string& replacement, const std::vector<size_t>& offsets);

// `text` with every occurrence of `find` replaced by `replacement`, left to right; a
// replacement that contains `find` is not replaced again.
std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement);
