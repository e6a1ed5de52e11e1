// Rule positions are top-down points of the page as a viewer shows it (visible box, /Rotate
// applied). Images placed by rules on turned and offset pages are found by rendering the
// output and looking for their colour.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

struct PlacementCase {
    const char* file;
    int page;
    int displayedWidth;  // points
    int displayedHeight;
};

std::ostream& operator<<(std::ostream& out, const PlacementCase& c) {
    return out << c.file << " page " << c.page;
}

// A rule's number for a position in points: the rules count 150-dpi pixels.
std::string pixels(double points) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", points * 150.0 / 72.0);
    return text;
}

std::string imageRule(int page, double left, double top, const fs::path& image, double width,
                      double height) {
    return std::to_string(page) + ":" + pixels(left) + ":" + pixels(top) + ":(" + image.string() +
           "):" + pixels(width) + ":" + pixels(height) + "\r\n";
}

class DisplayedCoordinates : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(DisplayedCoordinates, imagesLandWhereTheDisplayedPageSaysAndKeepTheirShape) {
    const PlacementCase& c = GetParam();
    TempDir dir;
    writeSolidBmp(dir / "red.bmp", 8, 4, 255, 0, 0);
    writeSolidBmp(dir / "blue.bmp", 4, 8, 0, 0, 255);
    // Red: wide, near the upper-left corner. Blue: tall, near the lower-right corner.
    const double blueLeft = c.displayedWidth - 100.0;
    const double blueTop = c.displayedHeight - 110.0;
    writeFile(dir / "rules.txt",
              imageRule(c.page, 72, 144, dir / "red.bmp", 72, 36) +
                  imageRule(c.page, blueLeft, blueTop, dir / "blue.bmp", 40, 80));
    const fs::path out = dir / "out.pdf";
    const CommandResult r = run(marqelPath(), {(kitDir() / c.file).string(), "-pisome",
                                               out.string(), (dir / "rules.txt").string()});
    ASSERT_EQ(r.exitCode, 1) << r.output;

    const Raster raster = renderPage(out, c.page, 72);
    ASSERT_EQ(raster.width, c.displayedWidth);
    ASSERT_EQ(raster.height, c.displayedHeight);
    const PixelBox red = findPixels(raster, [](unsigned rgb) {
        return (rgb >> 16) > 200 && ((rgb >> 8) & 0xff) < 60 && (rgb & 0xff) < 60;
    });
    const PixelBox blue = findPixels(raster, [](unsigned rgb) {
        return (rgb >> 16) < 60 && ((rgb >> 8) & 0xff) < 60 && (rgb & 0xff) > 200;
    });
    ASSERT_TRUE(red.found);
    ASSERT_TRUE(blue.found);
    // One pixel of slack for anti-aliasing at the edges.
    EXPECT_NEAR(red.left, 72, 1);
    EXPECT_NEAR(red.top, 144, 1);
    EXPECT_NEAR(red.right, 72 + 72 - 1, 1);
    EXPECT_NEAR(red.bottom, 144 + 36 - 1, 1);
    EXPECT_NEAR(blue.left, blueLeft, 1);
    EXPECT_NEAR(blue.top, blueTop, 1);
    EXPECT_NEAR(blue.right, blueLeft + 40 - 1, 1);
    EXPECT_NEAR(blue.bottom, blueTop + 80 - 1, 1);
}

INSTANTIATE_TEST_SUITE_P(Kit, DisplayedCoordinates,
                         ::testing::Values(PlacementCase{"std14_helvetica.pdf", 1, 612, 792},
                                           PlacementCase{"rotate90.pdf", 1, 792, 612},
                                           PlacementCase{"rotate270.pdf", 1, 792, 612},
                                           PlacementCase{"offset_mediabox.pdf", 1, 612, 792},
                                           PlacementCase{"offset_mediabox.pdf", 2, 512, 692}));

TEST(DisplayedCoordinates, imageRuleOnOnePage_leavesTheOtherPagesAlone) {
    TempDir dir;
    writeSolidBmp(dir / "red.bmp", 4, 4, 255, 0, 0);
    writeFile(dir / "rules.txt", imageRule(2, 100, 100, dir / "red.bmp", 50, 50));
    const fs::path out = dir / "out.pdf";
    const CommandResult r =
        run(marqelPath(), {(kitDir() / "offset_mediabox.pdf").string(), "-pisome", out.string(),
                           (dir / "rules.txt").string()});
    ASSERT_EQ(r.exitCode, 1) << r.output;
    auto hasRed = [&](int page) {
        return findPixels(renderPage(out, page, 36),
                          [](unsigned rgb) {
                              return (rgb >> 16) > 200 && ((rgb >> 8) & 0xff) < 60 &&
                                     (rgb & 0xff) < 60;
                          })
            .found;
    };
    EXPECT_FALSE(hasRed(1));
    EXPECT_TRUE(hasRed(2));
}

}  // namespace
