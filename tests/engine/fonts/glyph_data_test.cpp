// Glyph names, standard encodings and standard-14 metrics generated from Debian's data.
#include <gtest/gtest.h>

#include <cstring>

#include "pdf/fonts/glyph_names.h"
#include "pdf/fonts/simple_encoding.h"
#include "pdf/fonts/standard_fonts.h"

namespace relettra::pdf {
namespace {

struct NameCase {
    const char* name;
    bool dingbats;
    const char* expected;
};

TEST(GlyphNames, aglRules_mapNamesToUnicode) {
    const NameCase cases[] = {
        {"A", false, "A"},
        {"Euro", false, "\u20AC"},
        {"quoteright", false, "\u2019"},
        {"uni0416", false, "\u0416"},
        {"uni00410042", false, "AB"},
        {"u1F600", false, "\U0001F600"},
        {"a.sc", false, "a"},
        {"f_f_i", false, "ffi"},
        {"f_i.liga", false, "fi"},
        {"uniD800", false, ""},   // a surrogate is not a character
        {"uni0041x", false, ""},  // not a multiple of four digits
        {"uni004a", false, ""},   // lower-case hex is not valid in AGL names
        {"g123", false, ""},
        {"", false, ""},
        {"a1", true, "\u2701"},  // ZapfDingbats list first for the dingbats font
        {"a1", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(glyphNameToUnicode(c.name, c.dingbats), c.expected) << c.name;
    }
}

TEST(StandardEncodings, tablesFromPackagedData_holdKnownNames) {
    struct EncodingCase {
        const char* encoding;
        int code;
        const char* name;  // nullptr: code unused
    };
    const EncodingCase cases[] = {
        {"WinAnsiEncoding", 0x41, "A"},           {"WinAnsiEncoding", 0x80, "Euro"},
        {"WinAnsiEncoding", 0x27, "quotesingle"}, {"WinAnsiEncoding", 0x81, nullptr},
        {"WinAnsiEncoding", 0xE9, "eacute"},      {"StandardEncoding", 0x27, "quoteright"},
        {"StandardEncoding", 0xAE, "fi"},         {"MacRomanEncoding", 0x8E, "eacute"},
        {"MacRomanEncoding", 0xA5, "bullet"},     {"SymbolEncoding", 0x61, "alpha"},
        {"ZapfDingbatsEncoding", 0x21, "a1"},
    };
    for (const auto& c : cases) {
        const char* const* table = namedEncoding(c.encoding);
        ASSERT_NE(table, nullptr) << c.encoding;
        if (c.name == nullptr) {
            EXPECT_EQ(table[c.code], nullptr) << c.encoding << " " << c.code;
        } else {
            ASSERT_NE(table[c.code], nullptr) << c.encoding << " " << c.code;
            EXPECT_STREQ(table[c.code], c.name) << c.encoding << " " << c.code;
        }
    }
    EXPECT_EQ(namedEncoding("MacExpertEncoding"), nullptr);
}

TEST(StandardFonts, namesAndAliases_resolveToStandardFace) {
    const std::pair<const char*, const char*> cases[] = {
        {"Helvetica", "Helvetica"},
        {"ABCDEF+Helvetica-Bold", "Helvetica-Bold"},
        {"Arial", "Helvetica"},
        {"ArialMT", "Helvetica"},
        {"Arial,Bold", "Helvetica-Bold"},
        {"Arial-BoldItalicMT", "Helvetica-BoldOblique"},
        {"Arial,Italic", "Helvetica-Oblique"},
        {"TimesNewRoman", "Times-Roman"},
        {"TimesNewRomanPS-BoldMT", "Times-Bold"},
        {"Times New Roman,BoldItalic", "Times-BoldItalic"},
        {"CourierNewPSMT", "Courier"},
        {"CourierNew,Bold", "Courier-Bold"},
        {"Courier-Oblique", "Courier-Oblique"},
        {"Symbol", "Symbol"},
        {"ZapfDingbats", "ZapfDingbats"},
    };
    for (const auto& [name, expected] : cases) {
        const auto* font = findStandardFont(name);
        ASSERT_NE(font, nullptr) << name;
        EXPECT_STREQ(font->fontName, expected) << name;
    }
    EXPECT_EQ(findStandardFont("Verdana"), nullptr);
    EXPECT_EQ(findStandardFont("ArialNarrowX"), nullptr);
}

TEST(StandardFonts, widths_comeFromAfmByNameOrUnicode) {
    const auto* helvetica = findStandardFont("Helvetica");
    const auto* times = findStandardFont("Times-Roman");
    const auto* courier = findStandardFont("Courier");
    ASSERT_TRUE(helvetica && times && courier);
    EXPECT_EQ(standardGlyphWidth(*helvetica, "A"), 667);
    EXPECT_EQ(standardGlyphWidth(*helvetica, "space"), 278);
    EXPECT_EQ(standardGlyphWidth(*times, "A"), 722);
    EXPECT_EQ(standardGlyphWidth(*courier, "W"), 600);
    // "nbspace" is not an AFM name; its Unicode value finds uni00A0.
    EXPECT_EQ(standardGlyphWidth(*helvetica, "nbspace"), 278);
    EXPECT_FALSE(standardGlyphWidth(*helvetica, "uni4E00").has_value());
    EXPECT_TRUE(standardFontHasGlyph(*helvetica, "Aacute"));
    EXPECT_FALSE(standardFontHasGlyph(*helvetica, "A.sc"));
}

}  // namespace
}  // namespace relettra::pdf
