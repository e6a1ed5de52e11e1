#include "cli/command_line.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "base/leading_number.h"
#include "marqel/exit_codes.h"
#include "marqel/marqel.h"
#include "runners/image_file.h"
#include "runners/image_rules_runner.h"
#include "runners/text_rules_runner.h"

namespace {

const char kModeKeyword[] = "-piall";
const char kModeImages[] = "-pisome";
const char kModeText[] = "-tesome";

int stampByKeyword(const char* const* argv) {
    std::optional<std::string> image = LoadImageFile(argv[5]);
    if (!image) {
        return marqel::kKeywordImageUnusable;
    }
    const double width = ReadLeadingInt(argv[6]);
    const double height = ReadLeadingInt(argv[7]);
    const int result = MarqelByKeyword(argv[1], argv[3], argv[4], image->data(),
                                       static_cast<int>(image->size()), width, height, "");
    std::printf("Replaced %d keywords\\n", result);
    return result;
}

}  // namespace

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
    if (mode == kModeKeyword) {
        return stampByKeyword(argv);
    }
    if (mode == kModeImages) {
        return InsertImagesByRules(argv[1], argv[3], argv[4]);
    }
    if (mode == kModeText) {
        return ReplaceTextByRules(argv[1], argv[3], argv[4]);
    }
    return UnknownModeResult(argv[2]);
}
