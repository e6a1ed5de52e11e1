#pragma once

#include <QRect>
#include <QSize>
#include <QString>

// Where the picker window opens and how large, and how its size is kept in the settings.

// The width of a page the picker is made to show whole at 100%: an A4 page at 150 dpi.
inline constexpr int kPagePixelsWide = 1240;

// The size the picker opens at when none is remembered: wide enough for the page area to hold
// `pageAreaWidth` pixels beside the `besidePageWidth` the rest of the window takes, and tall,
// but within nine tenths of the screen's available area.
QSize defaultPickerSize(int besidePageWidth, int pageAreaWidth, const QRect& available);

// The window's place: `wanted` bounded by the available area and centred on it.
QRect pickerGeometryOnScreen(const QSize& wanted, const QRect& available);

// A size as the settings keep it: "1400x900".
QString pickerSizeText(const QSize& size);
// The size kept as text; an invalid size for text that is not two positive whole numbers
// joined by "x".
QSize pickerSizeFromText(const QString& text);
