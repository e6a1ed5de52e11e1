#pragma once

// A folder of this fuzzing process under the temporary folder, removed when the process ends:
// targets that run whole programs write their files there.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

class ScratchFolder {
  public:
    ScratchFolder()
        : root_(std::filesystem::temp_directory_path() /
                ("relettra-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(root_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }

  private:
    std::filesystem::path root_;
};
