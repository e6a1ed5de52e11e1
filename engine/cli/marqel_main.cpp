// The functions the engine's shared library exports.
#include "marqel/marqel.h"

#include "cli/command_line.h"

extern "C" int MarqelMain(int argc, const char* const* argv) {
    try {
        return RunMarqel(argc, argv);
    } catch (...) {
        return 1;
    }
}
