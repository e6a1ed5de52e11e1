#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include "text_layer.h"

// The clickable boxes the picker lays over a page image, one per text box of the page's text
// layer.

// At most this many lines of a page's text layer are read; the rest are ignored.
inline constexpr int kMostTextLayerLines = 10000;

// The lines of a page's text layer, empty ones dropped, at most kMostTextLayerLines.
QStringList pageTextLines(const QString& layer);

// Whether a box gets a button: only boxes with a text can become rules (the page frame's lines
// after the words have none).
bool isPickableBox(const Subtext& box);

// The overlay button's look: a dotted green frame that turns red while pressed. The first "}"
// closes the block Qt puts around a widget's own style sheet, so the second rule applies to the
// pressed state.
inline constexpr const char* kBoxButtonStyleSheet =
    "border:2px dotted green;} QPushButton:Pressed{border:2px dotted red;";

// The tooltip of a clicked box: "Position\n X- <left> Y- <top>".
QString boxTooltipText(const Subtext& box);

// The "Add it to the table" button: directly right of the clicked box's button, at its top,
// 121 × 23.
QRect addButtonGeometry(const QRect& boxButton);
