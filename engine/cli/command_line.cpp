#include "cli/command_line.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/load_whole_file.h"
#include "marqel/marqel.h"
#include "runners/image_rules_runner.h"
#include "runners/text_rules_runner.h"

namespace {

const char kModeKeyword[] = "-piall";
const char kModeImages[] = "-pisome";
const char kModeText[] = "-tesome";

}  // namespace

int ReadLeadingInt(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (std::isspace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    while (std::isdigit(*p)) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (*p - '0');
        }
        ++p;
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

int UnknownModeResult(const char* modeWord) {
    return std::strcmp(modeWord, kModeText) < 0 ? -1 : 1;
}

int RunMarqel(int argc, const char* const* argv) {
    if (argc <= 1) {
        return 0;
    }
    // With only the input path there is no mode word: the count is wrong for every mode.
    if (argc < 3) {
        return 1;
    }
    const std::string mode = argv[2];
    const int arguments = argc - 1;
    if (arguments != (mode == kModeKeyword ? 7 : 4)) {
        return 1;
    }
    const char* input = argv[1];
    const char* output = argv[3];
    if (mode == kModeKeyword) {
        std::optional<std::string> image = LoadWholeFile(argv[5]);
        if (!image) {
            return -2;
        }
        const double width = ReadLeadingInt(argv[6]);
        const double height = ReadLeadingInt(argv[7]);
        const int result = MarqelByKeyword(input, output, argv[4], image->data(),
                                           static_cast<int>(image->size()), width, height, "");
        std::printf("Replaced %d keywords\\n", result);
        return result;
    }
    if (mode == kModeImages) {
        return InsertImagesByRules(input, output, argv[4]);
    }
    if (mode == kModeText) {
        return ReplaceTextByRules(input, output, argv[4]);
    }
    return UnknownModeResult(argv[2]);
}
