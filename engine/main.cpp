#include <cstdio>

#include "cli/command_line.h"

int main(int argc, char** argv) {
    const int code = RunMarqel(argc, argv);
    std::fflush(stdout);
    return code;
}
