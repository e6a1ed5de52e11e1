#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "text_layer.h"

// The most lines of one page's text layer that are read.
inline constexpr int kMaxPageLayerLines = 10000;

// The word boxes of one page's text layer, in line order. At most kMaxPageLayerLines lines are
// read, and reading stops after the first line that stands at left 0 and top 0, which is still
// taken: the page helper writes every word before the lines that frame the file, and those carry
// no position.
QList<Subtext> readPageBoxes(const QString& layer);

// Whether two boxes stand on one line: their tops lie within half the smaller height.
bool boxesShareLine(const Subtext& a, const Subtext& b);

// A place on a page where a find text stands: the index of the find text and its box.
struct FindHit {
    int find = 0;
    Subtext box;
};

// Every place of the page where one of `finds` stands, by box in line order and, for each box,
// by find text from the first. A find text without blanks matches a box whose text equals it
// (case-sensitive), as it stands or once the punctuation leading and trailing it is set aside
// ("office," and "(office)" hold "office"); the hit's box stays the word's, and the engine finds
// the text inside it. A find text of several words, separated by single blanks, matches a run of
// consecutive boxes standing on one line from left to right whose texts are its words (the first
// may be led, the last followed by punctuation); the hit's box is the union of theirs. An empty
// find text matches nothing.
QList<FindHit> findTextHits(const QList<Subtext>& boxes, const QStringList& finds);
