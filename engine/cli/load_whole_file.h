#pragma once

#include <optional>
#include <string>

// The whole content of a file read in binary mode; nullopt only when it cannot be opened or
// read. An empty file gives an empty buffer.
std::optional<std::string> LoadWholeFile(const std::string& path);
