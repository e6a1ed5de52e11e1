#pragma once

#include <string>

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

// `text` with every occurrence of `find` replaced by `replacement`, left to right; a
// replacement that contains `find` is not replaced again.
std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement);
