#pragma once

// Runs the engine and the helpers on hostile inputs under the suite's limits, and checks the
// promises every run keeps: it ends by itself within the time limit without a crash, stays
// below the memory limit, leaves its input byte for byte as it was, and either succeeds with a
// complete output or fails with a failure code, a message and nothing written.

#include <filesystem>
#include <string>

#include "test_support.h"

namespace hostile {

enum class Program { Tesome, Pisome, Piall, Dossaly, Hevrit };
const char* programName(Program program);

// How a run is expected to end.
enum class Outcome { Done, Refused, Either };

// A folder with the files of one run: the input, a text rule file, an image rule file, the
// image, and the output folder `out/`.
class Workspace {
  public:
    // The default rule files and image: a rule on "Hello", an 8×8 BMP placed at 100/100.
    explicit Workspace(const std::string& inputBytes);
    std::filesystem::path input, textRules, imageRules, image, outDir;

    // Runs `program` with the workspace's files under the suite's limits.
    testsupport::LimitedResult run(Program program) const;
    // The input's bytes as the workspace was made.
    const std::string& inputBytes() const { return inputBytes_; }

  private:
    testsupport::TempDir dir_;
    std::string inputBytes_;
};

// Checks the promises of a finished run; `outcome` narrows how it may end.
void expectPromisesKept(Program program, const Workspace& space,
                        const testsupport::LimitedResult& result, Outcome outcome);

}  // namespace hostile
