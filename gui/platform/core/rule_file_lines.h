#pragma once

#include <QString>
#include <QStringList>

// The lines of the engine's rule files, as every writer of the front end makes them:
//   text rule:  page-left-top-width-height:find:replace
//   image rule: page:left:top:(image path):width:height
// Positions are pixels of the page image at 150 dpi, copied unscaled. The files are UTF-8 (what
// the engine reads on this platform) with "\r\n" after every line, the last one included.

// The pieces of a position rule's "Position" text, "P<page> (<left> <top> <width> <height>)",
// copied as they stand rather than read as numbers, so that a rule file carries exactly what the
// table shows: the page runs from the second character up to the first blank, two characters
// (the blank and "(") are skipped, left, top and width each run up to the next blank and the
// height up to ")". A missing separator ends its piece at the end of the text and leaves the
// later pieces empty.
struct PositionFields {
    QString page;
    QString left;
    QString top;
    QString width;
    QString height;
};
PositionFields positionFields(const QString& position);

// A text-rule line, without its line end.
QString textRuleLine(const PositionFields& at, const QString& find, const QString& replace);
// An image-rule line, without its line end: page, left and top from `at`, then the image path
// and the width and height as given.
QString imageRuleLine(const PositionFields& at, const QString& imagePath, const QString& width,
                      const QString& height);

// Whether the engine reads a find text back whole from a text-rule line: it ends the find text at
// the first colon that is followed by anything but a colon. So colons may end a find text
// ("Date:" comes back as "Date:"), but a colon followed by other text ("a:b", "a::b") would end it
// early and make the rest part of the replacement.
bool findTextFitsRuleLine(const QString& find);

// Why a text rule cannot be written as a line the engine reads back the same, as a sentence for
// the user; empty when it can. Besides a find text that does not fit, a replacement that starts
// with a colon would join the separator and be read as part of the find text.
QString textRuleLineProblem(const QString& find, const QString& replace);

// Whether the engine reads an image path back whole from an image-rule line: it ends the path at
// the first ")", and the line at a line break.
bool imagePathFitsRuleLine(const QString& imagePath);

// A text-rule line read back as the engine reads it: the position up to the first ":", the find
// text up to the first ":" that is not followed by another ":", the replacement up to the end.
struct TextRuleFields {
    PositionFields at;
    QString find;
    QString replace;
};
// An image-rule line read back: page, left and top, the image path between "(" and ")", the
// width and the height.
struct ImageRuleFields {
    PositionFields at;
    QString imagePath;
    QString width;
    QString height;
};
// Reads a line of a text-rule file as the rule picker saves it. Empty `problem` when the line is
// a rule the engine reads back the same (a page of 1 or more, four whole numbers of 0 or more);
// otherwise `problem` says what is wrong, as a sentence.
TextRuleFields readTextRuleLine(const QString& line, QString& problem);
// The same for a line of an image-rule file (left, top, width and height are decimal numbers of
// 0 or more).
ImageRuleFields readImageRuleLine(const QString& line, QString& problem);

// Writes `lines` as the whole file (emptied first), each followed by "\r\n"; an empty list
// empties the file. False when the file cannot be written in full.
bool writeRuleFile(const QString& path, const QStringList& lines);

// Adds `lines` at the end of the file, each followed by "\r\n", making the file when it does not
// exist yet. False when they cannot be written in full.
bool appendRuleLines(const QString& path, const QStringList& lines);
