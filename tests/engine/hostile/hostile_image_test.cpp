// Images whose headers lie about their size, and an empty image, in the two image modes. An
// image rule that cannot draw its image is reported and the run goes on ("-pisome"); "-piall"
// writes nothing when its one image cannot be drawn.

#include <gtest/gtest.h>

#include <string>

#include "hostile_files.h"
#include "hostile_run.h"
#include "test_support.h"

namespace {

using hostile::Outcome;
using hostile::Program;

struct ImageCase {
    const char* name;
    std::string (*make)();
};

const ImageCase kImageCases[] = {
    {"pngClaiming65535Square", hostile::pngClaiming65535Square},
    {"gifScreenClaiming65535Square", [] { return hostile::gifClaiming(65535, 1); }},
    {"gifScreenClaiming10000Square", [] { return hostile::gifClaiming(10000, 1); }},
    {"gifFrameClaiming7000Square", [] { return hostile::gifClaiming(7000, 7000); }},
    {"bmpClaiming30000Square", hostile::bmpClaimingLargeSize},
    {"emptyImage", [] { return std::string(); }},
};

class HostileImage : public ::testing::TestWithParam<std::tuple<ImageCase, Program>> {};

TEST_P(HostileImage, imageModesEndInTimeAndReportTheImage) {
    const auto& [image, program] = GetParam();
    const hostile::Workspace space(hostile::plainPdf());
    testsupport::writeFile(space.image, image.make());
    const testsupport::LimitedResult result = space.run(program);
    hostile::expectPromisesKept(program, space, result,
                                program == Program::Piall ? Outcome::Refused : Outcome::Done);
    if (program == Program::Pisome) {
        EXPECT_NE(result.output.find("Rule result: not done: the image cannot be drawn"),
                  std::string::npos)
            << result.output;
    }
}

INSTANTIATE_TEST_SUITE_P(Images, HostileImage,
                         ::testing::Combine(::testing::ValuesIn(kImageCases),
                                            ::testing::Values(Program::Pisome, Program::Piall)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    hostile::programName(std::get<1>(info.param));
                         });

}  // namespace
