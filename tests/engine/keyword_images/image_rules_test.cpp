// "-pisome": image rules drawn into a copy of the input. Rule numbers are text-layer pixels at
// 150 dpi, top-down; on the page they become points (x 72/150). Outputs are read back with
// pdfimages -list (pixel size, colour, bits, encoding, objects), the content streams through
// qpdf (the drawing rectangle) and pdftoppm (which image is on top).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "keyword_images_support.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using kwtest::imageRuleLine;
using kwtest::kPixelsToPoints;
using kwtest::runMarqel;
using testsupport::imagesDir;
using testsupport::kitDir;
using testsupport::signedExitCode;

constexpr double kPageHeight = 792.0;

size_t countOf(const std::string& text, const std::string& piece) {
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

class ImageRulesTest : public ::testing::Test {
  protected:
    testsupport::CommandResult runRules(const std::string& lines,
                                        const fs::path& input = kitDir() / "multipage.pdf") {
        testsupport::writeFile(rules(), lines);
        return runMarqel({input.string(), "-pisome", out().string(), rules().string()});
    }
    fs::path out() const { return dir_ / "out.pdf"; }
    fs::path rules() const { return dir_ / "imagerule.txt"; }
    fs::path makeBmp(const std::string& name, int w, int h, uint32_t colour) {
        const fs::path file = dir_ / name;
        testsupport::writeFile(file, kwtest::solidBmp(w, h, colour));
        return file;
    }

    testsupport::TempDir dir_;
};

// Expects one drawing of the unit square onto the rule's rectangle (points, top-down page).
void expectRectangle(const kwtest::Placement& p, double left, double top, double width,
                     double height) {
    EXPECT_NEAR(p.minX(), left, 0.01);
    EXPECT_NEAR(p.maxX(), left + width, 0.01);
    EXPECT_NEAR(p.maxY(), kPageHeight - top, 0.01);
    EXPECT_NEAR(p.minY(), kPageHeight - top - height, 0.01);
    // Upright: no turn, no mirror.
    EXPECT_GT(p.m[0], 0);
    EXPECT_GT(p.m[3], 0);
    EXPECT_NEAR(p.m[1], 0, 1e-9);
    EXPECT_NEAR(p.m[2], 0, 1e-9);
}

TEST_F(ImageRulesTest, RuleInsideThePagePrintsItsTracesAndDrawsAtTheScaledRectangle) {
    // 150 dpi pixels (150, 300, 300 x 150) on page 2 are points (72, 144, 144 x 72).
    const fs::path image = imagesDir() / "png_rgb.png";
    auto r = runRules(imageRuleLine(2, 150, 300, image, 300, 150));
    ASSERT_EQ(signedExitCode(r.exitCode), 1) << r.output;
    for (const std::string& line :
         {std::string("x pos is :150.000000\n"), std::string("y pos is :300.000000\n"),
          "jpeg is :" + image.string() + "\n", std::string("width is :300.000000\n"),
          std::string("height is :150.000000\n"), std::string("Page count is:3\n"),
          std::string("Start insert image\n")}) {
        EXPECT_NE(r.output.find(line), std::string::npos) << "missing: " << line << r.output;
    }
    // A progress trace, on standard error.
    EXPECT_NE(r.errors.find("come here\n"), std::string::npos) << r.errors;
    const auto placed = kwtest::placements(out());
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].page, 2);
    expectRectangle(placed[0], 72, 144, 144, 72);
    const auto images = kwtest::listDrawnImages(out());
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].page, 2);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(out()));
}

TEST_F(ImageRulesTest, RuleForAPageBeyondTheDocumentPlacesNothingAndSucceeds) {
    auto r = runRules(imageRuleLine(5, 100, 100, imagesDir() / "png_rgb.png", 100, 50));
    EXPECT_EQ(signedExitCode(r.exitCode), 1) << r.output;
    ASSERT_TRUE(fs::exists(out()));
    EXPECT_EQ(countOf(r.output, "Start insert image"), 0u);
    EXPECT_TRUE(kwtest::listImages(out()).empty());
    EXPECT_EQ(testsupport::extractText(out()),
              testsupport::extractText(kitDir() / "multipage.pdf"));
}

TEST_F(ImageRulesTest, EmptyRuleFileGivesAnUnchangedCopy) {
    const fs::path input = kitDir() / "multipage.pdf";
    auto r = runRules("");
    EXPECT_EQ(signedExitCode(r.exitCode), 1) << r.output;
    ASSERT_TRUE(fs::exists(out()));
    EXPECT_TRUE(testsupport::qpdfCheckPasses(out()));
    EXPECT_EQ(testsupport::runTool("qpdf", {"--show-npages", out().string()}).output, "3\n");
    EXPECT_TRUE(kwtest::listImages(out()).empty());
    EXPECT_TRUE(kwtest::placements(out()).empty());
    EXPECT_EQ(testsupport::extractText(out()), testsupport::extractText(input));
    const auto before = testsupport::extractWords(input);
    const auto after = testsupport::extractWords(out());
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].text, before[i].text);
        EXPECT_NEAR(after[i].xMin, before[i].xMin, 0.01);
        EXPECT_NEAR(after[i].yMin, before[i].yMin, 0.01);
    }
}

TEST_F(ImageRulesTest, MissingImageOnTheThirdLineStopsWithMinusTwoAndWritesNothing) {
    const fs::path good = imagesDir() / "png_rgb.png";
    auto r = runRules(imageRuleLine(1, 100, 100, good, 100, 100) +
                      imageRuleLine(2, 100, 100, good, 100, 100) +
                      imageRuleLine(3, 100, 100, dir_ / "no_such_image.png", 100, 100) +
                      imageRuleLine(3, 300, 300, good, 100, 100));
    EXPECT_EQ(signedExitCode(r.exitCode), -2) << r.output;
    EXPECT_FALSE(fs::exists(out()));
    // The first two lines were applied in memory; the fourth was never read.
    EXPECT_EQ(countOf(r.output, "Start insert image"), 2u) << r.output;
    EXPECT_EQ(countOf(r.output, "Page count is:"), 3u) << r.output;
    EXPECT_EQ(countOf(r.output, "x pos is :300.000000"), 0u) << r.output;
}

TEST_F(ImageRulesTest, LaterRuleOnTheSameAreaIsDrawnOnTop) {
    const fs::path red = makeBmp("red.bmp", 30, 30, 0xFF0000);
    const fs::path blue = makeBmp("blue.bmp", 20, 20, 0x0000FF);
    struct Case {
        fs::path first, second;
        uint32_t topColour, coveredColour;
        int firstPixels, secondPixels;
    } cases[] = {
        {red, blue, 0x0000FF, 0xFF0000, 30, 20},
        {blue, red, 0xFF0000, 0x0000FF, 20, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first.filename().string() + " then " + c.second.filename().string());
        auto r = runRules(imageRuleLine(1, 300, 300, c.first, 200, 200) +
                          imageRuleLine(1, 300, 300, c.second, 200, 200));
        ASSERT_EQ(signedExitCode(r.exitCode), 1) << r.output;
        // Drawn in file order...
        const auto images = kwtest::listDrawnImages(out());
        ASSERT_EQ(images.size(), 2u);
        EXPECT_EQ(images[0].width, c.firstPixels);
        EXPECT_EQ(images[1].width, c.secondPixels);
        const auto placed = kwtest::placements(out());
        ASSERT_EQ(placed.size(), 2u);
        expectRectangle(placed[0], 144, 144, 96, 96);
        expectRectangle(placed[1], 144, 144, 96, 96);
        // ... so the later one covers the earlier.
        const kwtest::Raster page = kwtest::renderPage(out(), 1);
        const kwtest::PixelBox top = kwtest::findColour(page, c.topColour);
        EXPECT_NEAR(top.left, 144, 1.5);
        EXPECT_NEAR(top.top, 144, 1.5);
        EXPECT_NEAR(top.width(), 96, 1.5);
        EXPECT_NEAR(top.height(), 96, 1.5);
        EXPECT_EQ(kwtest::findColour(page, c.coveredColour).count, 0);
        fs::remove(out());
    }
}

TEST_F(ImageRulesTest, UndecodableImageIsReportedAndTheRunGoesOn) {
    auto r = runRules(imageRuleLine(1, 100, 100, imagesDir() / "not_an_image.txt", 100, 100) +
                      imageRuleLine(2, 100, 100, imagesDir() / "png_rgb.png", 100, 100));
    EXPECT_EQ(signedExitCode(r.exitCode), 1) << r.output;
    ASSERT_TRUE(fs::exists(out()));
    // One of the error callback's lines ("Value error!: ...", "Syntax error!: ..." etc.).
    EXPECT_NE(r.errors.find(" error!: "), std::string::npos) << r.errors;
    const auto images = kwtest::listDrawnImages(out());
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].page, 2);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(out()));
}

TEST_F(ImageRulesTest, SameImageOnSeveralRulesIsOneObject) {
    // png_rgba has an alpha channel: one image and one soft mask, however often it is drawn.
    const fs::path image = imagesDir() / "png_rgba.png";
    auto r = runRules(
        imageRuleLine(1, 100, 100, image, 80, 60) + imageRuleLine(1, 400, 100, image, 80, 60) +
        imageRuleLine(2, 100, 100, image, 160, 120) + imageRuleLine(3, 100, 100, image, 80, 60));
    ASSERT_EQ(signedExitCode(r.exitCode), 1) << r.output;
    const auto images = kwtest::listDrawnImages(out());
    ASSERT_EQ(images.size(), 4u);
    for (const auto& row : images) {
        EXPECT_EQ(row.object, images[0].object);
    }
    EXPECT_EQ(kwtest::countImageObjects(out()), 2);
    EXPECT_EQ(kwtest::placements(out()).size(), 4u);
}

TEST_F(ImageRulesTest, RuleFileThatCannotBeReadGivesMinusFourAndNoOutput) {
    auto r = runMarqel({(kitDir() / "multipage.pdf").string(), "-pisome", out().string(),
                        (dir_ / "no_such_rules.txt").string()});
    EXPECT_EQ(signedExitCode(r.exitCode), -4) << r.output;
    EXPECT_FALSE(fs::exists(out()));
}

TEST_F(ImageRulesTest, OutputThatCannotBeWrittenGivesMinusFive) {
    testsupport::writeFile(rules(),
                           imageRuleLine(1, 100, 100, imagesDir() / "png_rgb.png", 100, 100));
    const fs::path target = dir_ / "missing_folder" / "out.pdf";
    auto r = runMarqel(
        {(kitDir() / "multipage.pdf").string(), "-pisome", target.string(), rules().string()});
    EXPECT_EQ(signedExitCode(r.exitCode), -5) << r.output;
    EXPECT_FALSE(fs::exists(target));
}

// Width or height 0: the missing side follows the aspect ratio; both 0: the image's own size
// at its resolution (72 dpi without one).
TEST_F(ImageRulesTest, ZeroSizesFollowTheImage) {
    struct Case {
        const char* image;
        double width, height;              // rule, pixels at 150 dpi
        double placedWidth, placedHeight;  // points
    } cases[] = {
        {"png_rgb.png", 0, 150, 96, 72},  // 40 x 30: height 72 pt gives width 96
        {"png_rgb.png", 200, 0, 96, 72},
        {"png_rgb.png", 0, 0, 40, 30},  // no resolution: 72 dpi
        {"bmp_24bit.bmp", 0, 0, 40, 30},
        {"jpeg_150dpi.jpg", 0, 0, 19.2, 14.4},  // 40 x 30 at 150 dpi
        {"png_300dpi.png", 0, 0, 9.6, 7.2},     // 40 x 30 at 300 dpi
        {"gif_animated.gif", 0, 100, 96, 48},   // 20 x 10
    };
    std::string lines;
    for (const auto& c : cases) {
        lines += imageRuleLine(1, 100, 200, imagesDir() / c.image, c.width, c.height);
    }
    auto r = runRules(lines);
    ASSERT_EQ(signedExitCode(r.exitCode), 1) << r.output;
    const auto placed = kwtest::placements(out());
    ASSERT_EQ(placed.size(), std::size(cases));
    for (size_t i = 0; i < placed.size(); ++i) {
        SCOPED_TRACE(std::string(cases[i].image) + " " + std::to_string(cases[i].width) + " x " +
                     std::to_string(cases[i].height));
        // The upper-left corner stays at the rule's (48, 96) points.
        expectRectangle(placed[i], 48, 96, cases[i].placedWidth, cases[i].placedHeight);
    }
}

// One image file of each kind, drawn by one rule: its pixels, colours and encoding as
// pdfimages reads them, and the rule's rectangle in the content.
struct FormatCase {
    const char* file;
    int width, height;
    // pdfimages' "color comp bpc" columns; palette images may stay indexed or become RGB,
    // so some kinds allow more than one form ("index 1 8|rgb 3 8").
    const char* colourForms;
    const char* enc;  // "jpeg": the file's bytes as DCTDecode; "image": decoded, Flate
    bool softMask;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.file;
}

class ImageFormatTest : public ImageRulesTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(ImageFormatTest, ImageLandsWithItsPixelsAtTheRuleRectangle) {
    const FormatCase& c = GetParam();
    const fs::path image = imagesDir() / c.file;
    // Pixels (200, 400, 160 x 120) are points (96, 192, 76.8 x 57.6).
    auto r = runRules(imageRuleLine(3, 200, 400, image, 160, 120));
    ASSERT_EQ(signedExitCode(r.exitCode), 1) << r.output;
    EXPECT_EQ(r.errors.find("error!"), std::string::npos) << r.errors;

    const auto rows = kwtest::listImages(out());
    ASSERT_FALSE(rows.empty());
    const kwtest::ImageRow& row = rows[0];
    EXPECT_EQ(row.page, 3);
    EXPECT_EQ(row.type, "image");
    EXPECT_EQ(row.width, c.width);
    EXPECT_EQ(row.height, c.height);
    const std::string form =
        row.color + " " + std::to_string(row.comp) + " " + std::to_string(row.bpc);
    const std::string forms = std::string("|") + c.colourForms + "|";
    EXPECT_NE(forms.find("|" + form + "|"), std::string::npos)
        << "colour form \"" << form << "\", expected one of \"" << c.colourForms << "\"";
    EXPECT_EQ(row.enc, c.enc);
    if (c.softMask) {
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].type, "smask");
        EXPECT_EQ(rows[1].width, c.width);
        EXPECT_EQ(rows[1].height, c.height);
    } else {
        EXPECT_EQ(rows.size(), 1u);
    }

    const auto placed = kwtest::placements(out());
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].page, 3);
    expectRectangle(placed[0], 96, 192, 76.8, 57.6);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(out()));

    if (std::string(c.enc) == "jpeg") {
        // A JPEG goes in untouched: its bytes are the image stream.
        testsupport::TempDir extracted;
        auto x = testsupport::runTool("pdfimages",
                                      {"-j", out().string(), (extracted.path() / "im").string()});
        ASSERT_EQ(x.exitCode, 0);
        EXPECT_EQ(testsupport::readFile(extracted / "im-000.jpg"), testsupport::readFile(image));
    }
}

constexpr const char* kPalette = "index 1 1|index 1 2|index 1 4|index 1 8|rgb 3 8";

INSTANTIATE_TEST_SUITE_P(
    AllKinds, ImageFormatTest,
    ::testing::Values(FormatCase{"jpeg_rgb.jpg", 40, 30, "rgb 3 8", "jpeg", false},
                      FormatCase{"jpeg_gray.jpg", 40, 30, "gray 1 8", "jpeg", false},
                      FormatCase{"jpeg_cmyk.jpg", 40, 30, "cmyk 4 8", "jpeg", false},
                      FormatCase{"jpeg_progressive.jpg", 40, 30, "rgb 3 8", "jpeg", false},
                      FormatCase{"jpeg_150dpi.jpg", 40, 30, "rgb 3 8", "jpeg", false},
                      FormatCase{"png_palette.png", 40, 30, kPalette, "image", false},
                      FormatCase{"png_gray.png", 40, 30, "gray 1 8", "image", false},
                      FormatCase{"png_gray_1bit.png", 40, 30, "gray 1 1|gray 1 8", "image", false},
                      FormatCase{"png_gray_alpha.png", 40, 30, "gray 1 8", "image", true},
                      FormatCase{"png_rgb.png", 40, 30, "rgb 3 8", "image", false},
                      FormatCase{"png_rgba.png", 40, 30, "rgb 3 8", "image", true},
                      FormatCase{"png_16bit.png", 40, 30, "rgb 3 16|rgb 3 8", "image", false},
                      FormatCase{"png_palette_trns.png", 40, 30, kPalette, "image", true},
                      FormatCase{"png_rgb_trns.png", 40, 30, "rgb 3 8", "image", true},
                      FormatCase{"png_interlaced.png", 40, 30, "rgb 3 8", "image", false},
                      FormatCase{"png_300dpi.png", 40, 30, "rgb 3 8", "image", false},
                      FormatCase{"bmp_1bit.bmp", 40, 30, kPalette, "image", false},
                      FormatCase{"bmp_4bit.bmp", 40, 30, kPalette, "image", false},
                      FormatCase{"bmp_8bit.bmp", 40, 30, kPalette, "image", false},
                      FormatCase{"bmp_24bit.bmp", 40, 30, "rgb 3 8", "image", false},
                      FormatCase{"bmp_32bit.bmp", 40, 30, "rgb 3 8", "image", true},
                      FormatCase{"gif_plain.gif", 40, 30, kPalette, "image", false},
                      FormatCase{"gif_transparent.gif", 40, 30, kPalette, "image", true},
                      FormatCase{"gif_animated.gif", 20, 10, kPalette, "image", false}),
    [](const ::testing::TestParamInfo<FormatCase>& info) {
        std::string name = info.param.file;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST_F(ImageRulesTest, AnimatedGifDrawsItsFirstFrame) {
    // gif_animated.gif: a red frame, then a lime one.
    auto r = runRules(imageRuleLine(1, 300, 300, imagesDir() / "gif_animated.gif", 200, 100));
    ASSERT_EQ(signedExitCode(r.exitCode), 1) << r.output;
    const kwtest::Raster page = kwtest::renderPage(out(), 1);
    const kwtest::PixelBox red = kwtest::findColour(page, 0xFF0000);
    EXPECT_NEAR(red.left, 144, 1.5);
    EXPECT_NEAR(red.top, 144, 1.5);
    EXPECT_NEAR(red.width(), 96, 1.5);
    EXPECT_NEAR(red.height(), 48, 1.5);
    EXPECT_EQ(kwtest::findColour(page, 0x00FF00).count, 0);
}

}  // namespace
