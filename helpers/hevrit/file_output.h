#pragma once

#include <filesystem>
#include <string>

// Writes `content` to `target`, replacing what was there. False when that fails, and then no
// partial file is left.
bool writeWholeFile(const std::filesystem::path& target, const std::string& content);

// Removes `file` if it is there; errors are ignored.
void removeIfPresent(const std::filesystem::path& file);
