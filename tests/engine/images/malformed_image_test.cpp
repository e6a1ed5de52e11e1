#include <gtest/gtest.h>
#include <zlib.h>

#include <qpdf/QPDF.hh>
#include <string>

#include "image_test_support.h"
#include "pdf/images/image_xobject.h"

namespace relettra::pdf {
namespace {

using test::imageBytes;

std::string bigEndian32(unsigned long value) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
    }
    return out;
}

std::string pngChunk(const std::string& type, const std::string& data) {
    const std::string typed = type + data;
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()));
    return bigEndian32(data.size()) + typed + bigEndian32(crc);
}

// A well-formed PNG header announcing width x height RGB pixels, with one tiny IDAT.
std::string pngClaiming(unsigned long width, unsigned long height) {
    std::string header = bigEndian32(width) + bigEndian32(height);
    header += std::string("\x08\x02\x00\x00\x00", 5);
    const std::string idat("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9);
    return std::string("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", idat) +
           pngChunk("IEND", "");
}

std::string half(const std::string& bytes) {
    return bytes.substr(0, bytes.size() / 2);
}

std::string withByte(std::string bytes, std::size_t at, char value) {
    bytes.at(at) = value;
    return bytes;
}

struct BadCase {
    const char* name;
    std::string bytes;
};

std::vector<BadCase> badCases() {
    const std::string jpeg = imageBytes("jpeg_rgb.jpg");
    const std::string gif = imageBytes("gif_plain.gif");
    std::string hugeGif = gif;
    hugeGif.replace(6, 4, "\xFF\xFF\xFF\xFF");
    std::string arithmeticJpeg = jpeg;
    arithmeticJpeg.replace(arithmeticJpeg.find("\xFF\xC0"), 2, "\xFF\xC9");
    std::string hugeBmp = imageBytes("bmp_24bit.bmp");
    hugeBmp.replace(18, 8, std::string("\x00\x00\x01\x00\x00\x00\x01\x00", 8));
    return {
        {"empty", ""},
        {"textFile", imageBytes("not_an_image.txt")},
        {"bmpSignatureOnly", "BM this is text"},
        {"jpegSignatureOnly", "\xFF\xD8\xFF"},
        {"pngSignatureOnly", std::string("\x89PNG\r\n\x1A\n", 8)},
        {"gifSignatureOnly", "GIF89a"},
        {"truncatedJpeg", half(jpeg)},
        {"truncatedProgressiveJpeg", half(imageBytes("jpeg_progressive.jpg"))},
        {"truncatedPng", half(imageBytes("png_rgb.png"))},
        {"truncatedPalettePng", half(imageBytes("png_palette.png"))},
        {"truncatedBmp", half(imageBytes("bmp_24bit.bmp"))},
        {"truncatedGif", half(gif)},
        {"pngWithBadChecksum", withByte(imageBytes("png_rgb.png"), 29, '\x00')},
        {"pngClaimingMillionByMillionPixels", pngClaiming(1000000, 1000000)},
        {"pngClaimingZeroWidth", pngClaiming(0, 10)},
        {"gifClaimingHugeScreen", hugeGif},
        {"bmpClaimingHugeSize", hugeBmp},
        // Found by fuzzing: 146 bytes claiming 16.7 million rows under an unknown compression,
        // which the decoder read as uncompressed rows (seconds of work for a blank image).
        {"bmpWithUnknownCompression",
         std::string("\x42\x4D\x4A\x13\x00\x00\x00\x00\x00\x00\x8A\x00\x00\x00\x7C\x00"
                     "\x00\x00\x01\x00\x00\x00\x1E\xF7\xFF\x00\x01\x00\x20\x00\x03\xFD"
                     "\xD8\xFF\x00\x00\x00\xC0\x12\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                     "\x00\x00\x00\x00\x90\x9F\x0C\x00\xD0\x60\x00\x00\x00\x20\x00\x03"
                     "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                     "\x00\x00\x00\x00\x00\x00\x00\x00\x05\x00\x00\x00\x00\x00\xFF\xD8"
                     "\xF9\xD9\xD9\x7E\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                     "\x00\x00\x00\x00\x1E\x00\x00\x00\x00\xF9\x00\xDD\x00\x00\x00\x00"
                     "\x00\x7E\xF6\x00\xFF\x00\xF6\x3A\xFF\x00\x2F\x4C\x65\x6E\x67\x74"
                     "\x00\xF6",
                     146)},
        {"jpegWithArithmeticCoding", arithmeticJpeg},
        {"jpegWithZeroWidth",
         withByte(withByte(jpeg, jpeg.find("\xFF\xC0") + 7, 0), jpeg.find("\xFF\xC0") + 8, 0)},
    };
}

TEST(MalformedImageTest, undecodableBytes_giveNoImageAndAOneLineMessage) {
    QPDF pdf;
    pdf.emptyPDF();
    for (const BadCase& c : badCases()) {
        SCOPED_TRACE(c.name);
        std::string error;
        std::optional<ImageXObject> image;
        EXPECT_NO_THROW(image = makeImageXObject(pdf, c.bytes, error));
        EXPECT_FALSE(image.has_value());
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(LargeImageTest, twentyMegapixelRgbPng_isDecoded) {
    // 4200 x 4000 RGB, 50 MB of samples: within the pixel limit, so it must not be refused.
    const unsigned long width = 4200, height = 4000;
    const std::string raw(height * (1 + 3 * width), '\0');  // filter byte 0, black rows
    std::string idat(compressBound(static_cast<uLong>(raw.size())), '\0');
    uLongf size = static_cast<uLongf>(idat.size());
    ASSERT_EQ(compress(reinterpret_cast<Bytef*>(idat.data()), &size,
                       reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size())),
              Z_OK);
    idat.resize(size);
    std::string header = bigEndian32(width) + bigEndian32(height);
    header += std::string("\x08\x02\x00\x00\x00", 5);
    const std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", header) +
                            pngChunk("IDAT", idat) + pngChunk("IEND", "");
    QPDF pdf;
    pdf.emptyPDF();
    std::string error;
    const auto image = makeImageXObject(pdf, png, error);
    ASSERT_TRUE(image.has_value()) << error;
    EXPECT_EQ(image->info.pixelWidth, 4200);
    EXPECT_EQ(image->info.pixelHeight, 4000);
}

TEST(MalformedImageTest, everyCutOfAValidPng_isRefusedWithoutCrashing) {
    const std::string png = imageBytes("png_rgba.png");
    QPDF pdf;
    pdf.emptyPDF();
    // Every byte up to the end of the last IDAT chunk (its CRC included) is needed; the
    // chunks after it are not.
    const std::size_t lastIdat = png.rfind("IDAT") - 4;
    const std::size_t idatLength = static_cast<unsigned char>(png.at(lastIdat)) << 24 |
                                   static_cast<unsigned char>(png.at(lastIdat + 1)) << 16 |
                                   static_cast<unsigned char>(png.at(lastIdat + 2)) << 8 |
                                   static_cast<unsigned char>(png.at(lastIdat + 3));
    const std::size_t lastIdatEnd = lastIdat + 12 + idatLength;
    for (std::size_t length = 0; length < lastIdatEnd; ++length) {
        std::string error;
        EXPECT_FALSE(makeImageXObject(pdf, png.substr(0, length), error)) << length;
    }
}

TEST(MalformedImageTest, everyCutOfAValidGifOrBmp_isRefusedWithoutCrashing) {
    QPDF pdf;
    pdf.emptyPDF();
    for (const char* file : {"gif_transparent.gif", "bmp_4bit.bmp", "bmp_32bit.bmp"}) {
        const std::string bytes = imageBytes(file);
        // A GIF ends with a one-byte trailer after the image data, which a decoder can lack.
        const std::size_t needed = bytes.size() - (bytes.back() == ';' ? 1 : 0);
        for (std::size_t length = 0; length < needed; ++length) {
            std::string error;
            EXPECT_FALSE(makeImageXObject(pdf, bytes.substr(0, length), error))
                << file << " cut at " << length;
        }
    }
}

}  // namespace
}  // namespace relettra::pdf
