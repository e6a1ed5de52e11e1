#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The engine's one way to read a whole file (inputs, rule files, images). Only regular files
// are read: a device (/dev/zero), a pipe or a socket would be read for ever, and a folder reads
// as nothing on some systems.

// Why `path` cannot be read as a regular file: "no such file", "is a folder", "is not a
// regular file (a device, pipe or socket)"; empty when it is a regular file.
std::string regularFileProblem(const std::string& path);

// The whole content of a regular file, read in binary mode; an empty file gives an empty
// buffer. Nullopt when the file is not a regular file, is larger than `maxBytes` or cannot be
// read; then `whyNot` (when given) says why in a few words.
std::optional<std::string> LoadWholeFile(const std::string& path, std::string* whyNot = nullptr,
                                         std::uintmax_t maxBytes = UINTMAX_MAX);
