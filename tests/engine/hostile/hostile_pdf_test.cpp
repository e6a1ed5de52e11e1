// Hostile PDF files in every program that reads PDFs: the three modes of the engine, Dossaly and
// Hevrit. Each ends within the time and memory limits with a complete output or a failure code,
// a message and nothing written; the input stays as it was.

#include <gtest/gtest.h>

#include <string>

#include "hostile_files.h"
#include "hostile_run.h"
#include "test_support.h"

namespace {

using hostile::Outcome;
using hostile::Program;

struct PdfCase {
    const char* name;
    std::string (*make)();
    Outcome outcome;  // for every program
};

const PdfCase kPdfCases[] = {
    {"truncatedInTheMiddle", hostile::truncatedInTheMiddle, Outcome::Either},
    {"truncatedAfterTheHeader", hostile::truncatedAfterTheHeader, Outcome::Refused},
    {"brokenCrossReference", hostile::brokenCrossReference, Outcome::Either},
    {"crossReferenceChainLoop", hostile::crossReferenceChainLoop, Outcome::Either},
    {"cyclicPageTree", hostile::cyclicPageTree, Outcome::Either},
    {"cyclicParentResources", hostile::cyclicParentResources, Outcome::Either},
    {"cyclicForms", hostile::cyclicForms, Outcome::Done},
    {"formDrawingItself", hostile::formDrawingItself, Outcome::Done},
    {"formDrawingItselfEightTimes", hostile::formDrawingItselfEightTimes, Outcome::Done},
    {"formDrawingItselfSixTimesInPlace", hostile::formDrawingItselfSixTimesInPlace, Outcome::Done},
    {"unclosedString", hostile::unclosedString, Outcome::Done},
    {"unclosedArray", hostile::unclosedArray, Outcome::Done},
    {"millionOperators", hostile::millionOperators, Outcome::Done},
    {"deeplyNestedArrays", hostile::deeplyNestedArrays, Outcome::Done},
    {"hugePage", hostile::hugePage, Outcome::Either},
    {"widthsShorterThanCodes", hostile::widthsShorterThanCodes, Outcome::Done},
    {"cmapWithBadRanges", hostile::cmapWithBadRanges, Outcome::Done},
    {"formFieldParentLoop", hostile::formFieldParentLoop, Outcome::Done},
};

// Files that only the text rules read in a way of their own: a form field's value, which a rule
// on it lays out. (The page helper's renderer lays out a field without an appearance itself
// and takes longer than the limits on this one.)
const PdfCase kTextRuleCases[] = {
    {"formFieldHugeValue", hostile::formFieldHugeValue, Outcome::Done},
};

class HostilePdf : public ::testing::TestWithParam<std::tuple<PdfCase, Program>> {};

TEST_P(HostilePdf, endsInTimeWithACompleteOutputOrAFailureCode) {
    const auto& [pdf, program] = GetParam();
    const hostile::Workspace space(pdf.make());
    const testsupport::LimitedResult result = space.run(program);
    hostile::expectPromisesKept(program, space, result, pdf.outcome);
}

INSTANTIATE_TEST_SUITE_P(Files, HostilePdf,
                         ::testing::Combine(::testing::ValuesIn(kPdfCases),
                                            ::testing::Values(Program::Tesome, Program::Pisome,
                                                              Program::Piall, Program::Dossaly,
                                                              Program::Hevrit)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    hostile::programName(std::get<1>(info.param));
                         });

INSTANTIATE_TEST_SUITE_P(TextRuleFiles, HostilePdf,
                         ::testing::Combine(::testing::ValuesIn(kTextRuleCases),
                                            ::testing::Values(Program::Tesome)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    hostile::programName(std::get<1>(info.param));
                         });

}  // namespace
