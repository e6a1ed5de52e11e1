// The Hevrit page helper as the front end starts it: page images against pdftoppm, text layers
// against pdftotext, page ranges, failures, and word boxes that the engine edits in-font.

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "hevrit_layer_reader.h"
#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

CommandResult hevrit(const std::vector<std::string>& args) {
    return run(runDir() / "Hevrit.dll", args);
}

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The PNG decoded as 8-bit RGB; empty when it is no valid PNG or not stored as RGB without alpha.
Raster decodeRgbPng(const fs::path& file) {
    Raster raster;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return raster;
    if (image.format != PNG_FORMAT_RGB) {
        png_image_free(&image);
        return raster;
    }
    raster.width = static_cast<int>(image.width);
    raster.height = static_cast<int>(image.height);
    raster.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, raster.rgb.data(), 0, nullptr)) return Raster();
    return raster;
}

std::vector<Word> pageWords(const fs::path& pdf, int page) {
    std::vector<Word> words;
    for (const Word& w : extractWords(pdf))
        if (w.page == page) words.push_back(w);
    return words;
}

TEST(HevritImages, everyPageAsPdftoppmRendersItInRgb) {
    for (const char* file :
         {"rotate90.pdf", "rotate270.pdf", "offset_mediabox.pdf", "multipage.pdf"}) {
        TempDir dir;
        const fs::path pdf = kitDir() / file;
        const CommandResult r = hevrit({pdf.string(), "-ht", (dir / "p.png").string()});
        ASSERT_EQ(r.exitCode, 0) << file << r.errors;
        for (int page = 1; fs::exists(dir / ("p_pg_000" + std::to_string(page) + ".htm")); ++page) {
            const Raster png = decodeRgbPng(dir / ("p_pg_000" + std::to_string(page) + ".png"));
            const Raster reference = renderPage(pdf, page, 150);
            ASSERT_GT(reference.width, 0);
            EXPECT_EQ(png.width, reference.width) << file << " page " << page;
            EXPECT_EQ(png.height, reference.height) << file << " page " << page;
            EXPECT_TRUE(png.rgb == reference.rgb) << file << " page " << page;
        }
    }
}

// Words read back with the front end's rules equal pdftotext's; horizontal words keep their
// left and right, vertical ones their extent along the text, within 2 pixels.
TEST(HevritTextLayer, wordsAndPlacesMatchPdftotext) {
    for (const char* file :
         {"std14_helvetica.pdf", "differences.pdf", "tj_kerning.pdf", "rotated_text.pdf",
          "rotate90.pdf", "rotate270.pdf", "offset_mediabox.pdf", "cairo_text.pdf",
          "reportlab_ttf.pdf", "ghostscript_type1c.pdf", "rich_structure.pdf"}) {
        TempDir dir;
        const fs::path pdf = kitDir() / file;
        const bool turned =
            std::string(file) == "rotate90.pdf" || std::string(file) == "rotate270.pdf";
        ASSERT_EQ(hevrit({pdf.string(), "-ht", (dir / "p.png").string(), "-textonly"}).exitCode, 0);
        for (int page = 1; fs::exists(dir / ("p_pg_000" + std::to_string(page) + ".htm")); ++page) {
            const auto layer =
                readLayer(readFile(dir / ("p_pg_000" + std::to_string(page) + ".htm")));
            const std::vector<Word> reference = pageWords(pdf, page);
            ASSERT_EQ(layer.size(), reference.size()) << file << " page " << page;
            for (size_t i = 0; i < layer.size(); ++i) {
                const Word& w = reference[i];
                const LayerLine& l = layer[i];
                EXPECT_EQ(decodeWord(l.word), w.text) << file;
                const bool vertical = turned || w.text == "UPWARD" || w.text == "DOWNWARD";
                const double start = (vertical ? w.yMin : w.xMin) * 150 / 72;
                const double end = (vertical ? w.yMax : w.xMax) * 150 / 72;
                const int from = vertical ? l.top : l.left;
                const int length = vertical ? l.height : l.width;
                // The engine reads a vertical rule's top and height as whole points each.
                const double tolerance = vertical ? 3 : 2;
                EXPECT_NEAR(from, start, tolerance) << file << " " << w.text;
                EXPECT_NEAR(from + length, end, tolerance) << file << " " << w.text;
            }
        }
    }
}

TEST(HevritRange, oneMiddlePageIsNumberedOneAndTextOnlyWritesNoImage) {
    TempDir dir;
    const fs::path pdf = kitDir() / "multipage.pdf";
    ASSERT_EQ(
        hevrit({pdf.string(), "-ht", (dir / "p.png").string(), "-f", "2", "-l", "2"}).exitCode, 0);
    EXPECT_EQ(folderEntries(dir.path()),
              (std::vector<std::string>{"p_pg_0001.htm", "p_pg_0001.png"}));
    const auto layer = readLayer(readFile(dir / "p_pg_0001.htm"));
    const auto page2 = pageWords(pdf, 2);
    ASSERT_EQ(layer.size(), page2.size());
    EXPECT_EQ(layer[1].word, "Bravo");

    TempDir textOnly;
    ASSERT_EQ(hevrit({pdf.string(), "-textonly", "-ht", (textOnly / "t.png").string(), "-f", "2"})
                  .exitCode,
              0);
    EXPECT_EQ(folderEntries(textOnly.path()),
              (std::vector<std::string>{"t_pg_0001.htm", "t_pg_0002.htm"}));
    EXPECT_EQ(readFile(textOnly / "t_pg_0001.htm").find("<img"), std::string::npos);
}

TEST(HevritFailure, unreadableInputs_exit1NothingWrittenOneLine) {
    TempDir dir;
    writeFile(dir / "text.pdf", "Not a PDF at all.\n");
    writeFile(dir / "empty.pdf", "");
    const fs::path inputs[] = {dir / "missing.pdf", dir / "text.pdf", dir / "empty.pdf",
                               kitDir() / "encrypted_user_password.pdf", dir.path()};
    for (const fs::path& input : inputs) {
        const CommandResult r = hevrit({input.string(), "-ht", (dir / "p.png").string()});
        EXPECT_EQ(r.exitCode, 1) << input;
        EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 1) << input << r.errors;
    }
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"empty.pdf", "text.pdf"}));
}

TEST(HevritFailure, wrongCommandLines_exit2UsageNothingWritten) {
    TempDir dir;
    const std::string in = (kitDir() / "multipage.pdf").string();
    const std::string out = (dir / "p.png").string();
    for (const auto& args :
         std::vector<std::vector<std::string>>{{},
                                               {in},
                                               {in, "-ht"},
                                               {in, "-ht", out, "-f", "3", "-l", "2"},
                                               {in, "-ht", out, "-x"}}) {
        const CommandResult r = hevrit(args);
        EXPECT_EQ(r.exitCode, 2) << args.size() << " arguments";
        EXPECT_NE(r.errors.find("-textonly"), std::string::npos);
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(HevritFailure, pagesThatCannotBeWritten_exit3OneLineEach) {
    TempDir dir;
    const CommandResult r = hevrit(
        {(kitDir() / "multipage.pdf").string(), "-ht", (dir / "missing" / "p.png").string()});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 3) << r.errors;
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// A rule made from a word's box replaces the word inside its own font (no font added).
TEST(HevritBoxes, ruleFromTheWordBoxIsATrueInFontEdit) {
    struct EditCase {
        const char* file;
        int page;
        const char* word;
        const char* replacement;
    };
    const EditCase cases[] = {
        {"std14_helvetica.pdf", 1, "Invoice", "voiceIn"},       // std14
        {"multipage.pdf", 3, "hypo", "ophy"},                   // std14-times, 8 pt
        {"truetype_winansi.pdf", 1, "Quarterly", "uarterlyQ"},  // truetype-winansi
        {"cairo_text.pdf", 1, "Serif", "erifS"},                // truetype-subset-winansi, 20 pt
        {"ghostscript_type1c.pdf", 1, "Receipt", "eceiptR"},    // type1c-subset
        {"rotated_text.pdf", 1, "UPWARD", "DRAWPU"},            // running up
        {"rotated_text.pdf", 1, "DOWNWARD", "DRAWNWOD"},        // running down
    };
    for (const EditCase& c : cases) {
        TempDir dir;
        const fs::path pdf = kitDir() / c.file;
        const std::string page = std::to_string(c.page);
        ASSERT_EQ(hevrit({pdf.string(), "-ht", (dir / "p.png").string(), "-textonly", "-f", page,
                          "-l", page})
                      .exitCode,
                  0);
        const auto layer = readLayer(readFile(dir / "p_pg_0001.htm"));
        const auto at = std::find_if(layer.begin(), layer.end(),
                                     [&](const LayerLine& l) { return l.word == c.word; });
        ASSERT_NE(at, layer.end()) << c.word;
        writeFile(dir / "rules.txt", page + "-" + std::to_string(at->left) + "-" +
                                         std::to_string(at->top) + "-" + std::to_string(at->width) +
                                         "-" + std::to_string(at->height) + ":" + c.word + ":" +
                                         c.replacement + "\r\n");
        run(marqelPath(),
            {pdf.string(), "-tesome", (dir / "out.pdf").string(), (dir / "rules.txt").string()});
        const std::string text = extractText(dir / "out.pdf", c.page);
        EXPECT_NE(text.find(c.replacement), std::string::npos) << c.file << " " << c.word;
        EXPECT_EQ(text.find(c.word), std::string::npos) << c.file << " " << c.word;
        EXPECT_EQ(listFonts(dir / "out.pdf").size(), listFonts(pdf).size())
            << c.file << " " << c.word;
    }
}

}  // namespace
