#pragma once

#include <string>

namespace relettra::pdf::test {

// The bytes of a file in the test image folder; fails the current test when it is missing.
std::string imageBytes(const std::string& name);

std::string imagePath(const std::string& name);

// Runs a shell command and returns its standard output; `exitCode` gets its exit status.
std::string runCommand(const std::string& command, int& exitCode);

}  // namespace relettra::pdf::test
