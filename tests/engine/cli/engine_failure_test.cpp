// Failures no mode foresees: an exception that escapes a mode, and memory that runs out while a
// rule file is read. Neither may look like a success ("-tesome" and "-pisome" succeed with 1).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "marqel/exit_codes.h"
#include "marqel/marqel.h"
#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

TEST(EngineFailure, exceptionEscapingAMode_givesTheEngineFailureCodeAndNoOutput) {
    TempDir dir;
    writeFile(dir / "rules.txt", "");
    const std::string input = (kitDir() / "multipage.pdf").string();
    const std::string output = (dir / "out.pdf").string();
    const std::string rules = (dir / "rules.txt").string();
    // A null mode word makes the command line's string construction throw.
    const char* argv[] = {"marqel", input.c_str(), nullptr, output.c_str(), rules.c_str()};
    ::testing::internal::CaptureStderr();
    const int code = MarqelMain(5, argv);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, marqel::kEngineFailure);
    EXPECT_NE(printed.find("Fatal error!: The engine stopped: "), std::string::npos) << printed;
    EXPECT_FALSE(fs::exists(output));
}

TEST(EngineFailure, ruleLineBeyondTheMemoryLimit_isAnUnreadableRuleFileAndNoOutput) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer ends the program itself when memory runs out";
#endif
    TempDir dir;
    // One line of 128 MiB: reading it needs more than the 256 MiB the engine is given here.
    writeFile(dir / "rules.txt", "1-0-0-0-0:a:" + std::string(std::size_t{1} << 27, 'x') + "\n");
    const LimitedResult r = runLimited(marqelPath(),
                                       {(kitDir() / "multipage.pdf").string(), "-tesome",
                                        (dir / "out.pdf").string(), (dir / "rules.txt").string()},
                                       {60, std::size_t{256} << 20});
    EXPECT_EQ(signedExitCode(r.exitCode), marqel::kTextRuleFileUnreadable) << r.output.size();
    EXPECT_NE(r.errors.find("Cannot read the rule file"), std::string::npos) << r.errors;
    EXPECT_FALSE(fs::exists(dir / "out.pdf"));
}

}  // namespace
