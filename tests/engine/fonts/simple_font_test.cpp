// Simple fonts: standard 14, /Differences, built-in encodings, Type 3, embedded programs.
#include <gtest/gtest.h>

#include "font_test_support.h"
#include "pdf/fonts/pdf_font.h"

namespace relettra::pdf {
namespace {

using testing::TestDocument;

std::string repeatedWidths(int count, int width) {
    std::string widths = "[";
    for (int i = 0; i < count; ++i) widths += " " + std::to_string(width);
    return widths + " ]";
}

TEST(SimpleFont, helveticaWinAnsi_decodesUnicodeAndStandardWidths) {
    TestDocument doc;
    const auto font = PdfFont::fromDictionary(doc.parse(
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"));
    const auto glyphs = font->decode("Ab\x80 \xE9");
    ASSERT_EQ(glyphs.size(), 5u);
    const char* const unicode[] = {"A", "b", "\u20AC", " ", "\u00E9"};
    const double advance[] = {0.667, 0.556, 0.556, 0.278, 0.556};
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        EXPECT_EQ(glyphs[i].unicode, unicode[i]) << i;
        EXPECT_NEAR(glyphs[i].advance, advance[i], 1e-9) << i;
        EXPECT_EQ(glyphs[i].byteLength, 1);
        EXPECT_EQ(glyphs[i].isSingleByteSpace, i == 3) << i;
    }
    EXPECT_EQ(font->toUtf8("Caf\xE9"), "Caf\u00E9");
    EXPECT_NEAR(font->spaceAdvance(), 0.278, 1e-9);
    EXPECT_FALSE(font->isVertical());
    EXPECT_EQ(font->baseFont(), "Helvetica");
}

TEST(SimpleFont, helveticaWinAnsi_encodesTextItsGlyphsCover) {
    TestDocument doc;
    const auto font = PdfFont::fromDictionary(doc.parse(
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"));
    EXPECT_EQ(font->encode("Caf\u00E9 \u20AC5"), std::string("Caf\xE9 \x80"
                                                             "5"));
    EXPECT_EQ(font->encode(""), std::string());
    EXPECT_EQ(font->encode("\u4E00"), std::nullopt);    // no CJK in Helvetica
    EXPECT_EQ(font->encode("ab\u0416"), std::nullopt);  // not in WinAnsi
    EXPECT_TRUE(font->canEncode(U'A'));
    EXPECT_FALSE(font->canEncode(U'\u0416'));
}

TEST(SimpleFont, standardFontWithoutEncoding_usesBuiltinStandardEncoding) {
    TestDocument doc;
    const auto font = PdfFont::fromDictionary(
        doc.parse("<< /Type /Font /Subtype /Type1 /BaseFont /Times-Roman >>"));
    // StandardEncoding: 0x27 is quoteright, 0xAE the fi ligature.
    EXPECT_EQ(font->toUtf8("\x27\xAE"), "\u2019\uFB01");
    EXPECT_NEAR(font->decode("A")[0].advance, 0.722, 1e-9);
    EXPECT_EQ(font->encode("fi"), std::string("fi"));  // single letters win over the ligature
}

TEST(SimpleFont, differences_overrideBaseEncodingForDecodeAndEncode) {
    TestDocument doc;
    const auto font = PdfFont::fromDictionary(doc.parse(
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding << /Type /Encoding "
        "/BaseEncoding /WinAnsiEncoding /Differences [ 1 /Aacute /uni4E00 65 /B ] >> >>"));
    EXPECT_EQ(font->toUtf8("\x01\x02"
                           "AB"),
              "\u00C1\u4E00BB");
    EXPECT_EQ(font->encode("\u00C1"), std::string("\x01"));
    // Code 65 now draws B: there is no code left for A.
    EXPECT_EQ(font->encode("A"), std::nullopt);
    // The code list has a glyph name, but Helvetica has no such glyph.
    EXPECT_EQ(font->encode("\u4E00"), std::nullopt);
}

TEST(SimpleFont, severalCodesForOneCharacter_preferCodeTheDocumentUses) {
    TestDocument doc;
    const auto font = PdfFont::fromDictionary(
        doc.parse("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding << "
                  "/BaseEncoding /WinAnsiEncoding /Differences [ 65 /B ] >> >>"));
    EXPECT_EQ(font->encode("B"), std::string("A"));  // lowest code while nothing is used
    font->decode("xyB");
    EXPECT_EQ(font->encode("B"), std::string("B"));
}

TEST(SimpleFont, symbolBuiltinEncoding_mapsGreekAndRejectsLatin) {
    TestDocument doc;
    const auto font =
        PdfFont::fromDictionary(doc.parse("<< /Type /Font /Subtype /Type1 /BaseFont /Symbol >>"));
    const auto glyphs = font->decode("ab");
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].unicode, "\u03B1");
    EXPECT_NEAR(glyphs[0].advance, 0.631, 1e-9);
    EXPECT_EQ(glyphs[1].unicode, "\u03B2");
    EXPECT_EQ(font->encode("\u03B1\u03B2"), std::string("ab"));
    EXPECT_EQ(font->encode("x"), std::nullopt);  // code 0x78 is xi in Symbol
}

TEST(SimpleFont, zapfDingbats_decodesThroughDingbatsList) {
    TestDocument doc;
    const auto font = PdfFont::fromDictionary(
        doc.parse("<< /Type /Font /Subtype /Type1 /BaseFont /ZapfDingbats >>"));
    EXPECT_EQ(font->toUtf8("!"), "\u2701");
    EXPECT_EQ(font->encode("\u2701"), std::string("!"));
}

TEST(SimpleFont, type3_scalesWidthsByFontMatrixAndNeedsCharProc) {
    TestDocument doc;
    const auto proc = doc.stream("0 0 100 100 re f");
    const auto font = PdfFont::fromDictionary(
        doc.parse("<< /Type /Font /Subtype /Type3 /FontMatrix [ 0.01 0 0 0.01 0 0 ] "
                  "/FontBBox [ 0 0 100 100 ] /CharProcs << /A @0 >> "
                  "/Encoding << /Type /Encoding /Differences [ 65 /A /B ] >> "
                  "/FirstChar 65 /LastChar 66 /Widths [ 80 90 ] /Resources << >> >>",
                  {proc}));
    const auto glyphs = font->decode("AB");
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_NEAR(glyphs[0].advance, 0.8, 1e-9);
    EXPECT_NEAR(glyphs[1].advance, 0.9, 1e-9);
    EXPECT_EQ(font->toUtf8("AB"), "AB");
    EXPECT_EQ(font->encode("A"), std::string("A"));
    EXPECT_EQ(font->encode("B"), std::nullopt);  // no glyph procedure for B
}

TEST(SimpleFont, embeddedType1WithoutEncoding_usesProgramEncodingAndGlyphs) {
    TestDocument doc;
    const auto program =
        doc.stream(testing::readFile(std::string(RELETTRA_URW_DIR) + "/NimbusSans-Regular.t1"));
    const auto descriptor = doc.parse(
        "<< /Type /FontDescriptor /FontName /NimbusSans-Regular /Flags 32 /FontFile @0 >>",
        {program});
    const auto font = PdfFont::fromDictionary(doc.parse(
        "<< /Type /Font /Subtype /Type1 /BaseFont /NimbusSans-Regular /FontDescriptor @0 "
        "/Encoding << /Differences [ 200 /uni4E00 ] >> /FirstChar 0 /LastChar 255 /Widths " +
            repeatedWidths(256, 500) + " >>",
        {descriptor}));
    // The program's own encoding is StandardEncoding: 0x27 is quoteright there.
    EXPECT_EQ(font->toUtf8("'A\xC8"), "\u2019A\u4E00");
    EXPECT_EQ(font->encode("\u2019Ab"), std::string("'Ab"));
    // Named by /Differences but not in the program.
    EXPECT_EQ(font->encode("\u4E00"), std::nullopt);
}

TEST(SimpleFont, subsetTrueType_encodesOnlyLettersTheSubsetHolds) {
    TestDocument doc;
    const auto program = doc.stream(
        testing::subsetTrueType(RELETTRA_LIBERATION_SANS, U"Helo W", /*retainGids=*/false));
    const auto descriptor = doc.parse(
        "<< /Type /FontDescriptor /FontName /ABCDEF+LiberationSans /Flags 32 /FontFile2 @0 >>",
        {program});
    const auto font = PdfFont::fromDictionary(doc.parse(
        "<< /Type /Font /Subtype /TrueType /BaseFont /ABCDEF+LiberationSans /FontDescriptor @0 "
        "/Encoding /WinAnsiEncoding /FirstChar 32 /LastChar 126 /Widths " +
            repeatedWidths(95, 556) + " >>",
        {descriptor}));
    EXPECT_EQ(font->toUtf8("Help"), "Help");               // decoding does not depend on the glyphs
    EXPECT_EQ(font->encode("Hello World"), std::nullopt);  // r and d are not in the subset
    EXPECT_EQ(font->encode("Hello Wool"), std::string("Hello Wool"));
    EXPECT_EQ(font->encode("Help"), std::nullopt);
    EXPECT_FALSE(font->canEncode(U'p'));
    EXPECT_FALSE(font->canEncode(U'\u00E9'));  // beyond /LastChar: no width either
}

TEST(SimpleFont, nonEmbeddedNonStandardFont_encodesWithGivenWidthsOnly) {
    TestDocument doc;
    const auto font = PdfFont::fromDictionary(
        doc.parse("<< /Type /Font /Subtype /TrueType /BaseFont /Verdana /Encoding /WinAnsiEncoding "
                  "/FirstChar 97 /LastChar 99 /Widths [ 600 0 520 ] "
                  "/FontDescriptor << /Type /FontDescriptor /Flags 32 /MissingWidth 333 >> >>"));
    EXPECT_NEAR(font->decode("a")[0].advance, 0.6, 1e-9);
    EXPECT_NEAR(font->decode("z")[0].advance, 0.333, 1e-9);  // MissingWidth
    EXPECT_EQ(font->encode("ac"), std::string("ac"));
    EXPECT_EQ(font->encode("b"), std::nullopt);  // zero width: not a usable glyph
    EXPECT_EQ(font->encode("z"), std::nullopt);  // outside /Widths
}

TEST(SimpleFont, toUnicodeMap_winsOverEncodingNames) {
    TestDocument doc;
    const auto cmap = doc.stream(
        "1 begincodespacerange <00> <FF> endcodespacerange\n"
        "2 beginbfchar <01> <0066006C> <41> <00C5> endbfchar\n"
        "1 beginbfrange <61> <62> <03B1> endbfrange");
    const auto font = PdfFont::fromDictionary(
        doc.parse("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding "
                  "/ToUnicode @0 >>",
                  {cmap}));
    EXPECT_EQ(font->toUtf8("\x01"
                           "Aabc"),
              "fl\u00C5\u03B1\u03B2c");
}

TEST(SimpleFont, brokenDictionaries_giveBestEffortFontsWithoutThrowing) {
    TestDocument doc;
    const auto garbage = doc.stream("this is not a font program");
    const auto badCMap = doc.stream("begincodespacerange <00");
    const std::vector<std::string> dictionaries = {
        "null",
        "42",
        "<< >>",
        "<< /Subtype /Type1 /Widths 7 /FirstChar /X /Encoding 5 >>",
        "<< /Subtype /Type1 /Encoding << /Differences [ /A 999 /B -4 /C ] >> >>",
        "<< /Subtype /TrueType /BaseFont /Broken /FontDescriptor << /FontFile2 @0 >> "
        "/Widths [ 1 2 3 ] /FirstChar 65 /ToUnicode @1 >>",
        "<< /Subtype /Type3 /FontMatrix [ /x ] /CharProcs 3 /Widths [ /a ] >>",
        "<< /Subtype /Type0 >>",
        "<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [ 5 ] >>",
        "<< /Subtype /Type0 /Encoding @0 /DescendantFonts [ << /Subtype /CIDFontType2 "
        "/W [ 1 [ /a ] 5 ] /DW /x /CIDToGIDMap @0 /FontDescriptor << /FontFile2 @0 >> >> ] >>",
    };
    for (const auto& text : dictionaries) {
        SCOPED_TRACE(text);
        std::shared_ptr<const PdfFont> font;
        ASSERT_NO_THROW(font = PdfFont::fromDictionary(doc.parse(text, {garbage, badCMap})));
        ASSERT_NE(font, nullptr);
        EXPECT_NO_THROW(font->decode(std::string("AB\0\xFF", 4)));
        EXPECT_EQ(font->encode("\u4E00"), std::nullopt);
        EXPECT_NO_THROW(font->canEncode(U'A'));
        EXPECT_GT(font->spaceAdvance(), 0);
    }
}

TEST(SimpleFont, brokenEmbeddedProgram_makesNothingEncodable) {
    TestDocument doc;
    const auto garbage = doc.stream("this is not a font program");
    const auto font = PdfFont::fromDictionary(doc.parse(
        "<< /Subtype /TrueType /BaseFont /Broken /Encoding /WinAnsiEncoding "
        "/FontDescriptor << /Flags 32 /FontFile2 @0 >> /FirstChar 65 /Widths [ 500 500 ] >>",
        {garbage}));
    EXPECT_EQ(font->toUtf8("AB"), "AB");
    EXPECT_EQ(font->encode("A"), std::nullopt);
}

}  // namespace
}  // namespace relettra::pdf
