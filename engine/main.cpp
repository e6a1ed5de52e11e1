#include <cstdio>

#include "marqel/marqel.h"

int main(int argc, char** argv) {
    const int code = MarqelMain(argc, argv);
    std::fflush(stdout);
    return code;
}
