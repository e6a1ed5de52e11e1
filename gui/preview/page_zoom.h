#pragma once

#include <QRect>
#include <QSize>

struct Subtext;

// The picker's display scale for the page image and the boxes over it.
inline constexpr double kZoomEnlargeStep = 1.25;
inline constexpr double kZoomShrinkStep = 0.8;
inline constexpr double kSmallestZoom = 0.1;
inline constexpr double kLargestZoom = 8.0;

// The factor after one step; the factor unchanged when the step would leave
// [kSmallestZoom, kLargestZoom].
double steppedZoom(double factor, double step);

// Each side times the factor, truncated toward zero.
QSize scaledPageSize(const QSize& size, double factor);

// Where a text box lies over the scaled page image: left, top, width and height times the factor,
// each truncated toward zero.
QRect scaledBox(const Subtext& box, double factor);
