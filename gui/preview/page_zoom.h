#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

struct Subtext;

// The picker's display scale for the page image and the boxes over it.
inline constexpr double kZoomEnlargeStep = 1.25;
inline constexpr double kZoomShrinkStep = 0.8;
inline constexpr double kSmallestZoom = 0.1;
inline constexpr double kLargestZoom = 8.0;

// The factor brought into [kSmallestZoom, kLargestZoom].
double boundedZoom(double factor);

// The factor after one step, stopping at the limit it would pass.
double steppedZoom(double factor, double step);

// Each side times the factor, truncated toward zero.
QSize scaledPageSize(const QSize& size, double factor);

// Where a text box lies over the scaled page image: left, top, width and height times the factor,
// each truncated toward zero.
QRect scaledBox(const Subtext& box, double factor);

// The factor at which a page of `pageSize` pixels is as wide as the page area: `areaWidth` and
// `areaHeight` are the area's size without scroll bars, `scrollBarExtent` the width a vertical
// scroll bar takes, which is left free when the page is then taller than the area. Bounded by the
// limits; 1 for an empty page or area.
double fitWidthZoom(const QSize& pageSize, int areaWidth, int areaHeight, int scrollBarExtent);

// The factor as the tool row shows it: "100%", "78%" (whole percents).
QString zoomPercentText(double factor);

// The scroll position after a change of factor that keeps the page point under `anchor` (a
// point of the visible area) where it is: `scroll` is the position before.
QPoint anchoredScroll(const QPoint& scroll, const QPoint& anchor, double oldFactor,
                      double newFactor);
