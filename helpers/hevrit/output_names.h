#pragma once

#include <filesystem>
#include <string>

// The files of one page: "<base>_pg_NNNN.png" and "<base>_pg_NNNN.htm".
struct PageFiles {
    std::filesystem::path image;
    std::filesystem::path textLayer;
};

// The base of the output names: the -ht argument without its ".png" ending (any letter case).
std::filesystem::path outputBase(const std::string& imageArgument);

// The files of the page numbered `number` (1-based within the requested range; "%04d").
PageFiles pageFiles(const std::filesystem::path& base, int number);
