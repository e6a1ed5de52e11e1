#pragma once

#include <QString>

// Which rule file a run uses: text rules ("-tesome") or image rules ("-pisome").
enum class RuleKind { Text, Image };

// The pieces of a position rule's "Position" text, "P<page> (<left> <top> <width> <height>)",
// copied as they stand: the page runs from the second character up to the first blank, two
// characters (the blank and the opening parenthesis) are skipped, left, top and width each run
// up to the next blank and the height up to the closing parenthesis. Nothing is read as a
// number, so the rule file carries exactly what the table shows.
struct PositionPieces {
    QString page;
    QString left;
    QString top;
    QString width;
    QString height;
};
PositionPieces positionPieces(const QString& positionText);

// "page-left-top-width-height:find:replace\r\n"
QString textRuleLine(const QString& page, const QString& left, const QString& top,
                     const QString& width, const QString& height, const QString& find,
                     const QString& replace);

// "page:left:top:(imagePath):width:height\r\n"
QString imageRuleLine(const QString& page, const QString& left, const QString& top,
                      const QString& imagePath, const QString& width, const QString& height);

// A text-rule line of a position table row (its "Position" text, find and replace texts).
QString positionTextRuleLine(const QString& positionText, const QString& find,
                             const QString& replace);
// An image-rule line of a position table row: page, left and top from its "Position" text, the
// image path and the width and height as the table holds them.
QString positionImageRuleLine(const QString& positionText, const QString& imagePath,
                              const QString& width, const QString& height);

// Whether a find text comes back whole when the engine reads the text-rule line made of it
// (find, ":", replacement): the engine ends the find text at the first colon that is followed by
// anything but a colon. So colons may stand at the end of a find text ("Total:" comes back as
// "Total:"), but a colon followed by other text ("a:b", "a::b") would end it early and make the
// rest part of the replacement.
bool findTextFitsRuleLine(const QString& find);

// The progress pane's note for a rule whose find text does not fit a rule line.
QString unfitFindTextNotice(const QString& find);
