// The functions the engine's shared library exports.
#include <cstdio>

#include "cli/command_line.h"
#include "marqel/marqel.h"
#include "runners/library_error_report.h"

extern "C" int MarqelMain(int argc, const char* const* argv) {
    // An escaping exception gets a failure code of its own: 1 is the success of two modes.
    const int code = RunGuarded([&] { return RunMarqel(argc, argv); });
    std::fflush(stdout);
    return code;
}
