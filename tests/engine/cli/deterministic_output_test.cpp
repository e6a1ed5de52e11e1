// The same input and rules give the same output bytes, whatever the output's folder and name
// and however often the run is repeated; an encrypted output gets an /ID of its own each time.

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <qpdf/QPDF.hh>
#include <string>
#include <thread>
#include <vector>

#include "marqel/marqel.h"
#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// Writes one output into `output`; returns the engine's result.
using Run = std::function<int(const TempDir& work, const fs::path& output)>;

Run commandLine(const std::string& input, const std::string& mode,
                std::vector<std::string> (*rest)(const TempDir&)) {
    return [=](const TempDir& work, const fs::path& output) {
        std::vector<std::string> args{(kitDir() / input).string(), mode, output.string()};
        for (std::string& arg : rest(work)) args.push_back(std::move(arg));
        return signedExitCode(run(marqelPath(), args).exitCode);
    };
}

std::vector<std::string> ruleFile(const TempDir& work, const std::string& content) {
    writeFile(work / "rules.txt", content);
    return {(work / "rules.txt").string()};
}

int byKeyword(const fs::path& output, const char* password) {
    const std::string image = readFile(imagesDir() / "png_rgb.png");
    return MarqelByKeyword((kitDir() / "multipage.pdf").c_str(), output.c_str(), "STAMPME",
                           image.data(), static_cast<int>(image.size()), 48, 36, password);
}

// "12345" on line 2 of std14_helvetica.pdf (points 157, 84, 34 x 12) in 150-dpi pixels.
const char kNumberArea[] = "1-328-175-71-25";

struct DeterminismCase {
    const char* name;
    Run run;
    int expected;
};

std::vector<DeterminismCase> determinismCases() {
    return {
        {"emptyRuleFile_tesome",
         commandLine("libreoffice_letter.pdf", "-tesome",
                     [](const TempDir& w) { return ruleFile(w, ""); }),
         1},
        {"emptyRuleFile_pisome",
         commandLine("pdflatex_article.pdf", "-pisome",
                     [](const TempDir& w) { return ruleFile(w, ""); }),
         1},
        {"textInItsOwnFont_tesome",
         commandLine("std14_helvetica.pdf", "-tesome",
                     [](const TempDir& w) {
                         return ruleFile(w, std::string(kNumberArea) + ":12345:54321\r\n");
                     }),
         1},
        {"textInTheFallbackFont_tesome",
         commandLine("std14_helvetica.pdf", "-tesome",
                     [](const TempDir& w) {
                         return ruleFile(
                             w, std::string(kNumberArea) + ":12345:\xD0\xBC\xD0\xB8\xD1\x80\r\n");
                     }),
         1},
        {"decodedAndPassedImages_pisome",
         commandLine("multipage.pdf", "-pisome",
                     [](const TempDir& w) {
                         return ruleFile(
                             w, "1:100:100:(" + (imagesDir() / "png_rgba.png").string() +
                                    "):200:0\r\n2:10:10:(" +
                                    (imagesDir() / "jpeg_rgb.jpg").string() +
                                    "):0:0\r\n1:300:300:(" +
                                    (imagesDir() / "png_rgba.png").string() + "):50:50\r\n");
                     }),
         1},
        {"keywordStamps_piall",
         [](const TempDir&, const fs::path& output) {
             const std::vector<std::string> args{(kitDir() / "multipage.pdf").string(),
                                                 "-piall",
                                                 output.string(),
                                                 "STAMPME",
                                                 (imagesDir() / "gif_plain.gif").string(),
                                                 "40",
                                                 "30"};
             return signedExitCode(run(marqelPath(), args).exitCode);
         },
         3},
        {"exportedFunctionWithoutPassword",
         [](const TempDir&, const fs::path& output) { return byKeyword(output, ""); }, 3},
    };
}

// Returns once the clock has reached a new second: a file ID made from the time differs then.
void waitForTheNextSecond() {
    const std::time_t start = std::time(nullptr);
    while (std::time(nullptr) == start) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

TEST(DeterministicOutput, sameInputAndRules_sameBytesInAnyFolderUnderAnyNameAtAnyTime) {
    const std::vector<DeterminismCase> cases = determinismCases();
    std::vector<std::unique_ptr<TempDir>> first;
    for (const DeterminismCase& c : cases) {
        first.push_back(std::make_unique<TempDir>());
        ASSERT_EQ(c.run(*first.back(), *first.back() / "out.pdf"), c.expected) << c.name;
    }
    waitForTheNextSecond();
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        TempDir second;
        ASSERT_EQ(cases[i].run(second, second / "another name.pdf"), cases[i].expected);
        const std::string bytes = readFile(*first[i] / "out.pdf");
        ASSERT_FALSE(bytes.empty());
        EXPECT_TRUE(bytes == readFile(second / "another name.pdf")) << "the outputs differ";
        EXPECT_TRUE(qpdfCheckPasses(*first[i] / "out.pdf"));
    }
}

// The trailer's /ID of a PDF: both elements, as hexadecimal text.
std::vector<std::string> fileId(const fs::path& pdf) {
    QPDF q;
    q.processFile(pdf.string().c_str());
    std::vector<std::string> id;
    for (QPDFObjectHandle element : q.getTrailer().getKey("/ID").getArrayAsVector()) {
        id.push_back(element.unparse());
    }
    return id;
}

TEST(DeterministicOutput, encryptedOutputs_firstIdKeptSecondFreshEachRun) {
    const struct {
        const char* name;
        std::function<int(const fs::path&)> run;
        int expected;
        fs::path input;
    } cases[] = {
        {"encryption of the input kept",
         [](const fs::path& output) {
             TempDir work;
             writeFile(work / "rules.txt", "");
             return signedExitCode(
                 run(marqelPath(), {(kitDir() / "encrypted_owner_only.pdf").string(), "-tesome",
                                    output.string(), (work / "rules.txt").string()})
                     .exitCode);
         },
         1, kitDir() / "encrypted_owner_only.pdf"},
        {"owner password of the exported function",
         [](const fs::path& output) { return byKeyword(output, "ownerSecret"); }, 3,
         kitDir() / "multipage.pdf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ASSERT_EQ(c.run(dir / "one.pdf"), c.expected);
        ASSERT_EQ(c.run(dir / "two.pdf"), c.expected);
        const std::vector<std::string> one = fileId(dir / "one.pdf");
        const std::vector<std::string> two = fileId(dir / "two.pdf");
        ASSERT_EQ(one.size(), 2u);
        ASSERT_EQ(two.size(), 2u);
        EXPECT_EQ(one[0], fileId(c.input).at(0)) << "the document's permanent identifier";
        EXPECT_EQ(two[0], one[0]);
        EXPECT_NE(two[1], one[1]) << "two encrypted outputs share an /ID";
        EXPECT_TRUE(qpdfCheckPasses(dir / "one.pdf"));
    }
}

}  // namespace
