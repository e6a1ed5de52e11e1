// Where a code's text comes from beyond /ToUnicode streams and the glyph list: names that number
// their glyph, a /ToUnicode named /Identity-H, the CJK collections' tables and predefined CMaps
// (poppler-data), and the embedded program's cmap where /ToUnicode leaves a code out.
#include <gtest/gtest.h>

#include <filesystem>

#include "font_test_support.h"
#include "pdf/fonts/glyph_names.h"
#include "pdf/fonts/pdf_font.h"
#include "scoped_environment.h"

namespace relettra::pdf {
namespace {

using testing::TestDocument;

std::string twoBytes(unsigned code) {
    return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

TEST(NumberedGlyphNames, nameThatNumbersItsCode_readsAsThatCodesCharacter) {
    struct Case {
        const char* name;
        std::uint32_t code;
        const char* text;
    };
    const Case cases[] = {
        {"a65", 65, "A"},        {"g65", 65, "A"},         {"cid65", 65, "A"},
        {"G41", 0x41, "A"},      {"Ga1", 0xA1, "\u00A1"},  {"a65.sc", 65, "A"},
        {"a233", 233, "\u00E9"}, {"uni00e9", 7, "\u00E9"}, {"u1d49c", 7, "\U0001D49C"},
        {"a66", 65, ""},      // the number is not the code
        {"index65", 65, ""},  // more letters than a numbering name has
        {"a9", 9, ""},        // a control character
        {"uni00e", 7, ""},    // not four digits
        {"65", 65, ""},       // no letters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(numberedGlyphNameToUnicode(c.name, c.code), c.text) << c.name;
    }
}

// Type 3 glyphs named as TeX's bitmap fonts and printer drivers name them decode to the
// characters of their codes and encode back where the glyph procedure exists.
TEST(NumberedGlyphNames, type3Font_decodesAndEncodesThroughItsProcedures) {
    TestDocument doc;
    const auto proc = doc.stream("500 0 d0 0 0 400 600 re f");
    const auto font = PdfFont::fromDictionary(doc.parse(
        "<< /Type /Font /Subtype /Type3 /FontMatrix [0.001 0 0 0.001 0 0] "
        "/FontBBox [0 0 500 700] /FirstChar 65 /LastChar 70 /Widths [500 500 500 500 500 500] "
        "/Encoding << /Differences [65 /a65 /g66 /cid67 /G44 /index69 /a70] >> "
        "/CharProcs << /a65 @0 /g66 @0 /cid67 @0 /G44 @0 /index69 @0 >> /Resources << >> >>",
        {proc}));
    EXPECT_EQ(font->toUtf8("ABCDEF"), "ABCDF");
    EXPECT_EQ(font->encode("DCBA"), std::string("DCBA"));
    EXPECT_EQ(font->encode("E"), std::nullopt);  // its name says nothing
    EXPECT_EQ(font->encode("F"), std::nullopt);  // no glyph procedure
}

// Liberation Sans embedded whole; /CIDToGIDMap takes each code (a character's value) to its
// glyph, for the characters given.
std::shared_ptr<const PdfFont> unicodeCodedFont(TestDocument& doc, const std::u32string& characters,
                                                QPDFObjectHandle toUnicode) {
    std::string map(2 * 0x500, '\0');
    for (char32_t c : characters)
        map.replace(2 * c, 2, twoBytes(testing::glyphIdOf(RELETTRA_LIBERATION_SANS, c)));
    const auto program = doc.stream(testing::readFile(RELETTRA_LIBERATION_SANS));
    const auto cidToGid = doc.stream(map);
    auto dict = doc.parse(
        "<< /Subtype /Type0 /BaseFont /LiberationSans /Encoding /Identity-H "
        "/DescendantFonts [ << /Subtype /CIDFontType2 /BaseFont /LiberationSans "
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> "
        "/FontDescriptor << /FontName /LiberationSans /Flags 4 /FontFile2 @0 >> "
        "/CIDToGIDMap @1 >> ] >>",
        {program, cidToGid});
    dict.replaceKey("/ToUnicode", toUnicode);
    return PdfFont::fromDictionary(dict);
}

TEST(IdentityToUnicode, namedIdentityH_readsCodesAsUcs2AndEncodesBack) {
    TestDocument doc;
    const auto font = unicodeCodedFont(doc, U"Hi \u0416", QPDFObjectHandle::newName("/Identity-H"));
    const std::string codes = twoBytes('H') + twoBytes('i') + twoBytes(' ') + twoBytes(0x416);
    EXPECT_EQ(font->toUtf8(codes), "Hi \u0416");
    EXPECT_EQ(font->encode("\u0416i"), twoBytes(0x416) + twoBytes('i'));
    EXPECT_EQ(font->encode("Q"), std::nullopt);  // the map gives Q no glyph
}

TEST(ProgramCmap, codeThatToUnicodeLeavesOut_readsThroughCidToGidMapAndProgramCmap) {
    TestDocument doc;
    const auto toUnicode = doc.stream(
        "1 begincodespacerange <0000> <FFFF> endcodespacerange\n"
        "1 beginbfchar <0048> <0048> endbfchar");
    const auto font = unicodeCodedFont(doc, U"Hi", toUnicode);
    EXPECT_EQ(font->toUtf8(twoBytes('H') + twoBytes('i')), "Hi");
    EXPECT_EQ(font->encode("iH"), twoBytes('i') + twoBytes('H'));
}

// A font of a CJK collection that is not embedded: a viewer shows it in a font of that
// collection, so every CID with a character counts.
std::shared_ptr<const PdfFont> cjkFont(TestDocument& doc, const std::string& encoding,
                                       const std::string& ordering) {
    return PdfFont::fromDictionary(doc.parse(
        "<< /Subtype /Type0 /BaseFont /Mincho /Encoding /" + encoding +
        " /DescendantFonts [ << /Subtype /CIDFontType0 /BaseFont /Mincho /CIDSystemInfo << "
        "/Registry (Adobe) /Ordering (" +
        ordering + ") /Supplement 2 >> >> ] >>"));
}

TEST(CjkCollections, fontsWithoutToUnicode_decodeAndEncodeThroughTheCollection) {
    struct Case {
        const char* encoding;
        const char* ordering;
        std::string codes;
        const char* text;
    };
    const Case cases[] = {
        // Identity-H: the codes are Adobe-Japan1 CIDs (843 is あ).
        {"Identity-H", "Japan1", twoBytes(843) + twoBytes(844), "\u3042\u3043"},
        // Predefined CMaps: UCS-2 codes, and Shift-JIS with one- and two-byte codes.
        {"UniJIS-UCS2-H", "Japan1", twoBytes(0x65E5) + twoBytes(0x672C), "\u65E5\u672C"},
        {"90ms-RKSJ-H", "Japan1",
         "\x93\xFA\x96\x7B"
         "A",
         "\u65E5\u672CA"},
        {"UniGB-UCS2-H", "GB1", twoBytes(0x4E2D) + twoBytes(0x6587), "\u4E2D\u6587"},
        {"UniKS-UCS2-H", "Korea1", twoBytes(0xD55C) + twoBytes(0xAD6D), "\uD55C\uAD6D"},
        {"UniCNS-UCS2-H", "CNS1", twoBytes(0x7E41) + twoBytes(0x9AD4), "\u7E41\u9AD4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        TestDocument doc;
        const auto font = cjkFont(doc, c.encoding, c.ordering);
        EXPECT_EQ(font->toUtf8(c.codes), c.text);
        EXPECT_EQ(font->encode(c.text), c.codes);
        EXPECT_EQ(font->encode("\u05D0"), std::nullopt);  // Hebrew is in none of them
        EXPECT_TRUE(doc.qpdf().getWarnings().empty());
    }
}

TEST(CjkCollections, verticalPredefinedCMap_buildsOnItsHorizontalOne) {
    TestDocument doc;
    const auto font = cjkFont(doc, "UniJIS-UCS2-V", "Japan1");
    EXPECT_TRUE(font->isVertical());
    // Its own CIDs are the vertical forms of punctuation, which the table gives as such.
    EXPECT_EQ(font->toUtf8(twoBytes(0x7E26) + twoBytes(0x3001)), "\u7E26\uFE11");
}

TEST(CjkCollections, missingDataFiles_warnNamingTheFileAndNeverEncode) {
    const auto empty = std::filesystem::temp_directory_path() / "relettra_no_cid_data";
    std::filesystem::create_directories(empty / "cMap");
    testsupport::ScopedEnvironment data("RELETTRA_CID_DATA", empty.string());
    TestDocument doc;
    const auto font = cjkFont(doc, "UniJIS-UCS2-H", "Japan1");
    // The UCS-2 codes still tell their text; without the CMap no CID, so no glyph, is known.
    EXPECT_EQ(font->toUtf8(twoBytes(0x65E5)), "\u65E5");
    EXPECT_EQ(font->encode("\u65E5"), std::nullopt);
    std::string warnings;
    for (const auto& warning : doc.qpdf().getWarnings()) warnings += warning.what();
    EXPECT_NE(warnings.find((empty / "cMap").string()), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("UniJIS-UCS2-H"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("poppler-data"), std::string::npos) << warnings;
    std::filesystem::remove_all(empty);
}

}  // namespace
}  // namespace relettra::pdf
