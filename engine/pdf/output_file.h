#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace relettra::pdf {

// A new file beside the output (".<name>.<random>.part" in the output's folder), renamed to the
// output only when it is complete: a failed or stopped run leaves no partial output. Removed
// when it goes without having been committed.
class OutputFile {
  public:
    explicit OutputFile(std::filesystem::path output);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file; false (with the reason in `error`) when it cannot be made.
    bool open(std::string& error);
    // The open file, written with a large buffer. Owned by this object until close().
    std::FILE* stream() { return stream_; }
    // Writes `size` bytes; false when the file cannot take them.
    bool write(const char* data, size_t size);
    // Closes the file; false when writing it failed (the disk is full, say).
    bool close(std::string& error);
    // Renames the closed file to the output; false (with the reason) when that fails.
    bool commit(std::string& error);

  private:
    std::filesystem::path output_;
    std::filesystem::path temporary_;
    std::FILE* stream_ = nullptr;
    bool committed_ = false;
};

// 32 hexadecimal digits of the system's random source.
std::string randomHex128();

}  // namespace relettra::pdf
