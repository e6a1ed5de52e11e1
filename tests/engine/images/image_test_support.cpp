#include "image_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#else
#include <sys/wait.h>
#endif

namespace relettra::pdf::test {

std::string imagePath(const std::string& name) {
    return std::string(TEST_IMAGES_DIR) + "/" + name;
}

std::string imageBytes(const std::string& name) {
    std::ifstream in(imagePath(name), std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing test image " << name;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string runCommand(const std::string& command, int& exitCode) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        exitCode = -1;
        return output;
    }
    std::array<char, 4096> chunk{};
    std::size_t count = 0;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) {
        output.append(chunk.data(), count);
    }
    const int status = pclose(pipe);
#ifdef _WIN32
    exitCode = status;
#else
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return output;
}

}  // namespace relettra::pdf::test
