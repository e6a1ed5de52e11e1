#include "file_output.h"

#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

// Written in place rather than through a renamed temporary file: the front end reads the pages
// after the run, and creating and renaming a second file per page cost a tenth of a text-only
// run.
bool writeWholeFile(const fs::path& target, const std::string& content) {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) {
        removeIfPresent(target);
        return false;
    }
    return true;
}

void removeIfPresent(const fs::path& file) {
    std::error_code ignored;
    fs::remove(file, ignored);
}
