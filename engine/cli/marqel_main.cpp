// The functions the engine's shared library exports.
#include "cli/command_line.h"
#include "marqel/marqel.h"

extern "C" int MarqelMain(int argc, const char* const* argv) {
    try {
        return RunMarqel(argc, argv);
    } catch (...) {
        return 1;
    }
}
