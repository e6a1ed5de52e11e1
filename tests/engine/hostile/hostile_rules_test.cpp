// Rule files of absurd sizes, and files that are no regular files (a device that never ends, a
// named pipe nobody writes to, a folder) given as input, rule file or image.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "hostile_files.h"
#include "hostile_run.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using hostile::Outcome;
using hostile::Program;

// ---- rule files of absurd sizes --------------------------------------------------------

struct RuleFileCase {
    const char* name;
    Program program;
    std::string (*rules)(const hostile::Workspace&);
    Outcome outcome;
};

const RuleFileCase kRuleFileCases[] = {
    // Every line is read, echoed and answered ("page 2 does not exist").
    {"hundredThousandTextRulesOnAMissingPage", Program::Tesome,
     [](const hostile::Workspace&) { return hostile::textRulesOfLines(100000, 2); }, Outcome::Done},
    // Each rule changes the page (the first in its font, the others clear their areas and write
    // there), and each later one reads what the earlier ones wrote.
    {"hundredThousandTextRulesChangingThePage", Program::Tesome,
     [](const hostile::Workspace&) { return hostile::textRulesOfLines(100000); }, Outcome::Done},
    {"hundredThousandImageRules", Program::Pisome,
     [](const hostile::Workspace& space) {
         return hostile::imageRulesOfLines(100000, space.image.string());
     },
     Outcome::Done},
    {"tenMegabyteFindText", Program::Tesome,
     [](const hostile::Workspace&) { return "1-150-100-400-50:" + std::string(10 << 20, 'H'); },
     Outcome::Done},
    {"tenMegabyteReplacement", Program::Tesome,
     [](const hostile::Workspace&) {
         return "1-150-100-400-50:Hello:" + std::string(10 << 20, 'w');
     },
     Outcome::Done},
    {"tenMegabyteImagePath", Program::Pisome,
     [](const hostile::Workspace&) {
         return "1:100:100:(" + std::string(10 << 20, 'p') + "):50:50";
     },
     Outcome::Refused},
};

class HostileRuleFile : public ::testing::TestWithParam<RuleFileCase> {};

TEST_P(HostileRuleFile, endsInTimeWithinMemory) {
    const RuleFileCase& c = GetParam();
    const hostile::Workspace space(hostile::plainPdf());
    testsupport::writeFile(c.program == Program::Tesome ? space.textRules : space.imageRules,
                           c.rules(space));
    hostile::expectPromisesKept(c.program, space, space.run(c.program), c.outcome);
}

INSTANTIATE_TEST_SUITE_P(Sizes, HostileRuleFile, ::testing::ValuesIn(kRuleFileCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- files that are no regular files ---------------------------------------------------

enum class Role { Input, RuleFile, Image };

struct NotAFileCase {
    const char* name;
    Role role;
    Program program;
    int exitCode;  // the mode's failure code for that file
};

const NotAFileCase kNotAFileCases[] = {
    {"inputTesome", Role::Input, Program::Tesome, 0},
    {"inputPisome", Role::Input, Program::Pisome, -3},
    {"inputPiall", Role::Input, Program::Piall, -3},
    {"inputDossaly", Role::Input, Program::Dossaly, 1},
    {"inputHevrit", Role::Input, Program::Hevrit, 1},
    {"ruleFileTesome", Role::RuleFile, Program::Tesome, 3},
    {"ruleFilePisome", Role::RuleFile, Program::Pisome, -4},
    {"imagePisome", Role::Image, Program::Pisome, -2},
    {"imagePiall", Role::Image, Program::Piall, -2},
};

enum class Kind { EndlessDevice, NamedPipe, Folder };

std::string kindName(Kind kind) {
    return kind == Kind::EndlessDevice ? "endlessDevice"
           : kind == Kind::NamedPipe   ? "namedPipe"
                                       : "folder";
}

class NotARegularFile : public ::testing::TestWithParam<std::tuple<NotAFileCase, Kind>> {};

TEST_P(NotARegularFile, isRefusedAtOnceWithTheModesFailureCode) {
    const auto& [c, kind] = GetParam();
    const hostile::Workspace space(hostile::plainPdf());
    fs::path target = space.outDir.parent_path() / "special";
    if (kind == Kind::EndlessDevice) {
        target = testsupport::endlessDevice();
    } else if (kind == Kind::NamedPipe) {
        if (!testsupport::makeFifo(target)) GTEST_SKIP() << "no named pipes here";
    } else {
        fs::create_directory(target);
    }
    // The workspace's file of that role is replaced by a link to the special file: the
    // programs see its path through the link, as a user's shortcut would give it.
    const fs::path& file = c.role == Role::Input ? space.input
                           : c.role == Role::RuleFile
                               ? (c.program == Program::Tesome ? space.textRules : space.imageRules)
                               : space.image;
    fs::remove(file);
    fs::create_symlink(target, file);
    const testsupport::LimitedResult result = space.run(c.program);
    ASSERT_FALSE(result.timedOut) << "still reading after " << result.seconds << " s";
    const int code = c.program == Program::Dossaly || c.program == Program::Hevrit
                         ? result.exitCode
                         : testsupport::signedExitCode(result.exitCode);
    EXPECT_EQ(code, c.exitCode) << result.output << result.errors;
    EXPECT_LT(result.seconds, 5);
    EXPECT_FALSE((result.output + result.errors).empty());
    EXPECT_TRUE(fs::is_empty(space.outDir));
}

INSTANTIATE_TEST_SUITE_P(Files, NotARegularFile,
                         ::testing::Combine(::testing::ValuesIn(kNotAFileCases),
                                            ::testing::Values(Kind::EndlessDevice, Kind::NamedPipe,
                                                              Kind::Folder)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    kindName(std::get<1>(info.param));
                         });

}  // namespace
