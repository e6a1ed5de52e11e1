// CMap parsing: codespaces, bfchar, bfrange (both forms), cidrange, WMode.
#include <gtest/gtest.h>

#include "pdf/fonts/cmap_parser.h"

namespace relettra::pdf {
namespace {

const char* const kMixedCMap = R"(/CIDInit /ProcSet findresource begin
12 dict begin begincmap
/CMapName /Test def
2 begincodespacerange
<00> <7F>
<8000> <FFFF>
endcodespacerange
3 beginbfchar
<41> <0058>
<8001> <D83DDE00>
<8002> <006600660069>
endbfchar
2 beginbfrange
<61> <63> <0061>
<9000> <9002> [<0041> <0042> <0043>]
endbfrange
% a comment with <ff> inside
endcmap CMapName currentdict /CMap defineresource pop end end)";

TEST(CMap, bfcharAndBfrange_giveUnicodeForCodes) {
    const CMap cmap = CMap::parse(kMixedCMap);
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x41, "X"}, {0x8001, "\U0001F600"}, {0x8002, "ffi"}, {0x61, "a"},  {0x63, "c"},
        {0x64, ""},  {0x9000, "A"},          {0x9002, "C"},   {0x9003, ""},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(cmap.unicodeFor(code), text) << code;
}

TEST(CMap, mixedCodespace_splitsOneAndTwoByteCodes) {
    const CMap cmap = CMap::parse(kMixedCMap);
    const std::string bytes = std::string("\x41\x80\x01\x61", 4);
    EXPECT_EQ(cmap.codeLength(bytes, 0, 2), 1);
    EXPECT_EQ(cmap.codeLength(bytes, 1, 2), 2);
    EXPECT_EQ(cmap.codeLength(bytes, 3, 2), 1);
    // A lead byte of the two-byte range at the end of the string: only one byte is left.
    EXPECT_EQ(cmap.codeLength(std::string("\x90", 1), 0, 2), 1);
}

TEST(CMap, bfrangeIncrement_carriesIntoLowSurrogate) {
    const CMap cmap = CMap::parse(
        "1 begincodespacerange <0000> <FFFF> endcodespacerange\n"
        "1 beginbfrange <0010> <0011> <D835DC00> endbfrange");
    EXPECT_EQ(cmap.unicodeFor(0x10), "\U0001D400");
    EXPECT_EQ(cmap.unicodeFor(0x11), "\U0001D401");
}

TEST(CMap, embeddedEncodingCMap_mapsCodesToCidsAndReadsWMode) {
    const CMap cmap = CMap::parse(
        "/WMode 1 def\n"
        "1 begincodespacerange <0000> <FFFF> endcodespacerange\n"
        "1 begincidchar <0005> 77 endcidchar\n"
        "1 begincidrange <0100> <01FF> 1000 endcidrange");
    EXPECT_TRUE(cmap.isVertical());
    EXPECT_EQ(cmap.cidFor(5), 77u);
    EXPECT_EQ(cmap.cidFor(0x0110), 1016u);
    EXPECT_FALSE(cmap.cidFor(0x0200).has_value());
    EXPECT_EQ(CMap::identity(false).cidFor(0x1234), 0x1234u);
}

TEST(CMap, garbageInput_yieldsEmptyMapWithoutCrashing) {
    const char* const inputs[] = {"", "begincodespacerange <00", "beginbfrange <00> <01> [ <0041",
                                  "beginbfchar (abc) endbfchar >> ] ) {", "<<<<>>>>"};
    for (const char* input : inputs) {
        const CMap cmap = CMap::parse(input);
        EXPECT_EQ(cmap.unicodeFor(0x7777), "") << input;
        EXPECT_FALSE(cmap.cidFor(0x7777).has_value()) << input;
    }
}

}  // namespace
}  // namespace relettra::pdf
