// The real `marqel` program on the command line: argument counts, mode words, exit codes of
// each mode and the console lines of a run.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// A folder with a copy of multipage.pdf, an empty rule file and a small image.
class MarqelRun : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(kitDir() / "multipage.pdf", input());
        writeFile(rules(), "");
        writeSolidBmp(image(), 8, 8, 255, 0, 0);
        inputBytes_ = readFile(input());
    }

    fs::path input() const { return dir_ / "in.pdf"; }
    fs::path output() const { return dir_ / "out.pdf"; }
    fs::path rules() const { return dir_ / "rules.txt"; }
    fs::path image() const { return dir_ / "red.bmp"; }
    const TempDir& dir() const { return dir_; }

    // Placeholders {IN}, {OUT}, {RULES}, {IMG} and {DIR} are replaced by the paths above.
    std::string expand(std::string a) const {
        {
            for (auto [key, value] : {std::pair<std::string, std::string>{"{IN}", input().string()},
                                      {"{OUT}", output().string()},
                                      {"{RULES}", rules().string()},
                                      {"{IMG}", image().string()},
                                      {"{DIR}", dir_.path().string()}}) {
                for (size_t p; (p = a.find(key)) != std::string::npos;)
                    a.replace(p, key.size(), value);
            }
        }
        return a;
    }
    CommandResult marqel(std::vector<std::string> args) const {
        for (std::string& a : args) a = expand(a);
        return run(marqelPath(), args);
    }

    // The folder holds nothing but what SetUp put there (no output, no temporary file).
    void expectNothingWritten() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"in.pdf", "red.bmp", "rules.txt"}));
        EXPECT_EQ(readFile(input()), inputBytes_) << "the input was changed";
    }

  private:
    TempDir dir_;
    std::string inputBytes_;
};

// ---- argument count and mode word ------------------------------------------------------

struct ArgumentCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
};

std::ostream& operator<<(std::ostream& out, const ArgumentCase& c) {
    return out << c.name;
}

class ArgumentHandling : public MarqelRun, public ::testing::WithParamInterface<ArgumentCase> {};

TEST_P(ArgumentHandling, exitCodeWithoutOutputOrConsoleLines) {
    const ArgumentCase& c = GetParam();
    const CommandResult r = marqel(c.args);
    EXPECT_EQ(signedExitCode(r.exitCode), c.exitCode);
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(r.errors, "");
    expectNothingWritten();
}

const std::string kLongWordAfter = "-z" + std::string(300, 'x');
const std::string kLongWordBefore = "-a" + std::string(300, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, ArgumentHandling,
    ::testing::Values(
        ArgumentCase{"noArguments_exit0", {}, 0}, ArgumentCase{"inputOnly_exit1", {"{IN}"}, 1},
        ArgumentCase{"tesomeWithThree_exit1", {"{IN}", "-tesome", "{OUT}"}, 1},
        ArgumentCase{"tesomeWithFive_exit1", {"{IN}", "-tesome", "{OUT}", "{RULES}", "extra"}, 1},
        ArgumentCase{
            "tesomeWithSeven_exit1", {"{IN}", "-tesome", "{OUT}", "{RULES}", "a", "b", "c"}, 1},
        ArgumentCase{"pisomeWithThree_exit1", {"{IN}", "-pisome", "{OUT}"}, 1},
        ArgumentCase{"piallWithFour_exit1", {"{IN}", "-piall", "{OUT}", "STAMPME"}, 1},
        ArgumentCase{
            "piallWithSix_exit1", {"{IN}", "-piall", "{OUT}", "STAMPME", "{IMG}", "10"}, 1},
        ArgumentCase{"unknownWordWithSeven_exit1", {"{IN}", "-zz", "{OUT}", "a", "b", "c", "d"}, 1},
        ArgumentCase{"capitalTesome_exitMinus1", {"{IN}", "-TESOME", "{OUT}", "{RULES}"}, -1},
        ArgumentCase{"hyphenZ_exit1", {"{IN}", "-z", "{OUT}", "{RULES}"}, 1},
        ArgumentCase{"emptyWord_exitMinus1", {"{IN}", "", "{OUT}", "{RULES}"}, -1},
        ArgumentCase{"prefixOfTesome_exitMinus1", {"{IN}", "-tesom", "{OUT}", "{RULES}"}, -1},
        ArgumentCase{"tesomeWithTrailingBlank_exit1", {"{IN}", "-tesome ", "{OUT}", "{RULES}"}, 1},
        ArgumentCase{
            "pisomeWithTrailingBlank_exitMinus1", {"{IN}", "-pisome ", "{OUT}", "{RULES}"}, -1},
        // Bytes above 0x7f sort after "t": the comparison is unsigned.
        ArgumentCase{"highByteWord_exit1", {"{IN}", "-\xe9", "{OUT}", "{RULES}"}, 1},
        ArgumentCase{"overLongWordAfter_exit1", {"{IN}", kLongWordAfter, "{OUT}", "{RULES}"}, 1},
        ArgumentCase{
            "overLongWordBefore_exitMinus1", {"{IN}", kLongWordBefore, "{OUT}", "{RULES}"}, -1}),
    [](const auto& info) { return testsupport::identifier(info.param.name); });

TEST_F(MarqelRun, installedNameTewkrunDll_runsLikeMarqel) {
    const CommandResult none = run(runDir() / "Tewkrun.dll", {});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.output, "");
    const CommandResult r = run(runDir() / "Tewkrun.dll",
                                {input().string(), "-tesome", output().string(), rules().string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(fs::exists(output()));
}

// ---- exit codes and console streams of the modes ---------------------------------------

// Whether a line of standard output is one that callers read: the echo of a line of the rule
// file (followed by an empty line when it had a line end), or a line of the modes' reports.
bool isContractLine(const std::string& line, const std::string& ruleFile) {
    static const std::regex kReport(
        "change success\\? [01]|strtext is :.*|(x|y) pos is :-?[0-9.]+|jpeg is :.*|"
        "(width|height) is :-?[0-9.]+|Page count is:-?[0-9]+|Start insert image|"
        "Rule result: .+|keyword: .*|Found string on Page: [0-9]+|(x|y) = -?[0-9.]+|"
        "Replaced -?[0-9]+ keywords\\\\n");
    if (line.empty() || std::regex_match(line, kReport)) return true;
    std::istringstream lines(ruleFile);
    for (std::string ruleLine; std::getline(lines, ruleLine);) {
        if (!ruleLine.empty() && ruleLine.back() == '\r') ruleLine.pop_back();
        if (ruleLine == line) return true;
    }
    return false;
}

struct ModeCase {
    const char* name;
    std::vector<std::string> args;
    std::string ruleFile;  // content of {RULES}
    int exitCode;
    bool outputWritten;
    std::string message;  // what standard error says of the failure ("": nothing asked)
    bool quiet = false;   // nothing at all on standard output
};

std::ostream& operator<<(std::ostream& out, const ModeCase& c) {
    return out << c.name;
}

class ModeExitCodes : public MarqelRun, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeExitCodes, exitCodeOutputAndMessagesOnTheirStreams) {
    const ModeCase& c = GetParam();
    writeFile(dir() / "notpdf.pdf", "This is plain text, not a PDF.\n");
    writeFile(rules(), expand(c.ruleFile));
    const CommandResult r = marqel(c.args);
    EXPECT_EQ(signedExitCode(r.exitCode), c.exitCode) << r.output << r.errors;
    EXPECT_EQ(fs::exists(output()), c.outputWritten);
    if (c.outputWritten) {
        EXPECT_TRUE(qpdfCheckPasses(output()));
    }
    // Standard output holds only what callers read; the failure is told on standard error.
    std::istringstream lines(r.output);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(isContractLine(line, expand(c.ruleFile))) << "on standard output: " << line;
    }
    if (c.quiet) {
        EXPECT_EQ(r.output, "");
    }
    EXPECT_NE(r.errors.find(expand(c.message)), std::string::npos) << r.errors;
    // No temporary file is left behind.
    for (const auto& entry : fs::recursive_directory_iterator(dir().path())) {
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos)
            << "left over: " << entry.path();
    }
}

const char kCannotWrite[] = "File error!: Cannot write the output file {DIR}/no/out.pdf";
const char kOutputIsInput[] = "File error!: The output file is the input file";
const char kNoInput[] = "Cannot open the input file {DIR}/none.pdf: no such file";
const char kNoRuleFile[] = "Cannot open the rule file {DIR}/none.txt";
const char kNoImage[] = "Cannot read the image file {DIR}/none.png";

INSTANTIATE_TEST_SUITE_P(
    Cases, ModeExitCodes,
    ::testing::Values(
        ModeCase{"tesome_done_exit1", {"{IN}", "-tesome", "{OUT}", "{RULES}"}, "", 1, true, ""},
        ModeCase{"tesome_missingInput_exit0",
                 {"{DIR}/none.pdf", "-tesome", "{OUT}", "{RULES}"},
                 "",
                 0,
                 false,
                 std::string("File error!: ") + kNoInput,
                 true},
        ModeCase{"tesome_inputNotPdf_exit0",
                 {"{DIR}/notpdf.pdf", "-tesome", "{OUT}", "{RULES}"},
                 "",
                 0,
                 false,
                 "Syntax error!: ",
                 true},
        ModeCase{
            "tesome_emptyInputPath_exit0", {"", "-tesome", "{OUT}", "{RULES}"}, "", 0, false, ""},
        ModeCase{
            "tesome_emptyOutputPath_exit0", {"{IN}", "-tesome", "", "{RULES}"}, "", 0, false, ""},
        ModeCase{"tesome_outputFolderMissing_exit2",
                 {"{IN}", "-tesome", "{DIR}/no/out.pdf", "{RULES}"},
                 "9-1-1-1-1:a:b\r\n",
                 2,
                 false,
                 kCannotWrite},
        ModeCase{"tesome_outputIsInput_exit2",
                 {"{IN}", "-tesome", "{IN}", "{RULES}"},
                 "",
                 2,
                 false,
                 kOutputIsInput,
                 true},
        ModeCase{"tesome_ruleFileMissing_exit3",
                 {"{IN}", "-tesome", "{OUT}", "{DIR}/none.txt"},
                 "",
                 3,
                 false,
                 kNoRuleFile,
                 true},
        ModeCase{"pisome_done_exit1",
                 {"{IN}", "-pisome", "{OUT}", "{RULES}"},
                 "1:150:150:({IMG}):75:75\r\n",
                 1,
                 true,
                 ""},
        ModeCase{"pisome_emptyInputPath_exitMinus1",
                 {"", "-pisome", "{OUT}", "{RULES}"},
                 "",
                 -1,
                 false,
                 ""},
        ModeCase{"pisome_missingInput_exitMinus2",
                 {"{DIR}/none.pdf", "-pisome", "{OUT}", "{RULES}"},
                 "",
                 -2,
                 false,
                 kNoInput,
                 true},
        ModeCase{"pisome_inputNotPdf_exitMinus3",
                 {"{DIR}/notpdf.pdf", "-pisome", "{OUT}", "{RULES}"},
                 "",
                 -3,
                 false,
                 "Syntax error!: ",
                 true},
        ModeCase{"pisome_ruleFileMissing_exitMinus4",
                 {"{IN}", "-pisome", "{OUT}", "{DIR}/none.txt"},
                 "",
                 -4,
                 false,
                 kNoRuleFile,
                 true},
        ModeCase{"pisome_outputFolderMissing_exitMinus5",
                 {"{IN}", "-pisome", "{DIR}/no/out.pdf", "{RULES}"},
                 "1:150:150:({IMG}):75:75\r\n",
                 -5,
                 false,
                 kCannotWrite},
        ModeCase{"pisome_outputIsInput_exitMinus5",
                 {"{IN}", "-pisome", "{IN}", "{RULES}"},
                 "",
                 -5,
                 false,
                 kOutputIsInput,
                 true},
        // The third line's image is missing: the lines before it were applied in memory, but
        // nothing is written.
        ModeCase{"pisome_imageMissingOnThirdLine_exitMinus2",
                 {"{IN}", "-pisome", "{OUT}", "{RULES}"},
                 "1:0:0:({IMG}):50:50\r\n2:0:0:({IMG}):50:50\r\n3:0:0:({DIR}/"
                 "none.png):50:50\r\n1:0:0:({IMG}):5:5\r\n",
                 -2,
                 false,
                 kNoImage},
        // An image is read even for a page that does not exist.
        ModeCase{"pisome_imageMissingOnAbsentPage_exitMinus2",
                 {"{IN}", "-pisome", "{OUT}", "{RULES}"},
                 "9:0:0:({DIR}/none.png):50:50\r\n",
                 -2,
                 false,
                 kNoImage},
        ModeCase{"pisome_imageNotAnImage_exit1",
                 {"{IN}", "-pisome", "{OUT}", "{RULES}"},
                 "1:0:0:({RULES}):50:50\r\n",
                 1,
                 true,
                 "Value error!: Cannot draw the image"},
        ModeCase{"piall_imageMissing_exitMinus2",
                 {"{IN}", "-piall", "{OUT}", "STAMPME", "{DIR}/none.png", "10", "10"},
                 "",
                 -2,
                 false,
                 kNoImage,
                 true},
        // The keyword is found, but the image cannot be drawn: no stamp, so no output.
        ModeCase{"piall_imageNotAnImage_exitMinus2",
                 {"{IN}", "-piall", "{OUT}", "STAMPME", "{RULES}", "10", "10"},
                 "not an image",
                 -2,
                 false,
                 "The image cannot be drawn: nothing was written."},
        ModeCase{"piall_missingInput_exitMinus3",
                 {"{DIR}/none.pdf", "-piall", "{OUT}", "STAMPME", "{IMG}", "10", "10"},
                 "",
                 -3,
                 false,
                 std::string("File error!: ") + kNoInput},
        ModeCase{"piall_malformedKeyword_exitMinus4",
                 {"{IN}", "-piall", "{OUT}", "\xff", "{IMG}", "10", "10"},
                 "",
                 -4,
                 false,
                 ""},
        ModeCase{"piall_outputFolderMissing_exitMinus5",
                 {"{IN}", "-piall", "{DIR}/no/out.pdf", "STAMPME", "{IMG}", "10", "10"},
                 "",
                 -5,
                 false,
                 kCannotWrite},
        ModeCase{"piall_outputIsInput_exitMinus5",
                 {"{IN}", "-piall", "{IN}", "STAMPME", "{IMG}", "10", "10"},
                 "",
                 -5,
                 false,
                 kOutputIsInput}),
    [](const auto& info) { return testsupport::identifier(info.param.name); });

TEST_F(MarqelRun, piallNonNumericWidth_readAsZeroLikeAWidthOfZero) {
    auto stamp = [&](const std::string& width, const std::string& outName) {
        return marqel({"{IN}", "-piall", "{DIR}/" + outName, "STAMPME", "{IMG}", width, "40"});
    };
    const CommandResult zero = stamp("0", "zero.pdf");
    const CommandResult word = stamp("wide", "word.pdf");
    const CommandResult twenty = stamp("20", "twenty.pdf");
    EXPECT_EQ(signedExitCode(word.exitCode), signedExitCode(zero.exitCode));
    EXPECT_EQ(word.output, zero.output);
    EXPECT_GT(signedExitCode(twenty.exitCode), 0) << twenty.output;
    // The stamp's size shows in the resolution of the placed image.
    auto imageList = [&](const std::string& name) {
        const fs::path pdf = dir() / name;
        return fs::exists(pdf) ? runTool("pdfimages", {"-list", pdf.string()}).output
                               : std::string("absent");
    };
    EXPECT_EQ(imageList("word.pdf"), imageList("zero.pdf"));
    EXPECT_NE(imageList("word.pdf"), imageList("twenty.pdf"));
}

// ---- console lines ---------------------------------------------------------------------

TEST_F(MarqelRun, tesomeEchoesEachLineThenItsResult) {
    // Page 9 and page 0 do not exist: neither rule changes anything.
    writeFile(rules(), "9-10-20-30-40:none:x\r\n0-1-1-1-1:a:b:c");
    const CommandResult r = marqel({"{IN}", "-tesome", "{OUT}", "{RULES}"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.output,
              "9-10-20-30-40:none:x\n\nchange success? 0\n"
              "Rule result: not done: page 9 does not exist\n"
              "0-1-1-1-1:a:b:c\nchange success? 0\n"
              "Rule result: not done: page 0 does not exist\n");
}

TEST_F(MarqelRun, pisomePrintsTheParsedValuesPageCountAndInsertion) {
    writeFile(rules(),
              "1:150:300:(" + image().string() + "):0300:75\n7:1:2:(" + image().string() + "):3:4");
    const CommandResult r = marqel({"{IN}", "-pisome", "{OUT}", "{RULES}"});
    EXPECT_EQ(r.exitCode, 1);
    const std::string img = image().string();
    EXPECT_EQ(r.output, "1:150:300:(" + img +
                            "):0300:75\n\n"
                            "x pos is :150.000000\ny pos is :300.000000\njpeg is :" +
                            img +
                            "\n"
                            "width is :300.000000\nheight is :75.000000\n"
                            "Page count is:3\n"
                            "Start insert image\n"
                            "Rule result: image placed\n"
                            "7:1:2:(" +
                            img +
                            "):3:4\n"
                            "x pos is :1.000000\ny pos is :2.000000\njpeg is :" +
                            img +
                            "\n"
                            "width is :3.000000\nheight is :4.000000\n"
                            "Page count is:3\n"
                            "Rule result: not done: page 7 does not exist\n");
}

TEST_F(MarqelRun, piallPrintsReplacedCountWithLiteralBackslashN) {
    const CommandResult r = marqel({"{IN}", "-piall", "{OUT}", "STAMPME", "{IMG}", "20", "10"});
    const int hits = signedExitCode(r.exitCode);
    EXPECT_EQ(hits, 3) << "one stamp per page, at most";
    EXPECT_NE(r.output.find("Replaced " + std::to_string(hits) + " keywords\\n"), std::string::npos)
        << r.output;
}

}  // namespace

namespace {

TEST_F(MarqelRun, replacementOf500Bytes_isOneRuleNotSeveral) {
    const std::string replacement(500, 'R');
    writeFile(rules(), "9-10-20-30-40:find:" + replacement + "\r\n");
    const CommandResult r = marqel({"{IN}", "-tesome", "{OUT}", "{RULES}"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.output,
              "9-10-20-30-40:find:" + replacement +
                  "\n\nchange success? 0\nRule result: not done: page 9 does not exist\n");
}

TEST_F(MarqelRun, imagePathOf300Bytes_isUsed) {
    // A deep folder: the whole path is well over 99 bytes.
    fs::path folder = dir().path();
    while (folder.string().size() < 300) folder /= "nested_folder_level";
    fs::create_directories(folder);
    const fs::path deepImage = folder / "red.bmp";
    writeSolidBmp(deepImage, 8, 8, 255, 0, 0);
    ASSERT_GT(deepImage.string().size(), 290u);
    writeFile(rules(), "2:150:150:(" + deepImage.string() + "):75:75\r\n");
    const CommandResult r = marqel({"{IN}", "-pisome", "{OUT}", "{RULES}"});
    ASSERT_EQ(r.exitCode, 1) << r.output;
    EXPECT_NE(r.output.find("jpeg is :" + deepImage.string() + "\n"), std::string::npos);
    EXPECT_NE(r.output.find("Start insert image"), std::string::npos);
    const std::string images = runTool("pdfimages", {"-list", output().string()}).output;
    // Header, rule, then one row: the image on page 2.
    std::istringstream lines(images);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 3u) << images;
    int page = 0;
    std::istringstream(rows[2]) >> page;
    EXPECT_EQ(page, 2);
}

}  // namespace
