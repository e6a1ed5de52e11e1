#include "hostile_run.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <vector>

namespace hostile {

namespace fs = std::filesystem;
using testsupport::LimitedResult;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr double kTimeScale = 4;  // the sanitizers' own cost, not the program's
#else
constexpr double kTimeScale = 1;
#endif
constexpr double kSeconds = 10;
constexpr std::size_t kMemoryBytes = std::size_t{2} << 30;

bool isFailureCode(Program program, int code) {
    switch (program) {
        case Program::Tesome:
            return code == 0 || code == 2 || code == 3 || code == -6;
        case Program::Pisome:
        case Program::Piall:
            return code <= -1 && code >= -6;
        case Program::Dossaly:
        case Program::Hevrit:
            return code == 1;
    }
    return false;
}

bool isSuccessCode(Program program, int code) {
    switch (program) {
        case Program::Tesome:
        case Program::Pisome:
            return code == 1;
        case Program::Piall:
            return code >= 0;
        case Program::Dossaly:
            return code == 0;
        case Program::Hevrit:
            return code == 0 || code == 3;  // 3: some pages failed, the others written
    }
    return false;
}

// The names a finished run may leave in the output folder.
bool isOutputName(Program program, const std::string& name) {
    switch (program) {
        case Program::Tesome:
        case Program::Pisome:
        case Program::Piall:
            return name == "out.pdf";
        case Program::Dossaly:
            return name == "info.txt";
        case Program::Hevrit:
            return std::regex_match(name, std::regex(R"(page_pg_\d{4}\.(png|htm))"));
    }
    return false;
}

std::vector<std::string> folderNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// The output is complete: a PDF that qpdf reads without errors, a report with its first line.
void expectCompleteOutput(Program program, const fs::path& outDir) {
    if (program == Program::Dossaly) {
        EXPECT_EQ(testsupport::readFile(outDir / "info.txt").rfind("NumberOfPages: ", 0), 0u);
    } else if (program != Program::Hevrit) {
        const auto check = testsupport::runTool("qpdf", {"--check", (outDir / "out.pdf").string()});
        EXPECT_TRUE(check.exitCode == 0 || check.exitCode == 3) << check.output << check.errors;
    }
}

}  // namespace

const char* programName(Program program) {
    switch (program) {
        case Program::Tesome:
            return "tesome";
        case Program::Pisome:
            return "pisome";
        case Program::Piall:
            return "piall";
        case Program::Dossaly:
            return "Dossaly";
        case Program::Hevrit:
            return "Hevrit";
    }
    return "";
}

Workspace::Workspace(const std::string& inputBytes) : inputBytes_(inputBytes) {
    input = dir_ / "input.pdf";
    textRules = dir_ / "rules.txt";
    imageRules = dir_ / "imagerule.txt";
    image = dir_ / "stamp.bmp";
    outDir = dir_ / "out";
    fs::create_directory(outDir);
    testsupport::writeFile(input, inputBytes);
    testsupport::writeSolidBmp(image, 8, 8, 255, 0, 0);
    testsupport::writeFile(textRules, "1-150-100-400-50:Hello:Howdy\r\n");
    testsupport::writeFile(imageRules, "1:100:100:(" + image.string() + "):50:50\r\n");
}

LimitedResult Workspace::run(Program program) const {
    const fs::path output = outDir / "out.pdf";
    std::vector<std::string> args;
    fs::path executable = testsupport::marqelPath();
    switch (program) {
        case Program::Tesome:
            args = {input.string(), "-tesome", output.string(), textRules.string()};
            break;
        case Program::Pisome:
            args = {input.string(), "-pisome", output.string(), imageRules.string()};
            break;
        case Program::Piall:
            args = {input.string(), "-piall", output.string(), "STAMPME", image.string(),
                    "40",           "20"};
            break;
        case Program::Dossaly:
            executable = testsupport::runDir() / "Dossaly.dll";
            args = {input.string(), "-getinfo", "-outfile", (outDir / "info.txt").string()};
            break;
        case Program::Hevrit:
            executable = testsupport::runDir() / "Hevrit.dll";
            args = {input.string(), "-ht", (outDir / "page.png").string(), "-l", "3"};
            break;
    }
    return testsupport::runLimited(executable, args, {kSeconds * kTimeScale, kMemoryBytes});
}

void expectPromisesKept(Program program, const Workspace& space, const LimitedResult& result,
                        Outcome outcome) {
    const std::string console = result.output + result.errors;
    const std::string tail =
        console.size() > 2000 ? console.substr(console.size() - 2000) : console;
    ASSERT_FALSE(result.timedOut) << "still running after " << result.seconds << " s\n" << tail;
    ASSERT_EQ(result.signal, 0) << "ended by signal " << result.signal << "\n" << tail;
    EXPECT_LT(result.peakMemoryBytes, kMemoryBytes);
    EXPECT_EQ(testsupport::readFile(space.input), space.inputBytes()) << "the input was changed";

    const int code = program == Program::Dossaly || program == Program::Hevrit
                         ? result.exitCode
                         : testsupport::signedExitCode(result.exitCode);
    const bool success = isSuccessCode(program, code);
    ASSERT_TRUE(success || isFailureCode(program, code)) << "exit code " << code << "\n" << tail;
    if (outcome != Outcome::Either) {
        EXPECT_EQ(success, outcome == Outcome::Done) << "exit code " << code << "\n" << tail;
    }

    const std::vector<std::string> names = folderNames(space.outDir);
    for (const std::string& name : names) {
        EXPECT_TRUE(isOutputName(program, name)) << "left behind: " << name;
    }
    if (!success) {
        EXPECT_FALSE(console.empty()) << "a failure without a message";
        EXPECT_TRUE(names.empty()) << "a failed run wrote " << names.front();
    } else if (!names.empty()) {
        expectCompleteOutput(program, space.outDir);
    } else {
        // Only "-piall" with the keyword nowhere, and Hevrit with every page failed, write nothing.
        EXPECT_TRUE((program == Program::Piall && code == 0) ||
                    (program == Program::Hevrit && code == 3))
            << "success without an output, exit code " << code;
    }
}

}  // namespace hostile
