#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pdf/pdf_api.h"

// Where a text record stands, derived from its matrices (upright page space, y upward).
struct RecordGeometry {
    double m[4];     // text-to-page matrix without translation, times the font size
    double originX;  // the record's origin on the page
    double originY;
    double size;    // effective font size: the font size along the text's up vector
    int angle;      // writing direction in whole degrees, [0, 360), clockwise on the page
    double length;  // how far the record runs along its baseline on the page
    bool verticalWriting = false;       // a font that writes top to bottom (WMode 1)
    bool sizeGuessedByReaders = false;  // a Type 3 font
};

RecordGeometry MeasureRecord(const TPDFStack& record);

// Whether a record stands at a rule's place: its size against the rule's height and its top
// against the rule's top, each within half the size. The top of upside-down text (turned by
// more than 95 and less than 265 degrees) is its baseline, from which its glyphs hang down; that
// of other text across the page its baseline less its size. Text running vertically (90 or 270
// degrees, within 5) is compared against the rule's width instead, and the rule's top against
// the record's extent on the page: the rule may cover any stretch of it (a rule longer than the
// record must start where the record starts). A Type 3 font's text matches a rule whose
// height (width, for vertical text) lies between a quarter and twice its size, and across the
// page whose middle lies within its em box: readers can only guess such a font's size.
bool RecordMatchesRule(const RecordGeometry& record, double pageHeight, int ruleTop, int ruleWidth,
                       int ruleHeight);

// Text set at an angle: its writing direction more than 5 degrees off every quarter of a turn
// (a 30-degree label, the glyphs of a word set along a curve). A rule is drawn around such text
// as the page shows it, an upright box about its glyphs or about some of them (readers cut a
// slanted word into pieces), rather than along its line.
bool RunsSlanted(const RecordGeometry& record);

// Whether an occurrence of slanted text whose glyphs fill `box` (displayed page, y downward:
// x0, y0, x1, y1) is the one a rule's box points at: the middle of each box lies within the
// other.
bool SlantedOccurrenceAtRule(const double box[4], int ruleLeft, int ruleTop, int ruleWidth,
                             int ruleHeight);

// The writing direction of a record as the rules above tell it apart, in degrees clockwise on
// the displayed page: 90 (running down) or 270 (running up) for vertical text, 180 for
// upside-down text, 0 for the rest.
int WritingDirection(const RecordGeometry& record);

// Whether an occurrence of the find text whose glyphs fill `box` (displayed page, y downward:
// x0, y0, x1, y1) stands at the rule's place along the record's writing direction: the middle
// of the box lies within [left, left + width] for text that runs across the page, within
// [top, top + height] for text that runs up or down it (as RecordMatchesRule tells them apart).
bool OccurrenceAtRule(const RecordGeometry& record, const double box[4], int ruleLeft, int ruleTop,
                      int ruleWidth, int ruleHeight);

// Whether the box overlaps the rule's left and width (top and height for text running up or
// down) at all.
bool OverlapsRule(const RecordGeometry& record, const double box[4], int ruleLeft, int ruleTop,
                  int ruleWidth, int ruleHeight);

// Where `find` occurs in `text` (byte offsets), left to right and apart from one another.
std::vector<size_t> FindOccurrences(const std::string& text, const std::string& find);

// `text` with the occurrences of `find` that start at `offsets` (from FindOccurrences, in order)
// replaced by `replacement`.
std::string ReplaceOccurrences(const std::string& text, const std::string& find,
                               const std::string& replacement, const std::vector<size_t>& offsets);

// How many characters (code points) the UTF-8 text holds.
size_t CharacterCount(const std::string& text);

// `replacement` (UTF-8) cut into one piece per part of a text drawn in several parts, in order:
// each part takes as many characters as it held (`partLengths`, in characters) and the last
// one takes the rest; parts past the end of the replacement get empty pieces.
std::vector<std::string> SplitOverParts(const std::string& replacement,
                                        const std::vector<size_t>& partLengths);

// `replacement` (UTF-8) cut into one piece per part of a text drawn in several parts, in order,
// so that each part can show its piece (`shows(part, piece)`; a piece may be empty), each cut as
// near as can be to where SplitOverParts would make it. Empty when no such cut exists, or when
// the replacement or the parts are too many to try (over 64 characters or 16 parts).
std::vector<std::string> FitOverParts(
    const std::string& replacement, const std::vector<size_t>& partLengths,
    const std::function<bool(size_t part, const std::string& piece)>& shows);

// `text` with every occurrence of `find` replaced by `replacement`, left to right; a
// replacement that contains `find` is not replaced again.
std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement);
