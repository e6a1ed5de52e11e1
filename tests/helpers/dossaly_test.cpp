// The Dossaly information helper: the report as the front end reads it (first line
// "NumberOfPages: N"), checked against `pdfinfo`, and its failures.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "document_info.h"
#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

fs::path dossalyPath() {
    return runDir() / "Dossaly.dll";
}

CommandResult dossaly(const fs::path& input, const fs::path& infoFile) {
    return run(dossalyPath(), {input.string(), "-getinfo", "-outfile", infoFile.string()});
}

// The value of "Key: value" in a report or in pdfinfo's output, "" when absent.
std::string valueOf(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(key + ":", 0) == 0) {
            std::string value = line.substr(key.size() + 1);
            value.erase(0, value.find_first_not_of(' '));
            return value;
        }
    }
    return "";
}

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct InfoCase {
    const char* file;
    int pages;
    const char* pageSize;
    const char* encrypted;
};

std::ostream& operator<<(std::ostream& out, const InfoCase& c) {
    return out << c.file;
}

class DossalyReport : public ::testing::TestWithParam<InfoCase> {};

TEST_P(DossalyReport, pageCountFirstThenDetailsMatchingPdfinfo) {
    const InfoCase& c = GetParam();
    TempDir dir;
    const fs::path input = kitDir() / c.file;
    const CommandResult r = dossaly(input, dir / "fileinfo.txt");
    ASSERT_EQ(r.exitCode, 0) << r.errors;
    const std::string report = readFile(dir / "fileinfo.txt");
    EXPECT_EQ(report.rfind("NumberOfPages: " + std::to_string(c.pages) + "\n", 0), 0u) << report;
    EXPECT_EQ(valueOf(report, "PageSize"), c.pageSize);
    EXPECT_EQ(valueOf(report, "Encrypted"), c.encrypted);

    const std::string info = runTool("pdfinfo", {input.string()}).output;
    EXPECT_EQ(valueOf(report, "NumberOfPages"), valueOf(info, "Pages"));
    EXPECT_EQ(valueOf(report, "PDFVersion"), valueOf(info, "PDF version"));
    for (const char* key : {"Title", "Author", "Producer"}) {
        EXPECT_EQ(valueOf(report, key), valueOf(info, key)) << key;
    }
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"fileinfo.txt"});
}

INSTANTIATE_TEST_SUITE_P(
    Kit, DossalyReport,
    ::testing::Values(InfoCase{"std14_helvetica.pdf", 1, "612 x 792 pt", "no"},
                      InfoCase{"multipage.pdf", 3, "612 x 792 pt", "no"},
                      InfoCase{"rich_structure.pdf", 3, "612 x 792 pt", "no"},
                      InfoCase{"rotate90.pdf", 1, "792 x 612 pt", "no"},
                      InfoCase{"offset_mediabox.pdf", 2, "612 x 792 pt", "no"},
                      InfoCase{"cairo_text.pdf", 1, "612 x 792 pt", "no"},
                      InfoCase{"encrypted_owner_only.pdf", 3, "612 x 792 pt", "yes"},
                      // Reading the page count needs no permission to change the document.
                      InfoCase{"encrypted_no_modify.pdf", 3, "612 x 792 pt", "yes"}),
    [](const auto& info) { return testsupport::identifier(info.param.file); });

TEST(DossalyReport, existingInfoFileIsReplacedWhole) {
    TempDir dir;
    writeFile(dir / "fileinfo.txt", std::string(5000, 'x') + "\nNumberOfPages: 99\n");
    ASSERT_EQ(dossaly(kitDir() / "std14_helvetica.pdf", dir / "fileinfo.txt").exitCode, 0);
    const std::string report = readFile(dir / "fileinfo.txt");
    EXPECT_EQ(report.rfind("NumberOfPages: 1\n", 0), 0u);
    EXPECT_EQ(report.find("99"), std::string::npos);
}

TEST(DossalyReport, titleAndAuthorOfRichStructure) {
    TempDir dir;
    ASSERT_EQ(dossaly(kitDir() / "rich_structure.pdf", dir / "info.txt").exitCode, 0);
    const std::string report = readFile(dir / "info.txt");
    EXPECT_EQ(valueOf(report, "Title"), "Kit Structure Sample");
    EXPECT_EQ(valueOf(report, "Author"), "Kit Author");
}

TEST(DossalyReport, damagedXrefIsRecovered_pageCountStillReported) {
    TempDir dir;
    std::string pdf = readFile(kitDir() / "multipage.pdf");
    const size_t at = pdf.rfind("startxref");
    ASSERT_NE(at, std::string::npos);
    const size_t digits = pdf.find_first_of("0123456789", at);
    pdf.replace(digits, pdf.find_first_not_of("0123456789", digits) - digits, "17");
    writeFile(dir / "damaged.pdf", pdf);
    const CommandResult r = dossaly(dir / "damaged.pdf", dir / "fileinfo.txt");
    ASSERT_EQ(r.exitCode, 0) << r.errors;
    EXPECT_EQ(readFile(dir / "fileinfo.txt").rfind("NumberOfPages: 3\n", 0), 0u);
}

// ---- failures --------------------------------------------------------------------------

TEST(DossalyFailure, unreadableInputs_noFileOneLineOnStderrNonZeroExit) {
    TempDir dir;
    writeFile(dir / "text.pdf", "Not a PDF at all.\n");
    writeFile(dir / "empty.pdf", "");
    const fs::path inputs[] = {dir / "missing.pdf", dir / "text.pdf", dir / "empty.pdf",
                               kitDir() / "encrypted_user_password.pdf", dir.path()};
    for (const fs::path& input : inputs) {
        const CommandResult r = dossaly(input, dir / "fileinfo.txt");
        EXPECT_NE(r.exitCode, 0) << input;
        EXPECT_FALSE(fs::exists(dir / "fileinfo.txt")) << input;
        EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 1)
            << input << ": " << r.errors;
        EXPECT_EQ(r.output, "") << input;
    }
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"empty.pdf", "text.pdf"}));
}

TEST(DossalyFailure, infoFileInMissingFolder_nonZeroExitAndNothingWritten) {
    TempDir dir;
    const CommandResult r = dossaly(kitDir() / "multipage.pdf", dir / "no" / "fileinfo.txt");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_FALSE(r.errors.empty());
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(DossalyFailure, wrongCommandLines_exit2AndNothingWritten) {
    TempDir dir;
    const std::string in = (kitDir() / "multipage.pdf").string();
    const std::string out = (dir / "fileinfo.txt").string();
    const std::vector<std::vector<std::string>> commandLines = {
        {},
        {in},
        {in, "-getinfo", "-outfile"},
        {in, "-getinfo -outfile", out},
        {in, "-getInfo", "-outfile", out},
        {in, "-outfile", "-getinfo", out},
        {in, "-getinfo", "-outfile", out, "extra"},
    };
    for (const auto& args : commandLines) {
        const CommandResult r = run(dossalyPath(), args);
        EXPECT_EQ(r.exitCode, 2) << args.size() << " arguments";
        EXPECT_FALSE(r.errors.empty());
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// ---- the report's text -----------------------------------------------------------------

TEST(FormatDocumentInfo, pageCountFirstEmptyItemsLeftOutSizeRounded) {
    DocumentInfo info;
    info.pageCount = 12;
    info.title = "Annual report";
    info.pdfVersion = "1.7";
    info.encrypted = true;
    info.firstPageWidth = 595.2756;
    info.firstPageHeight = 841.8898;
    EXPECT_EQ(FormatDocumentInfo(info),
              "NumberOfPages: 12\n"
              "Title: Annual report\n"
              "PDFVersion: 1.7\n"
              "Encrypted: yes\n"
              "PageSize: 595.28 x 841.89 pt\n");
}

TEST(FormatDocumentInfo, noPageSizeLineWithoutAFirstPage) {
    DocumentInfo info;
    EXPECT_EQ(FormatDocumentInfo(info), "NumberOfPages: 0\nEncrypted: no\n");
}

TEST(ReadDocumentInfo, failureGivesAReason) {
    TempDir dir;
    writeFile(dir / "bad.pdf", "%PDF-1.4\ngarbage\n");
    std::string reason;
    EXPECT_FALSE(ReadDocumentInfo((dir / "bad.pdf").string(), reason).has_value());
    EXPECT_FALSE(reason.empty());
    std::string missingReason;
    EXPECT_FALSE(ReadDocumentInfo((dir / "none.pdf").string(), missingReason).has_value());
    EXPECT_FALSE(missingReason.empty());
}

TEST(ReadDocumentInfo, pageCountAndTurnedPageSize) {
    std::string reason;
    const auto info = ReadDocumentInfo((kitDir() / "rotate270.pdf").string(), reason);
    ASSERT_TRUE(info.has_value()) << reason;
    EXPECT_EQ(info->pageCount, 1);
    EXPECT_DOUBLE_EQ(info->firstPageWidth, 792);
    EXPECT_DOUBLE_EQ(info->firstPageHeight, 612);
    EXPECT_FALSE(info->encrypted);
}

}  // namespace
