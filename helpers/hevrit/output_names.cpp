#include "output_names.h"

#include <cctype>
#include <cstdio>

namespace fs = std::filesystem;

fs::path outputBase(const std::string& imageArgument) {
    static const std::string ending = ".png";
    std::string base = imageArgument;
    if (base.size() > ending.size()) {
        bool matches = true;
        for (size_t i = 0; i < ending.size(); ++i) {
            const char c = base[base.size() - ending.size() + i];
            matches = matches && std::tolower(static_cast<unsigned char>(c)) == ending[i];
        }
        if (matches) {
            base.resize(base.size() - ending.size());
        }
    }
    return fs::u8path(base);
}

PageFiles pageFiles(const fs::path& base, int number) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "_pg_%04d", number);
    fs::path stem = base;
    stem += suffix;
    PageFiles files{stem, stem};
    files.image += ".png";
    files.textLayer += ".htm";
    return files;
}
