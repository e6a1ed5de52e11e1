#pragma once

#include <optional>
#include <string>
#include <vector>

// What a run was asked to do:
//   Hevrit.dll <input.pdf> -ht <dir/base.png> [-f N] [-l N] [-textonly]
struct HevritOptions {
    std::string input;
    std::string imageArgument;  // the -ht value: "<dir/base.png>"
    std::optional<int> firstPage;
    std::optional<int> lastPage;
    bool textOnly = false;  // text layers only, no page images
};

// The options, or nullopt when the command line is wrong: the input first, then -ht with its
// value, each option at most once, page numbers whole numbers from 1, -f not after -l.
std::optional<HevritOptions> parseCommandLine(const std::vector<std::string>& arguments);

// The usage text printed for a wrong command line.
std::string usageText(const std::string& programName);
