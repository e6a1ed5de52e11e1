#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>
#include <sstream>
#include <vector>

#include "image_test_support.h"
#include "pdf/images/image_cache.h"
#include "pdf/images/image_xobject.h"

namespace relettra::pdf {
namespace {

using test::imageBytes;
using test::runCommand;

namespace fs = std::filesystem;

// Builds a one-page document that draws each image once, side by side at its pixel size.
class ImagePage {
  public:
    ImagePage() : cache_(pdf_) { pdf_.emptyPDF(); }

    void draw(const std::string& file) {
        std::string error;
        auto image = cache_.get(imageBytes(file), error);
        ASSERT_TRUE(image) << file << ": " << error;
        const std::string name = "/Im" + std::to_string(xobjects_.getKeys().size());
        xobjects_.replaceKey(name, image->stream);
        std::ostringstream draw;
        draw.imbue(std::locale::classic());
        draw << "q " << image->info.pixelWidth << " 0 0 " << image->info.pixelHeight << ' ' << x_
             << " 0 cm " << name << " Do Q\n";
        content_ += draw.str();
        x_ += image->info.pixelWidth;
        height_ = std::max(height_, image->info.pixelHeight);
    }

    void save(const fs::path& path) {
        auto resources = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/XObject", xobjects_);
        auto page = QPDFObjectHandle::newDictionary();
        page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
        page.replaceKey("/MediaBox", QPDFObjectHandle::parse("[0 0 " + std::to_string(x_) + " " +
                                                             std::to_string(height_) + "]"));
        page.replaceKey("/Resources", resources);
        page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf_, content_));
        pdf_.addPage(pdf_.makeIndirectObject(page), false);
        const std::string file = path.string();  // the writer keeps the pointer until write()
        QPDFWriter writer(pdf_, file.c_str());
        writer.setStreamDataMode(qpdf_s_preserve);
        writer.setMinimumPDFVersion("1.5");
        writer.write();
    }

  private:
    QPDF pdf_;
    ImageCache cache_;
    QPDFObjectHandle xobjects_ = QPDFObjectHandle::newDictionary();
    std::string content_;
    int x_ = 0;
    int height_ = 0;
};

fs::path tempPdf(const std::string& name) {
    return fs::temp_directory_path() / ("relettra_images_" + name + ".pdf");
}

struct ListedImage {
    std::string type, width, height, color, comp, bpc, enc, object;
};

std::vector<ListedImage> pdfimagesList(const fs::path& pdf) {
    int status = 0;
    std::istringstream output(runCommand("pdfimages -list '" + pdf.string() + "'", status));
    EXPECT_EQ(status, 0);
    std::vector<ListedImage> images;
    std::string line;
    std::getline(output, line);  // column titles
    std::getline(output, line);  // rule
    while (std::getline(output, line)) {
        std::istringstream fields(line);
        std::string page, num;
        ListedImage image;
        std::string interp;
        fields >> page >> num >> image.type >> image.width >> image.height >> image.color >>
            image.comp >> image.bpc >> image.enc >> interp >> image.object;
        images.push_back(image);
    }
    return images;
}

TEST(PdfImagesListTest, everyFormatIsSeenByAnIndependentReader) {
    const char* files[] = {"jpeg_gray.jpg",     "jpeg_cmyk.jpg", "jpeg_progressive.jpg",
                           "png_palette.png",   "png_rgba.png",  "png_16bit.png",
                           "png_gray_1bit.png", "bmp_8bit.bmp",  "gif_transparent.gif",
                           "gif_animated.gif",  "jpeg_gray.jpg"};
    ImagePage page;
    for (const char* file : files) {
        page.draw(file);
    }
    const fs::path path = tempPdf("list");
    page.save(path);

    // type width height color comp bpc enc; an image with a soft mask is followed by it.
    const std::vector<std::vector<std::string>> expected = {
        {"image", "40", "30", "gray", "1", "8", "jpeg"},
        {"image", "40", "30", "cmyk", "4", "8", "jpeg"},
        {"image", "40", "30", "rgb", "3", "8", "jpeg"},
        {"image", "40", "30", "index", "1", "8", "image"},
        {"image", "40", "30", "rgb", "3", "8", "image"},
        {"smask", "40", "30", "gray", "1", "8", "image"},
        {"image", "40", "30", "rgb", "3", "16", "image"},
        {"image", "40", "30", "gray", "1", "1", "image"},
        {"image", "40", "30", "rgb", "3", "8", "image"},
        {"image", "40", "30", "rgb", "3", "8", "image"},
        {"smask", "40", "30", "gray", "1", "8", "image"},
        {"image", "20", "10", "rgb", "3", "8", "image"},
        {"image", "40", "30", "gray", "1", "8", "jpeg"},
    };
    const auto listed = pdfimagesList(path);
    ASSERT_EQ(listed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& l = listed[i];
        EXPECT_EQ(
            (std::vector<std::string>{l.type, l.width, l.height, l.color, l.comp, l.bpc, l.enc}),
            expected[i])
            << "row " << i;
    }
    // The grey JPEG drawn twice is one object.
    EXPECT_EQ(listed.front().object, listed.back().object);

    int status = 0;
    runCommand("qpdf --check '" + path.string() + "' >/dev/null 2>&1", status);
    EXPECT_EQ(status, 0);
    fs::remove(path);
}

// Reads the pixel at (x, y) of a binary PPM image.
std::array<int, 3> ppmPixel(const std::string& ppm, int x, int y) {
    std::istringstream in(ppm);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    const std::size_t offset = static_cast<std::size_t>(in.tellg()) + (y * width + x) * 3;
    return {static_cast<unsigned char>(ppm.at(offset)),
            static_cast<unsigned char>(ppm.at(offset + 1)),
            static_cast<unsigned char>(ppm.at(offset + 2))};
}

// Rendering is the proof that readers decode what we wrote: the inverted Adobe CMYK values and
// the PNG row prediction of the Flate data.
TEST(PdfImagesListTest, cmykJpegAndPredictedPng_renderInTheColoursOfTheRgbJpeg) {
    ImagePage page;
    page.draw("jpeg_rgb.jpg");
    page.draw("jpeg_cmyk.jpg");
    page.draw("png_rgb.png");
    const fs::path path = tempPdf("render");
    page.save(path);
    int status = 0;
    const std::string ppm =
        runCommand("pdftoppm -r 72 -singlefile '" + path.string() + "'", status);
    ASSERT_EQ(status, 0);
    // Inside the yellow rectangle of the pictures (pixels 5..20 x 5..15), and in the gradient
    // outside it. Readers convert deep CMYK blues without colour management, so the CMYK picture
    // is only compared inside the rectangle.
    const auto expectNear = [&](int picture, int x, int y) {
        const auto reference = ppmPixel(ppm, x, y);
        const auto pixel = ppmPixel(ppm, 40 * picture + x, y);
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(pixel[c], reference[c], 60)
                << "picture " << picture << " at " << x << "," << y << " channel " << c;
        }
    };
    expectNear(1, 12, 10);
    expectNear(2, 12, 10);
    expectNear(2, 30, 25);
    expectNear(2, 2, 2);
    const auto yellow = ppmPixel(ppm, 12, 10);
    EXPECT_GT(yellow[0], 180);
    EXPECT_GT(yellow[1], 180);
    EXPECT_LT(yellow[2], 100);
    fs::remove(path);
}

}  // namespace
}  // namespace relettra::pdf
