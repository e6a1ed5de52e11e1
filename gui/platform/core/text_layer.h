#pragma once

#include <QString>
#include <QStringList>

// One text box of a page's text layer: its place in pixels of the page image at 150 dpi (origin
// at the top-left corner of the page as shown, y downward) and its text.
struct Subtext {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QString text;
};

// The page helper writes a text layer as UTF-8 lines, one box per line, for example
//   <span class="w" style="left:72;top:140;width:210;height:12">Total</span>
// and puts any other lines after the boxes. The functions below are the one reader of such lines.

// The value of the key `sPos` in the line `sRow`: at the first occurrence of the key, the key and
// the one character after it are skipped and the characters up to the next ';', '"' or the end of
// the line are read as a decimal integer. 0 when the key is missing or the value is not a plain
// non-negative decimal integer ("12px" gives 0).
int getpos(const QString& sPos, const QString& sRow);

// The text of a line: the characters between the last '>' before the first "</span>" and that
// "</span>" (the line's first character is never looked at), with character references decoded.
// Empty when the line has no "</span>".
QString gettext(const QString& sRow);

// The box of one line: left, top, width and height by getpos(), the text by gettext(). Lines
// without these keys give a box of size 0 at the origin.
Subtext getSubtextInfo(const QString& sRow);

// The text layer split at line feeds, empty parts dropped.
QStringList textLayerLines(const QString& layer);

// `text` with "&amp;", "&lt;", "&gt;", "&quot;", "&apos;" and numeric character references
// ("&#233;", "&#xE9;") replaced by their characters; anything else stays as it is.
QString decodeCharacterReferences(const QString& text);
