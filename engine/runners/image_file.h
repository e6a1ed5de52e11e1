#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Image files larger than this are refused before they are read: no image the engine can
// decode within its memory limit comes near it.
constexpr std::uintmax_t kMaxImageFileBytes = std::uintmax_t{256} << 20;

// The bytes of an image file named by a rule or by "-piall"; nullopt, with a line saying why
// ("Cannot read the image file <path>: <reason>"), when it is not a regular file, is too
// large or cannot be read.
std::optional<std::string> LoadImageFile(const std::string& path);
