#pragma once

#include <QString>

// The picker's own choices when it writes its rules (the line formats and the writer are shared
// with the batches: rule_file_lines.h).
namespace PickerRules {

// The width or height written into an image-rule line: the typed text as typed (a typed 050 stays
// 050) when it reads as a whole number of 1 or more, otherwise the box's own size from the
// position text.
QString writtenImageSize(const QString& typed, const QString& boxSize);

// The width or height handed back to the main window: the typed text read as a whole number when
// that is not 0 (so -5 stays -5), otherwise the box's own size.
int handedBackImageSize(const QString& typed, const QString& boxSize);

// "page:left:top:(imageFile):width:height" with page, left and top from the position text and the
// width and height chosen by writtenImageSize().
QString imageLine(const QString& position, const QString& imageFile, const QString& typedWidth,
                  const QString& typedHeight);

}  // namespace PickerRules
