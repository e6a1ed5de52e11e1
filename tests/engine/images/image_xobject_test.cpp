#include "pdf/images/image_xobject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <qpdf/QPDF.hh>
#include <string>

#include "image_test_support.h"

namespace relettra::pdf {
namespace {

using test::imageBytes;
using test::imagePath;
using test::runCommand;

struct FormatCase {
    const char* file;
    int width;
    int height;
    const char* colorSpace;  // a name, or "/Indexed" for an indexed array
    int bitsPerComponent;
    const char* filter;
    int maskBits;  // 0: no /SMask
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.file;
}

class ImageFormatTest : public ::testing::TestWithParam<FormatCase> {
  protected:
    void SetUp() override { pdf.emptyPDF(); }
    QPDF pdf;
};

std::string colorSpaceOf(QPDFObjectHandle dict) {
    auto space = dict.getKey("/ColorSpace");
    if (space.isArray()) {
        return space.getArrayItem(0).getName();
    }
    return space.isName() ? space.getName() : std::string("(none)");
}

TEST_P(ImageFormatTest, writesDictionaryMatchingTheFile) {
    const FormatCase& c = GetParam();
    std::string error;
    auto image = makeImageXObject(pdf, imageBytes(c.file), error);
    ASSERT_TRUE(image) << error;
    auto dict = image->stream.getDict();
    EXPECT_EQ(dict.getKey("/Type").getName(), "/XObject");
    EXPECT_EQ(dict.getKey("/Subtype").getName(), "/Image");
    EXPECT_EQ(dict.getKey("/Width").getIntValue(), c.width);
    EXPECT_EQ(dict.getKey("/Height").getIntValue(), c.height);
    EXPECT_EQ(colorSpaceOf(dict), c.colorSpace);
    EXPECT_EQ(dict.getKey("/BitsPerComponent").getIntValue(), c.bitsPerComponent);
    EXPECT_EQ(dict.getKey("/Filter").getName(), c.filter);
    EXPECT_EQ(image->info.pixelWidth, c.width);
    EXPECT_EQ(image->info.pixelHeight, c.height);
    auto mask = dict.getKey("/SMask");
    if (c.maskBits == 0) {
        EXPECT_TRUE(mask.isNull());
    } else {
        ASSERT_TRUE(mask.isStream());
        auto maskDict = mask.getDict();
        EXPECT_EQ(maskDict.getKey("/Width").getIntValue(), c.width);
        EXPECT_EQ(maskDict.getKey("/Height").getIntValue(), c.height);
        EXPECT_EQ(maskDict.getKey("/ColorSpace").getName(), "/DeviceGray");
        EXPECT_EQ(maskDict.getKey("/BitsPerComponent").getIntValue(), c.maskBits);
        EXPECT_EQ(maskDict.getKey("/Filter").getName(), "/FlateDecode");
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllFormats, ImageFormatTest,
    ::testing::Values(FormatCase{"jpeg_gray.jpg", 40, 30, "/DeviceGray", 8, "/DCTDecode", 0},
                      FormatCase{"jpeg_rgb.jpg", 40, 30, "/DeviceRGB", 8, "/DCTDecode", 0},
                      FormatCase{"jpeg_cmyk.jpg", 40, 30, "/DeviceCMYK", 8, "/DCTDecode", 0},
                      FormatCase{"jpeg_progressive.jpg", 40, 30, "/DeviceRGB", 8, "/DCTDecode", 0},
                      FormatCase{"png_palette.png", 40, 30, "/Indexed", 8, "/FlateDecode", 0},
                      FormatCase{"png_palette_trns.png", 40, 30, "/Indexed", 8, "/FlateDecode", 8},
                      FormatCase{"png_gray.png", 40, 30, "/DeviceGray", 8, "/FlateDecode", 0},
                      FormatCase{"png_gray_1bit.png", 40, 30, "/DeviceGray", 1, "/FlateDecode", 0},
                      FormatCase{"png_gray_alpha.png", 40, 30, "/DeviceGray", 8, "/FlateDecode", 8},
                      FormatCase{"png_rgb.png", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 0},
                      FormatCase{"png_rgb_trns.png", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 8},
                      FormatCase{"png_rgba.png", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 8},
                      FormatCase{"png_16bit.png", 40, 30, "/DeviceRGB", 16, "/FlateDecode", 0},
                      FormatCase{"png_interlaced.png", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 0},
                      FormatCase{"bmp_1bit.bmp", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 0},
                      FormatCase{"bmp_4bit.bmp", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 0},
                      FormatCase{"bmp_8bit.bmp", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 0},
                      FormatCase{"bmp_24bit.bmp", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 0},
                      FormatCase{"bmp_32bit.bmp", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 8},
                      FormatCase{"gif_plain.gif", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 0},
                      FormatCase{"gif_transparent.gif", 40, 30, "/DeviceRGB", 8, "/FlateDecode", 8},
                      FormatCase{"gif_animated.gif", 20, 10, "/DeviceRGB", 8, "/FlateDecode", 0}));

TEST(JpegImageTest, jpegBytes_areEmbeddedUnchanged) {
    QPDF pdf;
    pdf.emptyPDF();
    for (const char* file : {"jpeg_gray.jpg", "jpeg_cmyk.jpg", "jpeg_progressive.jpg"}) {
        const std::string bytes = imageBytes(file);
        std::string error;
        auto image = makeImageXObject(pdf, bytes, error);
        ASSERT_TRUE(image) << file << ": " << error;
        EXPECT_EQ(image->stream.getRawStreamData()->getSize(), bytes.size()) << file;
        auto raw = image->stream.getRawStreamData();
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(raw->getBuffer()), raw->getSize()),
                  bytes)
            << file;
    }
}

TEST(JpegImageTest, adobeCmyk_getsInvertedDecode_andRgbGetsNone) {
    QPDF pdf;
    pdf.emptyPDF();
    std::string error;
    auto cmyk = makeImageXObject(pdf, imageBytes("jpeg_cmyk.jpg"), error);
    auto rgb = makeImageXObject(pdf, imageBytes("jpeg_rgb.jpg"), error);
    ASSERT_TRUE(cmyk && rgb) << error;
    EXPECT_EQ(cmyk->stream.getDict().getKey("/Decode").unparse(), "[ 1 0 1 0 1 0 1 0 ]");
    EXPECT_TRUE(rgb->stream.getDict().getKey("/Decode").isNull());
}

TEST(ImageResolutionTest, resolutionComesFromTheFile_or72WhenAbsent) {
    struct Case {
        const char* file;
        double dpi;
    };
    QPDF pdf;
    pdf.emptyPDF();
    for (const Case& c :
         {Case{"png_300dpi.png", 300.0}, Case{"jpeg_150dpi.jpg", 150.0}, Case{"png_rgb.png", 72.0},
          Case{"jpeg_rgb.jpg", 72.0}, Case{"bmp_24bit.bmp", 72.0}, Case{"gif_plain.gif", 72.0}}) {
        std::string error;
        auto image = makeImageXObject(pdf, imageBytes(c.file), error);
        ASSERT_TRUE(image) << c.file << ": " << error;
        EXPECT_NEAR(image->info.dpiX, c.dpi, 0.01) << c.file;
        EXPECT_NEAR(image->info.dpiY, c.dpi, 0.01) << c.file;
    }
}

TEST(ImageVersionTest, minimumPdfVersionFollowsMaskAndDepth) {
    QPDF pdf;
    pdf.emptyPDF();
    std::string error;
    EXPECT_EQ(makeImageXObject(pdf, imageBytes("png_rgb.png"), error)->minimumPdfVersion, "1.3");
    EXPECT_EQ(makeImageXObject(pdf, imageBytes("png_rgba.png"), error)->minimumPdfVersion, "1.4");
    EXPECT_EQ(makeImageXObject(pdf, imageBytes("png_16bit.png"), error)->minimumPdfVersion, "1.5");
}

// The decoded samples as 8-bit RGB, whatever colour space and depth the image was written with.
std::string samplesAsRgb8(QPDFObjectHandle stream) {
    auto dict = stream.getDict();
    const int width = dict.getKey("/Width").getIntValue();
    const int height = dict.getKey("/Height").getIntValue();
    const int bits = dict.getKey("/BitsPerComponent").getIntValue();
    auto space = dict.getKey("/ColorSpace");
    const bool indexed = space.isArray();
    const int components = indexed || space.getName() == "/DeviceGray" ? 1 : 3;
    const std::string palette = indexed ? space.getArrayItem(3).getStringValue() : "";
    auto buffer = stream.getStreamData(qpdf_dl_generalized);
    const auto* data = buffer->getBuffer();
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * components * bits + 7) / 8;
    EXPECT_EQ(buffer->getSize(), rowBytes * height);
    std::string rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned value[3] = {0, 0, 0};
            for (int c = 0; c < components; ++c) {
                const std::size_t bit = static_cast<std::size_t>(x * components + c) * bits;
                const unsigned char* row = data + y * rowBytes;
                unsigned sample = 0;
                if (bits == 16) {
                    sample = row[bit / 8];  // the high byte
                } else if (bits == 8) {
                    sample = row[bit / 8];
                } else {
                    sample = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                    if (!indexed) {
                        sample = sample * 255 / ((1u << bits) - 1);
                    }
                }
                value[c] = sample;
            }
            if (indexed) {
                for (int c = 0; c < 3; ++c) {
                    rgb += palette.at(value[0] * 3 + c);
                }
            } else {
                for (int c = 0; c < 3; ++c) {
                    rgb += static_cast<char>(components == 1 ? value[0] : value[c]);
                }
            }
        }
    }
    return rgb;
}

// Compares our decoded pixels with ImageMagick's reading of the same file. Colours under fully
// transparent pixels are not compared: decoders disagree on what lies beneath.
TEST(ImagePixelsTest, decodedPixelsMatchAnIndependentDecoder) {
    for (const char* file :
         {"png_palette.png", "png_palette_trns.png", "png_gray.png", "png_gray_1bit.png",
          "png_gray_alpha.png", "png_rgb.png", "png_rgb_trns.png", "png_rgba.png", "png_16bit.png",
          "png_interlaced.png", "bmp_1bit.bmp", "bmp_4bit.bmp", "bmp_8bit.bmp", "bmp_24bit.bmp",
          "bmp_32bit.bmp", "gif_plain.gif", "gif_transparent.gif", "gif_animated.gif"}) {
        SCOPED_TRACE(file);
        QPDF pdf;
        pdf.emptyPDF();
        std::string error;
        auto image = makeImageXObject(pdf, imageBytes(file), error);
        ASSERT_TRUE(image) << error;
        int status = 0;
        const std::string expectedRgb =
            runCommand("convert '" + imagePath(file) + "[0]' -depth 8 rgb:-", status);
        ASSERT_EQ(status, 0);
        std::string expectedAlpha = runCommand(
            "convert '" + imagePath(file) + "[0]' -alpha extract -depth 8 gray:-", status);
        ASSERT_EQ(status, 0);

        const std::string rgb = samplesAsRgb8(image->stream);
        ASSERT_EQ(rgb.size(), expectedRgb.size());
        auto mask = image->stream.getDict().getKey("/SMask");
        std::string alpha(rgb.size() / 3, '\xFF');
        if (mask.isStream()) {
            alpha = samplesAsRgb8(mask);
            for (std::size_t i = 0; i < alpha.size() / 3; ++i) {
                alpha[i] = alpha[3 * i];
            }
            alpha.resize(rgb.size() / 3);
        }
        ASSERT_EQ(alpha.size(), expectedAlpha.size());
        int mismatches = 0;
        for (std::size_t i = 0; i < alpha.size(); ++i) {
            const int a = static_cast<unsigned char>(alpha[i]);
            mismatches += std::abs(a - static_cast<unsigned char>(expectedAlpha[i])) > 1;
            for (std::size_t c = 0; a != 0 && c < 3; ++c) {
                mismatches += std::abs(static_cast<unsigned char>(rgb[3 * i + c]) -
                                       static_cast<unsigned char>(expectedRgb[3 * i + c])) > 1;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

}  // namespace
}  // namespace relettra::pdf
