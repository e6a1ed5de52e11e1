#pragma once

// Page positions in rule files are pixels of the page rendered at 150 dpi; the engine works in
// points (1/72 inch). These are the engine's conversions, shared with the programs that write
// positions for it. Header only, no dependencies.

#include <algorithm>
#include <cmath>

namespace marqel {

constexpr int kRuleDpi = 150;
constexpr int kPointsPerInch = 72;

// Pixels to whole points as the engine reads a rule: pixels × 72 / 150, truncated toward zero.
inline int pixelsToPoints(int pixels) {
    return static_cast<int>(static_cast<long long>(pixels) * kPointsPerInch / kRuleDpi);
}

// Pixels to points without rounding (image sizes and placements).
inline double pixelsToPoints(double pixels) {
    return pixels * kPointsPerInch / kRuleDpi;
}

// Points to pixels without rounding.
inline double pointsToPixels(double points) {
    return points * kRuleDpi / kPointsPerInch;
}

// The pixel value to write into a rule so that the engine reads (pixelsToPoints) the whole
// point value nearest to `points`; of the pixel values that read so, the one nearest to
// pointsToPixels(points). Never negative: negative points give 0.
inline int pointsToRulePixels(double points) {
    if (!(points > 0)) return 0;  // also NaN
    const long long wanted = std::llround(std::min(points, 1e9));
    // Pixel values that read as `wanted`: from ceil(wanted × 150 / 72) up to, not including,
    // ceil((wanted + 1) × 150 / 72).
    const long long lowest = (wanted * kRuleDpi + kPointsPerInch - 1) / kPointsPerInch;
    const long long highest = ((wanted + 1) * kRuleDpi + kPointsPerInch - 1) / kPointsPerInch - 1;
    const long long nearest = std::llround(pointsToPixels(std::min(points, 1e9)));
    return static_cast<int>(std::clamp(nearest, lowest, highest));
}

}  // namespace marqel
