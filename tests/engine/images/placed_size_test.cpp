#include "pdf/images/placed_size.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace relettra::pdf {
namespace {

struct SizeCase {
    const char* name;
    ImageInfo info;
    double width;
    double height;
    double expectedWidth;
    double expectedHeight;
};

TEST(PlacedSizeTest, requestedSizesResolveAsDocumented) {
    const ImageInfo at72{200, 100, 72.0, 72.0};
    const ImageInfo at150{300, 150, 150.0, 150.0};
    const ImageInfo unevenDpi{300, 300, 300.0, 150.0};
    const ImageInfo noDpi{200, 100, 0.0, -5.0};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const SizeCase cases[] = {
        {"bothGiven_keptAsGiven", at72, 30, 40, 30, 40},
        {"widthOnly_heightFollowsAspect", at72, 100, 0, 100, 50},
        {"heightOnly_widthFollowsAspect", at72, 0, 25, 50, 25},
        {"neither_naturalSizeAt72", at72, 0, 0, 200, 100},
        {"neither_naturalSizeAtFileDpi", at150, 0, 0, 144, 72},
        {"widthOnly_unevenDpiAspect", unevenDpi, 36, 0, 36, 72},
        {"neither_unusableDpiMeans72", noDpi, 0, 0, 200, 100},
        {"negativeWidth_countsAsNotGiven", at72, -10, 0, 200, 100},
        {"negativeHeightWithWidth_followsAspect", at72, 100, -1, 100, 50},
        {"bothNegative_naturalSize", at72, -10, -5, 200, 100},
        {"nanWidth_countsAsNotGiven", at72, nan, 25, 50, 25},
        {"infiniteHeight_countsAsNotGiven", at72, 100, inf, 100, 50},
    };
    for (const SizeCase& c : cases) {
        const auto [width, height] = resolvePlacedSize(c.info, c.width, c.height);
        EXPECT_DOUBLE_EQ(width, c.expectedWidth) << c.name;
        EXPECT_DOUBLE_EQ(height, c.expectedHeight) << c.name;
    }
}

}  // namespace
}  // namespace relettra::pdf
