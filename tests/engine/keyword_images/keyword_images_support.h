#pragma once

// Helpers of the keyword and image-rule tests: rule lines, small generated images, and
// independent readers of where an output PDF draws its images (qpdf for the content streams,
// pdfimages for the image list, pdftoppm for the rendered page).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace kwtest {

// One image rule line: page, left, top, path, width, height (text-layer pixels at 150 dpi).
std::string imageRuleLine(int page, double left, double top, const std::filesystem::path& image,
                          double width, double height);

// A 24-bit BMP of `width` x `height` pixels; the upper `topRows` rows have the colour `top`,
// the others `bottom` (colours 0xRRGGBB). No resolution is stored (72 dpi).
std::string twoColourBmp(int width, int height, int topRows, uint32_t top, uint32_t bottom);
std::string solidBmp(int width, int height, uint32_t colour);

// One row of `pdfimages -list`.
struct ImageRow {
    int page = 0;
    std::string type;  // image, smask, mask, ...
    int width = 0;
    int height = 0;
    std::string color;  // gray, rgb, cmyk, index, ...
    int comp = 0;
    int bpc = 0;
    std::string enc;  // jpeg, image, ...
    int object = 0;
};
std::vector<ImageRow> listImages(const std::filesystem::path& pdf);
// The rows of type "image" only (no soft masks).
std::vector<ImageRow> listDrawnImages(const std::filesystem::path& pdf);

// Where the content of a page draws an XObject: the transformation matrix in effect at its
// `Do` (user space), in content order.
struct Placement {
    int page = 0;
    std::string name;
    double m[6] = {1, 0, 0, 1, 0, 0};
    // The box the unit square covers, in user space.
    double minX() const;
    double maxX() const;
    double minY() const;
    double maxY() const;
};
// Reads every page's content through `qpdf --qdf` and follows q/Q/cm up to each `Do`.
std::vector<Placement> placements(const std::filesystem::path& pdf);
std::vector<Placement> placementsOnPage(const std::vector<Placement>& all, int page);

// The number of image XObjects in the file (qpdf --qdf, uncompressed object dump).
int countImageObjects(const std::filesystem::path& pdf);

// A rendered page (pdftoppm -cropbox at 72 dpi: one pixel per point of the displayed page).
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    uint32_t at(int x, int y) const;
};
Raster renderPage(const std::filesystem::path& pdf, int page);

// The smallest box (pixels, top-down) that holds every pixel near `colour`.
struct PixelBox {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive
    int count = 0;
    double width() const { return right - left + 1; }
    double height() const { return bottom - top + 1; }
};
PixelBox findColour(const Raster& raster, uint32_t colour);

// Runs the engine program with arguments.
testsupport::CommandResult runMarqel(const std::vector<std::string>& args);

constexpr double kPixelsToPoints = 72.0 / 150.0;

}  // namespace kwtest
