#include <gtest/gtest.h>

#include <string>

#include "pdf/basics/pdf_number.h"
#include "pdf/basics/utf8.h"
#include "pdf/fallback_font/to_unicode_cmap.h"

namespace relettra::pdf {
namespace {

TEST(FallbackFontUtf8, wellFormedAndMalformedInput_giveCodePointsOrOneReplacementPerBadByte) {
    struct Case {
        std::string input;
        std::u32string expected;
    };
    const Case cases[] = {
        {"A\xC3\xBC", U"A\u00FC"},            // two-byte
        {"\xE2\x82\xAC", U"\u20AC"},          // three-byte
        {"\xF0\x9F\x98\x80", U"\U0001F600"},  // four-byte
        {"\x80"
         "A",
         U"\uFFFDA"},         // stray continuation byte
        {"\xC3", U"\uFFFD"},  // truncated at the end
        {"\xE2\x82"
         "A",
         U"\uFFFD\uFFFDA"},                                 // truncated before ASCII
        {"\xC0\xAF", U"\uFFFD\uFFFD"},                      // overlong slash
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeUtf8(c.input), c.expected) << "input of " << c.input.size() << " bytes";
    }
}

TEST(FallbackFontNumber, values_roundToThreeDecimalsWithoutTrailingZerosOrNegativeZero) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {556.15234375, "556.152"}, {-212.0, "-212"}, {0.5, "0.5"}, {0.0004, "0"}, {-0.0001, "0"},
        {1000.0, "1000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatPdfNumber(c.value), c.expected) << c.value;
    }
    EXPECT_TRUE(newPdfNumber(905.0).isInteger());
    EXPECT_TRUE(newPdfNumber(556.152).isReal());
}

TEST(FallbackFontToUnicode, nonBmpCharacter_isWrittenAsSurrogatePair) {
    const std::string cmap = buildToUnicodeCMap({{0x0024, U'A'}, {0x0100, U'\U0001D400'}});
    EXPECT_NE(cmap.find("<0024> <0041>"), std::string::npos);
    EXPECT_NE(cmap.find("<0100> <D835DC00>"), std::string::npos);
    EXPECT_NE(cmap.find("2 beginbfchar"), std::string::npos);
}

TEST(FallbackFontToUnicode, moreThanHundredCodes_areSplitIntoBlocksOfAtMostHundred) {
    std::map<std::uint16_t, char32_t> codes;
    for (std::uint16_t code = 1; code <= 150; ++code) {
        codes.emplace(code, U'A' + code);
    }
    const std::string cmap = buildToUnicodeCMap(codes);
    EXPECT_NE(cmap.find("100 beginbfchar"), std::string::npos);
    EXPECT_NE(cmap.find("50 beginbfchar"), std::string::npos);
    EXPECT_NE(cmap.find("<0096> <00D7>"), std::string::npos);
}

}  // namespace
}  // namespace relettra::pdf
