#include "pdf/images/image_cache.h"

#include <gtest/gtest.h>

#include <qpdf/QPDF.hh>

#include "image_test_support.h"

namespace relettra::pdf {
namespace {

using test::imageBytes;

TEST(ImageCacheTest, identicalBytes_giveOneObject_distinctBytesAnother) {
    QPDF pdf;
    pdf.emptyPDF();
    ImageCache cache(pdf);
    std::string error;
    const std::string first = imageBytes("png_rgba.png");
    const std::string copy = first;  // equal content, different buffer
    auto a = cache.get(first, error);
    auto b = cache.get(copy, error);
    auto c = cache.get(imageBytes("jpeg_rgb.jpg"), error);
    ASSERT_TRUE(a && b && c) << error;
    EXPECT_EQ(a->stream.getObjGen(), b->stream.getObjGen());
    EXPECT_TRUE(a->stream.isIndirect());
    EXPECT_NE(a->stream.getObjGen(), c->stream.getObjGen());
    EXPECT_EQ(cache.size(), 2u);
}

TEST(ImageCacheTest, badBytes_giveTheSameMessageEveryTime) {
    QPDF pdf;
    pdf.emptyPDF();
    ImageCache cache(pdf);
    std::string first;
    std::string second;
    EXPECT_FALSE(cache.get("not an image", first));
    EXPECT_FALSE(cache.get("not an image", second));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace relettra::pdf
