#pragma once

#include <QString>
#include <QStringList>

// The rule files the picker saves, built from its table rows. Lines carry no line end; the file
// writer ends each with "\r\n".
namespace PickerRules {

// "page-left-top-width-height:find:replace", the position pieces copied from the position text.
QString textLine(const QString& position, const QString& find, const QString& replace);

// Whether the engine reads the find text back whole from a text-rule line. The engine takes a
// colon that is followed by another colon as part of the find text and ends the find text at the
// first colon that is not, so a colon inside the find text must be followed by a colon or end it:
// "Date:" and "a::" come back whole, "a:b" and "a::b" would be cut at the last colon before the b,
// and the rest of the line would become the replacement.
bool findTextFits(const QString& find);

// The width or height written into an image-rule line: the typed text as typed (a typed 050 stays
// 050) when it reads as a whole number of 1 or more, otherwise the box's own size from the
// position text.
QString writtenImageSize(const QString& typed, const QString& boxSize);

// The width or height handed back to the main window: the typed text read as a whole number when
// that is not 0 (so -5 stays -5), otherwise the box's own size.
int handedBackImageSize(const QString& typed, const QString& boxSize);

// Whether the engine reads the image path back whole from an image-rule line: it ends the path
// at the first ")".
bool imageFileFits(const QString& imageFile);

// "page:left:top:(imageFile):width:height" with page, left and top from the position text and the
// width and height chosen by writtenImageSize().
QString imageLine(const QString& position, const QString& imageFile, const QString& typedWidth,
                  const QString& typedHeight);

// Writes the lines as the whole file in UTF-8 (what the engine reads here), "\r\n" after every
// line; an empty list empties the file. False when the file cannot be written.
bool writeFile(const QString& path, const QStringList& lines);

}  // namespace PickerRules
