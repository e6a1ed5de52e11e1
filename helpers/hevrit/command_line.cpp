#include "command_line.h"

#include <cctype>

namespace {

// A page number: decimal digits only, at least 1, at most 9 digits.
std::optional<int> readPageNumber(const std::string& text) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value >= 1 ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

std::optional<HevritOptions> parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments[0].empty() || arguments[0][0] == '-') {
        return std::nullopt;
    }
    HevritOptions options;
    options.input = arguments[0];
    bool haveImage = false;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "-textonly" && !options.textOnly) {
            options.textOnly = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        if (word == "-ht" && !haveImage && !value.empty()) {
            options.imageArgument = value;
            haveImage = true;
        } else if (word == "-f" && !options.firstPage) {
            options.firstPage = readPageNumber(value);
            if (!options.firstPage) return std::nullopt;
        } else if (word == "-l" && !options.lastPage) {
            options.lastPage = readPageNumber(value);
            if (!options.lastPage) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!haveImage ||
        (options.firstPage && options.lastPage && *options.firstPage > *options.lastPage)) {
        return std::nullopt;
    }
    return options;
}

std::string usageText(const std::string& programName) {
    return "usage: " + programName +
           " <input.pdf> -ht <dir/base.png> [-f N] [-l N] [-textonly]\n"
           "  Renders pages -f N (default 1) to -l N (default the last page), clamped to the\n"
           "  document, at 150 dpi to dir/base_pg_NNNN.png and writes their words to\n"
           "  dir/base_pg_NNNN.htm; NNNN counts the pages of the range from 0001.\n"
           "  -textonly  writes the .htm text layers only, no images.\n"
           "  Exit codes: 0 all pages written, 1 input unreadable, 2 wrong command line,\n"
           "  3 some pages failed (the others are written).\n";
}
