// Composite (Type 0) fonts and the per-document font cache.
#include <gtest/gtest.h>

#include "font_test_support.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/fonts/pdf_font.h"

namespace relettra::pdf {
namespace {

using testing::hex4;
using testing::TestDocument;

std::string twoBytes(unsigned code) {
    return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// An Identity-H font over a Liberation Sans subset that keeps its glyph ids: the glyphs of
// "Hlo z" stay, every other slot (e among them) is emptied. ToUnicode still lists e, as a
// careless producer's map would.
class IdentityHFont : public ::testing::Test {
  protected:
    void SetUp() override {
        for (char32_t c : std::u32string(U"Hello z"))
            gid[c] = testing::glyphIdOf(RELETTRA_LIBERATION_SANS, c);
        ASSERT_NE(gid[U'e'], 0u);
        ASSERT_LT(gid[U'e'], gid[U'z']);  // e's slot lies inside the kept range

        const auto program = doc.stream(
            testing::subsetTrueType(RELETTRA_LIBERATION_SANS, U"Hlo z", /*retainGids=*/true));
        std::string cmap =
            "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
            "1 begincodespacerange <0000> <FFFF> endcodespacerange\n5 beginbfchar\n";
        for (char32_t c : std::u32string(U"Helo z"))
            if (c != U'l') cmap += "<" + hex4(gid[c]) + "> <" + hex4(c) + ">\n";
        cmap += "endbfchar\n1 beginbfrange <" + hex4(gid[U'l']) + "> <" + hex4(gid[U'l']) +
                "> [<006C>] endbfrange\nendcmap end end";
        const auto toUnicode = doc.stream(cmap);
        // Both /W forms: c [w ...] for H, c_first c_last w for l.
        const std::string widths = "[ " + std::to_string(gid[U'H']) + " [ 722 ] " +
                                   std::to_string(gid[U'l']) + " " + std::to_string(gid[U'l']) +
                                   " 222 ]";
        const auto descriptor = doc.parse(
            "<< /Type /FontDescriptor /FontName /ABCDEF+LiberationSans /Flags 4 /FontFile2 @0 >>",
            {program});
        fontDict = doc.parse(
            "<< /Type /Font /Subtype /Type0 /BaseFont /ABCDEF+LiberationSans "
            "/Encoding /Identity-H /ToUnicode @1 /DescendantFonts [ << /Type /Font "
            "/Subtype /CIDFontType2 /BaseFont /ABCDEF+LiberationSans "
            "/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> "
            "/FontDescriptor @0 /DW 556 /W " +
                widths + " /CIDToGIDMap /Identity >> ] >>",
            {descriptor, toUnicode});
        withoutToUnicode = doc.parse(
            "<< /Type /Font /Subtype /Type0 /BaseFont /ABCDEF+LiberationSans "
            "/Encoding /Identity-H /DescendantFonts [ << /Type /Font /Subtype /CIDFontType2 "
            "/BaseFont /ABCDEF+LiberationSans /FontDescriptor @0 /CIDToGIDMap /Identity >> ] >>",
            {descriptor});
    }

    std::string codes(const std::u32string& text) {
        std::string out;
        for (char32_t c : text) out += twoBytes(gid[c]);
        return out;
    }

    TestDocument doc;
    std::map<char32_t, unsigned> gid;
    QPDFObjectHandle fontDict;
    QPDFObjectHandle withoutToUnicode;
};

TEST_F(IdentityHFont, decode_readsTwoByteCodesWithToUnicodeAndCidWidths) {
    const auto font = PdfFont::fromDictionary(fontDict);
    const auto glyphs = font->decode(codes(U"Hel o"));
    ASSERT_EQ(glyphs.size(), 5u);
    const char* const unicode[] = {"H", "e", "l", " ", "o"};
    const double advance[] = {0.722, 0.556, 0.222, 0.556, 0.556};  // unlisted CIDs use /DW
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        EXPECT_EQ(glyphs[i].byteLength, 2);
        EXPECT_EQ(glyphs[i].unicode, unicode[i]) << i;
        EXPECT_NEAR(glyphs[i].advance, advance[i], 1e-9) << i;
        EXPECT_FALSE(glyphs[i].isSingleByteSpace);  // word spacing never applies to 2 bytes
    }
    EXPECT_EQ(glyphs[0].code, gid[U'H']);
    EXPECT_FALSE(font->isVertical());
    EXPECT_NEAR(font->spaceAdvance(), 0.556, 1e-9);
}

TEST_F(IdentityHFont, encode_refusesGlyphsTheSubsetEmptied) {
    const auto font = PdfFont::fromDictionary(fontDict);
    EXPECT_EQ(font->encode("Hollo zoo"), codes(U"Hollo zoo"));
    EXPECT_EQ(font->encode("Hello"), std::nullopt);  // ToUnicode lists e, its slot is empty
    EXPECT_FALSE(font->canEncode(U'e'));
    EXPECT_EQ(font->encode("Hola"), std::nullopt);  // a has no code at all
}

TEST_F(IdentityHFont, withoutToUnicode_readsUnicodeFromProgramCmap) {
    const auto font = PdfFont::fromDictionary(withoutToUnicode);
    EXPECT_EQ(font->toUtf8(codes(U"Hol z")), "Hol z");
    EXPECT_EQ(font->toUtf8(codes(U"e")), "");  // the subset dropped e from its cmap
    EXPECT_EQ(font->encode("zoo Hollo"), codes(U"zoo Hollo"));
    EXPECT_EQ(font->encode("Hello"), std::nullopt);
}

TEST(CompositeFont, identityV_isVerticalWithDw2Advance) {
    TestDocument doc;
    const auto font = PdfFont::fromDictionary(doc.parse(
        "<< /Subtype /Type0 /BaseFont /Mincho /Encoding /Identity-V /DescendantFonts [ << "
        "/Subtype /CIDFontType0 /BaseFont /Mincho /DW2 [ 880 -1100 ] >> ] >>"));
    EXPECT_TRUE(font->isVertical());
    const auto glyphs = font->decode(std::string("\x00\x01\x00\x02", 4));
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_NEAR(glyphs[1].advance, 1.1, 1e-9);
    EXPECT_EQ(glyphs[1].code, 2u);
    // Not embedded: no CID can be proven to have a glyph.
    EXPECT_EQ(font->encode("A"), std::nullopt);
}

TEST(CompositeFont, embeddedOneByteCMap_splitsCodesAndFlagsSingleByteSpace) {
    TestDocument doc;
    const auto encoding = doc.stream(
        "1 begincodespacerange <00> <FF> endcodespacerange\n"
        "1 begincidrange <20> <7E> 1 endcidrange",
        "<< /Type /CMap /CMapName /Test-H >>");
    const auto toUnicode = doc.stream(
        "1 begincodespacerange <00> <FF> endcodespacerange\n"
        "1 beginbfrange <20> <7E> <0020> endbfrange");
    const auto font = PdfFont::fromDictionary(doc.parse(
        "<< /Subtype /Type0 /BaseFont /Test /Encoding @0 /ToUnicode @1 /DescendantFonts [ << "
        "/Subtype /CIDFontType0 /DW 500 /W [ 1 1 250 ] >> ] >>",
        {encoding, toUnicode}));
    const auto glyphs = font->decode("a b");
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[0].unicode, "a");
    EXPECT_EQ(glyphs[1].byteLength, 1);
    EXPECT_TRUE(glyphs[1].isSingleByteSpace);
    EXPECT_NEAR(glyphs[1].advance, 0.25, 1e-9);  // code 0x20 is CID 1
    EXPECT_NEAR(glyphs[2].advance, 0.5, 1e-9);
    EXPECT_NEAR(font->spaceAdvance(), 0.25, 1e-9);
}

TEST(CompositeFont, unknownPredefinedCMap_decodesTwoBytesButNeverEncodes) {
    TestDocument doc;
    const auto font = PdfFont::fromDictionary(doc.parse(
        "<< /Subtype /Type0 /BaseFont /Gothic /Encoding /UniXYZ-UCS2-H /DescendantFonts [ << "
        "/Subtype /CIDFontType0 /BaseFont /Gothic >> ] >>"));
    EXPECT_EQ(font->toUtf8(std::string("\x30\x42\x4E\x00", 4)), "\u3042\u4E00");
    EXPECT_EQ(font->encode("\u3042"), std::nullopt);
}

TEST(FontCache, sameDictionary_isParsedOnce) {
    TestDocument doc;
    FontCache cache;
    const auto helvetica = doc.parse("<< /Subtype /Type1 /BaseFont /Helvetica >>");
    const auto times = doc.parse("<< /Subtype /Type1 /BaseFont /Times-Roman >>");
    const auto first = cache.get(helvetica);
    EXPECT_EQ(cache.get(doc.qpdf().getObjectByObjGen(helvetica.getObjGen())), first);
    EXPECT_NE(cache.get(times), first);
    auto direct = QPDFObjectHandle::parse("<< /Subtype /Type1 /BaseFont /Courier >>");
    const auto courier = cache.get(direct);
    EXPECT_EQ(cache.get(direct), courier);
    EXPECT_NE(cache.get(QPDFObjectHandle::parse("<< /Subtype /Type1 /BaseFont /Courier >>")),
              courier);
    EXPECT_EQ(cache.size(), 4u);
    EXPECT_EQ(first->baseFont(), "Helvetica");
}

}  // namespace
}  // namespace relettra::pdf
