// "-piall": the engine program finds a keyword and stamps an image at it, once per page.
// Outputs are read back with pdfimages, qpdf (content streams) and pdftoppm (rendered pages).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "keyword_images_support.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using kwtest::runMarqel;
using testsupport::kitDir;
using testsupport::signedExitCode;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;

size_t countOf(const std::string& text, const std::string& piece) {
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class KeywordStampTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // 40 x 20 pixels: the upper half red, the lower half blue, so a turned or flipped
        // stamp shows.
        image_ = dir_ / "stamp.bmp";
        testsupport::writeFile(image_, kwtest::twoColourBmp(40, 20, 10, kRed, kBlue));
    }
    testsupport::CommandResult stamp(const fs::path& input, const std::string& keyword,
                                     const std::string& width, const std::string& height) {
        return runMarqel(
            {input.string(), "-piall", out().string(), keyword, image_.string(), width, height});
    }
    fs::path out() const { return dir_ / "out.pdf"; }

    testsupport::TempDir dir_;
    fs::path image_;
};

TEST_F(KeywordStampTest, KeywordOnEveryPageGivesThreeStampsAtTheFirstOccurrenceEach) {
    const fs::path input = kitDir() / "multipage.pdf";
    auto r = stamp(input, "STAMPME", "60", "20");
    ASSERT_EQ(signedExitCode(r.exitCode), 3) << r.output;
    EXPECT_EQ(countOf(r.output, "Start insert image\n"), 3u);
    ASSERT_TRUE(fs::exists(out()));
    EXPECT_TRUE(testsupport::qpdfCheckPasses(out()));

    const auto images = kwtest::listDrawnImages(out());
    ASSERT_EQ(images.size(), 3u);
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        EXPECT_EQ(images[page - 1].page, page);
        EXPECT_EQ(images[page - 1].width, 40);
        EXPECT_EQ(images[page - 1].height, 20);
        // One stamp, not one per occurrence, with its upper-left corner at the first
        // occurrence: x 112.02, top 90 (baseline 690, 12 pt), so the bottom is 792 - 90 - 20.
        const auto placed = kwtest::placementsOnPage(kwtest::placements(out()), page);
        ASSERT_EQ(placed.size(), 1u);
        EXPECT_NEAR(placed[0].minX(), 112.02, 0.01);
        EXPECT_NEAR(placed[0].maxX(), 172.02, 0.01);
        EXPECT_NEAR(placed[0].minY(), 682.0, 0.01);
        EXPECT_NEAR(placed[0].maxY(), 702.0, 0.01);
    }
    // The same bytes stamped on three pages are one image object.
    EXPECT_EQ(images[0].object, images[1].object);
    EXPECT_EQ(images[1].object, images[2].object);
    EXPECT_EQ(kwtest::countImageObjects(out()), 1);
    // The text is kept.
    EXPECT_EQ(testsupport::extractText(out()), testsupport::extractText(input));
}

TEST_F(KeywordStampTest, ConsoleReportsEachHitAndTheCountWithALiteralBackslashN) {
    auto r = stamp(kitDir() / "multipage.pdf", "STAMPME", "60", "20");
    ASSERT_EQ(signedExitCode(r.exitCode), 3) << r.output;
    for (int page = 1; page <= 3; ++page) {
        const std::string expected =
            "keyword: STAMPME\nFound string on Page: " + std::to_string(page) +
            "\nx = 112.020000\ny = 690.000000\n";
        EXPECT_NE(r.output.find(expected), std::string::npos) << r.output;
    }
    EXPECT_EQ(countOf(r.output, "keyword: STAMPME\n"), 3u);
    // Progress traces go to standard error.
    EXPECT_NE(r.errors.find("Processing time: "), std::string::npos) << r.errors;
    EXPECT_NE(r.errors.find("come here\n"), std::string::npos) << r.errors;
    EXPECT_EQ(r.output.find("Processing time: "), std::string::npos);
    EXPECT_TRUE(endsWith(r.output, "Replaced 3 keywords\\n")) << r.output;
}

// The stamp as pdftoppm shows the displayed page (one pixel per point): upper-left corner at
// the keyword's x and top (displayed height - baseline - 12), red half above the blue half.
TEST_F(KeywordStampTest, StampLandsUprightAtTheKeywordOfTheDisplayedPage) {
    struct Case {
        const char* file;
        const char* keyword;
        int page;
        int pageWidth, pageHeight;  // displayed
        double left, top;
        int stamps;  // in the whole document
    } cases[] = {
        {"multipage.pdf", "STAMPME", 2, 612, 792, 112.02, 90, 3},
        // CORNERWORD (user space 450, 100) starts at x 100, 450 below the top of the turned
        // page, so the corner is at top 612 - (612 - 450) - 12.
        {"rotate90.pdf", "CORNERWORD", 1, 792, 612, 100, 438, 1},
        {"rotate270.pdf", "CORNERWORD", 1, 792, 612, 692, 150, 1},
        // CropBox [150 250 662 942]: CROPWORD (200, 300) is at (50, 50) from the lower left.
        {"offset_mediabox.pdf", "CROPWORD", 2, 512, 692, 50, 630, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.keyword);
        auto r = stamp(kitDir() / c.file, c.keyword, "60", "20");
        ASSERT_EQ(signedExitCode(r.exitCode), c.stamps) << r.output;
        const kwtest::Raster page = kwtest::renderPage(out(), c.page);
        EXPECT_EQ(page.width, c.pageWidth);
        EXPECT_EQ(page.height, c.pageHeight);
        const kwtest::PixelBox red = kwtest::findColour(page, kRed);
        const kwtest::PixelBox blue = kwtest::findColour(page, kBlue);
        ASSERT_GT(red.count, 0);
        ASSERT_GT(blue.count, 0);
        EXPECT_NEAR(red.left, c.left, 1.5);
        EXPECT_NEAR(red.top, c.top, 1.5);
        EXPECT_NEAR(red.width(), 60.0, 1.5);
        EXPECT_NEAR(red.height(), 10.0, 1.5);
        EXPECT_NEAR(blue.left, c.left, 1.5);
        EXPECT_NEAR(blue.top, c.top + 10, 1.5);
        EXPECT_NEAR(blue.bottom + 1, c.top + 20, 1.5);
        fs::remove(out());
    }
}

TEST_F(KeywordStampTest, StampOnATurnedPageIsDrawnInUserSpaceTurnedBack) {
    // With /Rotate 90 the displayed x is the user y and the displayed top-down y is the user
    // x: the corner (100, 438) and 60 x 20 points cover x 438..458, y 100..160 in user space.
    auto r = stamp(kitDir() / "rotate90.pdf", "CORNERWORD", "60", "20");
    ASSERT_EQ(signedExitCode(r.exitCode), 1) << r.output;
    const auto placed = kwtest::placementsOnPage(kwtest::placements(out()), 1);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_NEAR(placed[0].minY(), 100.0, 0.01);
    EXPECT_NEAR(placed[0].maxY(), 160.0, 0.01);
    EXPECT_NEAR(placed[0].minX(), 438.0, 0.01);
    EXPECT_NEAR(placed[0].maxX(), 458.0, 0.01);
}

TEST_F(KeywordStampTest, RunsThatStampNothingWriteNoOutput) {
    struct Case {
        const char* name;
        fs::path input;
        std::string keyword;
        bool imageExists;
        int expected;
        const char* lastOutput;  // the end of what the engine prints, or null for nothing
    } cases[] = {
        {"empty keyword", kitDir() / "multipage.pdf", "", true, -1, "Replaced -1 keywords\\n"},
        {"keyword nowhere", kitDir() / "multipage.pdf", "NOWHEREWORD", true, 0,
         "Replaced 0 keywords\\n"},
        {"keyword split over two strings", kitDir() / "multipage.pdf", "SPLITWORD", true, 0,
         "Replaced 0 keywords\\n"},
        {"missing input", kitDir() / "no_such_file.pdf", "STAMPME", true, -3,
         "Replaced -3 keywords\\n"},
        {"missing image", kitDir() / "multipage.pdf", "STAMPME", false, -2, nullptr},
    };
    for (const auto& c : cases) {
        const fs::path image = c.imageExists ? image_ : dir_ / "no_such_image.png";
        auto r = runMarqel(
            {c.input.string(), "-piall", out().string(), c.keyword, image.string(), "60", "20"});
        EXPECT_EQ(signedExitCode(r.exitCode), c.expected) << c.name << "\n" << r.output;
        EXPECT_FALSE(fs::exists(out())) << c.name;
        if (c.lastOutput != nullptr) {
            EXPECT_TRUE(endsWith(r.output, c.lastOutput)) << c.name << "\n" << r.output;
        } else {
            EXPECT_EQ(r.output, "") << c.name;
        }
        EXPECT_EQ(countOf(r.output, "Start insert image"), 0u) << c.name;
    }
}

TEST_F(KeywordStampTest, OutputThatCannotBeWrittenGivesMinusFive) {
    const fs::path target = dir_ / "missing_folder" / "out.pdf";
    auto r = runMarqel({(kitDir() / "multipage.pdf").string(), "-piall", target.string(), "STAMPME",
                        image_.string(), "60", "20"});
    EXPECT_EQ(signedExitCode(r.exitCode), -5) << r.output;
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(endsWith(r.output, "Replaced -5 keywords\\n")) << r.output;
}

TEST_F(KeywordStampTest, ZeroWidthFollowsTheImageAspectRatio) {
    // The image is 40 x 20 pixels: a height of 20 points gives a width of 40.
    auto r = stamp(kitDir() / "multipage.pdf", "STAMPME", "0", "20");
    ASSERT_EQ(signedExitCode(r.exitCode), 3) << r.output;
    const auto placed = kwtest::placementsOnPage(kwtest::placements(out()), 1);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_NEAR(placed[0].maxX() - placed[0].minX(), 40.0, 0.01);
    EXPECT_NEAR(placed[0].maxY() - placed[0].minY(), 20.0, 0.01);
    EXPECT_NEAR(placed[0].maxY(), 702.0, 0.01);  // the top stays at the keyword
}

}  // namespace
