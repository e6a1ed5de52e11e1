// Rule lines, the rule-file reader, the whole-file loader and the error callback, called
// directly.

#include "rules/rule_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_bytes.h"
#include "base/leading_number.h"
#include "rules/rule_file_reader.h"
#include "runners/library_error_report.h"
#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// ---- text rule lines -------------------------------------------------------------------

struct TextLineCase {
    const char* name;
    std::string line;
    TextRuleLine expected;
};

std::ostream& operator<<(std::ostream& out, const TextLineCase& c) {
    return out << c.name;
}

class TextRuleLineReading : public ::testing::TestWithParam<TextLineCase> {};

TEST_P(TextRuleLineReading, readsEveryField) {
    const TextLineCase& c = GetParam();
    const TextRuleLine got = ParseTextRuleLine(c.line);
    EXPECT_EQ(got.page, c.expected.page);
    EXPECT_EQ(got.left, c.expected.left);
    EXPECT_EQ(got.top, c.expected.top);
    EXPECT_EQ(got.width, c.expected.width);
    EXPECT_EQ(got.height, c.expected.height);
    EXPECT_EQ(got.find, c.expected.find);
    EXPECT_EQ(got.replace, c.expected.replace);
}

const std::string kLongReplacement = [] {
    std::string s;
    for (int i = 0; s.size() < 500; ++i) s += "word" + std::to_string(i) + " ";
    return s.substr(0, 500);
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, TextRuleLineReading,
    ::testing::Values(
        TextLineCase{"plain",
                     "3-72-140-210-12:Invoice:Receipt",
                     {3, 72, 140, 210, 12, "Invoice", "Receipt"}},
        // A colon doubled in the find text belongs to it; the next single colon ends it.
        TextLineCase{
            "doubledColonInFind", "1-10-20-30-40:Total::Sum", {1, 10, 20, 30, 40, "Total:", "Sum"}},
        TextLineCase{"singleColonSplitsFindFromReplacement",
                     "1-10-20-30-40:a:b:c",
                     {1, 10, 20, 30, 40, "a", "b:c"}},
        TextLineCase{"emptyReplacement", "2-1-2-3-4:gone:", {2, 1, 2, 3, 4, "gone", ""}},
        TextLineCase{"replacementKeepsBlanksAndColons",
                     "2-1-2-3-4:x: a : b ",
                     {2, 1, 2, 3, 4, "x", " a : b "}},
        TextLineCase{"longReplacementReadWhole",
                     "1-1-1-1-1:find:" + kLongReplacement,
                     {1, 1, 1, 1, 1, "find", kLongReplacement}},
        TextLineCase{"emptyLine", "", {0, 0, 0, 0, 0, "", ""}},
        TextLineCase{"pageOnly", "7", {7, 0, 0, 0, 0, "", ""}},
        TextLineCase{"noTextPart", "2-10-20-30-40", {2, 10, 20, 30, 40, "", ""}},
        TextLineCase{"nonNumericFieldsAreZero", "x-y-z-w-v:f:r", {0, 0, 0, 0, 0, "f", "r"}},
        // A minus sign is a separator: "-5" leaves the left field empty and shifts the rest.
        TextLineCase{"minusSignIsSeparator", "1--5-20-30-40:f:r", {1, 0, 5, 20, 30, "f", "r"}}));

TEST(PixelScaling, textRuleNumbersTruncateTowardZero) {
    // 72 * 72 / 150 = 34.56, 140 -> 67.2, 210 -> 100.8, 12 -> 5.76.
    const struct {
        int pixels, points;
    } cases[] = {{72, 34}, {140, 67}, {210, 100}, {12, 5}, {150, 72}, {0, 0}, {2, 0}, {-72, -34}};
    for (const auto& c : cases) {
        EXPECT_EQ(PixelsToPoints(c.pixels), c.points) << c.pixels << " px";
    }
}

TEST(PixelScaling, imageRuleNumbersAreNotRounded) {
    EXPECT_DOUBLE_EQ(PixelsToPoints(72.0), 34.56);
    EXPECT_DOUBLE_EQ(PixelsToPoints(1.0), 0.48);
    EXPECT_DOUBLE_EQ(PixelsToPoints(150.0), 72.0);
}

// ---- image rule lines ------------------------------------------------------------------

struct ImageLineCase {
    const char* name;
    std::string line;
    ImageRuleLine expected;
};

std::ostream& operator<<(std::ostream& out, const ImageLineCase& c) {
    return out << c.name;
}

class ImageRuleLineReading : public ::testing::TestWithParam<ImageLineCase> {};

TEST_P(ImageRuleLineReading, readsEveryField) {
    const ImageLineCase& c = GetParam();
    ::testing::internal::CaptureStdout();
    const ImageRuleLine got = ParseImageRuleLine(c.line);
    std::fflush(stdout);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(got.page, c.expected.page);
    EXPECT_DOUBLE_EQ(got.left, c.expected.left);
    EXPECT_DOUBLE_EQ(got.top, c.expected.top);
    EXPECT_EQ(got.imagePath, c.expected.imagePath);
    EXPECT_DOUBLE_EQ(got.width, c.expected.width);
    EXPECT_DOUBLE_EQ(got.height, c.expected.height);
}

const std::string kLongImagePath = [] {
    std::string s = "/tmp";
    while (s.size() < 290) s += "/folder" + std::to_string(s.size());
    s = s.substr(0, 290) + "/image.png";
    return s;
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageRuleLineReading,
    ::testing::Values(ImageLineCase{"driveLetterPathKeepsItsColon",
                                    "2:150:300:(C:\\images\\logo.png):300:150",
                                    {2, 150, 300, 300, 150, "C:\\images\\logo.png"}},
                      ImageLineCase{"leadingZerosAndDecimals",
                                    "1:10.5:20.25:(/tmp/a b.png):0300:0150.5",
                                    {1, 10.5, 20.25, 300, 150.5, "/tmp/a b.png"}},
                      ImageLineCase{"pathOver99BytesReadWhole",
                                    "1:0:0:(" + kLongImagePath + "):10:20",
                                    {1, 0, 0, 10, 20, kLongImagePath}},
                      ImageLineCase{"pathWithoutClosingParenthesisRunsToTheEnd",
                                    "3:1:2:(/tmp/x.png",
                                    {3, 1, 2, 0, 0, "/tmp/x.png"}},
                      ImageLineCase{"emptyLine", "", {0, 0, 0, 0, 0, ""}}));

TEST(ImageRuleLineReading, driveLetterRuleScalesTo72And144Points) {
    ::testing::internal::CaptureStdout();
    const ImageRuleLine rule = ParseImageRuleLine("2:150:300:(D:\\pics\\stamp.jpg):300:150");
    std::fflush(stdout);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(rule.page, 2);
    EXPECT_DOUBLE_EQ(PixelsToPoints(rule.left), 72.0);
    EXPECT_DOUBLE_EQ(PixelsToPoints(rule.top), 144.0);
    EXPECT_DOUBLE_EQ(PixelsToPoints(rule.width), 144.0);
    EXPECT_DOUBLE_EQ(PixelsToPoints(rule.height), 72.0);
    EXPECT_EQ(rule.imagePath, "D:\\pics\\stamp.jpg");
}

TEST(ImageRuleLineReading, valuesTextListsTheValuesReadInOrder) {
    EXPECT_EQ(ImageRuleValuesText(ParseImageRuleLine("4:1.5:2:(/x/y.png):3:0004")),
              "x pos is :1.500000\n"
              "y pos is :2.000000\n"
              "jpeg is :/x/y.png\n"
              "width is :3.000000\n"
              "height is :4.000000\n");
}

// ---- rule files ------------------------------------------------------------------------

std::vector<std::string> readAllLines(const std::string& content) {
    TempDir dir;
    writeFile(dir / "rules.txt", content);
    RuleFileReader reader((dir / "rules.txt").string());
    EXPECT_TRUE(reader.isOpen());
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line)) lines.push_back(line);
    return lines;
}

TEST(RuleFileReading, lineEndsOfBothKindsAndAFinalLineWithoutLineEnd) {
    const struct {
        const char* name;
        std::string content;
        std::vector<std::string> lines;
    } cases[] = {
        {"crlf", "a:1\r\nb:2\r\n", {"a:1", "b:2"}},
        {"bareLineFeed", "a:1\nb:2\n", {"a:1", "b:2"}},
        {"mixed", "a:1\r\nb:2\nc:3", {"a:1", "b:2", "c:3"}},
        {"finalLineWithoutLineEnd", "only line", {"only line"}},
        {"empty", "", {}},
        {"carriageReturnInsideALineStays", "a\rb\r\n", {"a\rb"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readAllLines(c.content), c.lines) << c.name;
    }
}

TEST(RuleFileReading, lineOfTenThousandBytesIsOneLine) {
    const std::string longLine = "1-2-3-4-5:find:" + std::string(10000, 'r');
    const std::vector<std::string> lines = readAllLines(longLine + "\r\n2-0-0-0-0:a:b\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], longLine);
    EXPECT_EQ(ParseTextRuleLine(lines[0]).replace, std::string(10000, 'r'));
    EXPECT_EQ(ParseTextRuleLine(lines[1]).page, 2);
}

// Files that are no regular files: reading one would never end (a device, a pipe nobody
// writes to) or give nothing (a folder).
struct NotAFileCase {
    std::string name;
    std::string problem;
};

std::vector<NotAFileCase> notAFileCases(const TempDir& dir) {
    fs::create_directory(dir / "folder");
    const bool fifo = makeFifo(dir / "pipe");
    std::vector<NotAFileCase> cases = {
        {"absent.txt", "no such file"},
        {"folder", "is a folder"},
        {endlessDevice().string(), "is not a regular file (a device, pipe or socket)"},
    };
    if (fifo) cases.push_back({"pipe", "is not a regular file (a device, pipe or socket)"});
    return cases;
}

std::string pathIn(const TempDir& dir, const std::string& name) {
    return name.front() == '/' ? name : (dir / name).string();
}

TEST(RuleFileReading, notARegularFile_isNotOpenWithItsProblem) {
    TempDir dir;
    for (const NotAFileCase& c : notAFileCases(dir)) {
        RuleFileReader reader(pathIn(dir, c.name));
        EXPECT_FALSE(reader.isOpen()) << c.name;
        EXPECT_EQ(reader.problem(), c.problem) << c.name;
        std::string line;
        EXPECT_FALSE(reader.next(line)) << c.name;
    }
}

// ---- whole-file loader -----------------------------------------------------------------

TEST(LoadWholeFile, emptyFileGivesEmptyBuffer) {
    TempDir dir;
    writeFile(dir / "empty.bin", "");
    const std::optional<std::string> bytes = LoadWholeFile((dir / "empty.bin").string());
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 0u);
}

TEST(LoadWholeFile, binaryContentComesBackByteForByte) {
    TempDir dir;
    std::string content;
    for (int i = 0; i < 256; ++i) content += static_cast<char>(i);
    content += "\r\n\x1a\r\n";
    writeFile(dir / "all.bin", content);
    const std::optional<std::string> bytes = LoadWholeFile((dir / "all.bin").string());
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, content);
}

TEST(LoadWholeFile, notARegularFile_givesNothingAndItsProblem) {
    TempDir dir;
    for (const NotAFileCase& c : notAFileCases(dir)) {
        std::string whyNot;
        EXPECT_FALSE(LoadWholeFile(pathIn(dir, c.name), &whyNot).has_value()) << c.name;
        EXPECT_EQ(whyNot, c.problem) << c.name;
    }
}

TEST(LoadWholeFile, fileBeyondTheLimit_givesNothing) {
    TempDir dir;
    writeFile(dir / "ten.bin", std::string(10, 'x'));
    std::string whyNot;
    EXPECT_FALSE(LoadWholeFile((dir / "ten.bin").string(), &whyNot, 9).has_value());
    EXPECT_NE(whyNot.find("too large"), std::string::npos) << whyNot;
    EXPECT_EQ(LoadWholeFile((dir / "ten.bin").string(), &whyNot, 10).value_or(""),
              std::string(10, 'x'));
}

// ---- numbers on the command line -------------------------------------------------------

TEST(ReadLeadingInt, atoiReadings) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"120", 120},
                 {"  42px", 42},
                 {"-7", -7},
                 {"+8", 8},
                 {"wide", 0},
                 {"", 0},
                 {"12.9", 12},
                 {"99999999999999", 2147483647},
                 {"-99999999999999", -2147483647 - 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(ReadLeadingInt(c.text), c.value) << '"' << c.text << '"';
    }
    EXPECT_EQ(ReadLeadingInt(nullptr), 0);
}

// ---- the PDF layer's error callback ----------------------------------------------------

TEST(ReportLibraryError, prefixOfTheFirstKindInOrderAndZeroReturned) {
    const struct {
        int type;
        const char* printed;
    } cases[] = {
        {0x02000000, "Warning!: m\n"},
        {0x04000000, "Syntax error!: m\n"},
        {0x08000000, "Value error!: m\n"},
        {0x10000000, "TrueType font error!: m\n"},
        {0x40000000, "File error!: m\n"},
        {0x20000000, "Fatal error!: m\n"},
        {0, "m\n"},
        {0x00000001, "m\n"},
        // Several bits: the order warning, syntax, value, TrueType, file, fatal decides.
        {0x02000000 | 0x04000000, "Warning!: m\n"},
        {0x04000000 | 0x40000000, "Syntax error!: m\n"},
        {0x20000000 | 0x40000000, "File error!: m\n"},
        {0x10000000 | 0x20000000, "TrueType font error!: m\n"},
    };
    for (const auto& c : cases) {
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int result = ReportLibraryError(nullptr, 7, "m", c.type);
        std::fflush(stdout);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.printed) << std::hex << c.type;
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << std::hex << c.type;
        EXPECT_EQ(result, 0);
    }
}

TEST(ReportLibraryError, messageIsPrintedVerbatimNotAsFormat) {
    ::testing::internal::CaptureStderr();
    ReportLibraryError(nullptr, 0, "100% %s %d", 0x08000000);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Value error!: 100% %s %d\n");
}

}  // namespace
