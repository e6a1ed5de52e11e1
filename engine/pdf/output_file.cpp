#include "pdf/output_file.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <random>
#include <system_error>

namespace relettra::pdf {

namespace fs = std::filesystem;

std::string randomHex128() {
    static const char kDigits[] = "0123456789abcdef";
    std::random_device random;
    std::string hex;
    for (int word = 0; word < 4; ++word) {
        std::uint32_t bits = random();
        for (int digit = 0; digit < 8; ++digit, bits >>= 4) {
            hex.push_back(kDigits[bits & 0xF]);
        }
    }
    return hex;
}

OutputFile::OutputFile(fs::path output) : output_(std::move(output)) {}

OutputFile::~OutputFile() {
    if (stream_ != nullptr) {
        std::fclose(stream_);
    }
    if (!committed_ && !temporary_.empty()) {
        std::error_code ec;
        fs::remove(temporary_, ec);
    }
}

bool OutputFile::open(std::string& error) {
    // Output files of a megabyte and more are common: a large buffer spares most write calls.
    constexpr size_t kBufferBytes = 1u << 20;
    const fs::path folder = output_.parent_path();
    const std::string name = "." + output_.filename().u8string() + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = folder / fs::u8path(name + randomHex128().substr(0, 6) + ".part");
        // "x": the file is made anew, never one that another run has just made.
        stream_ = std::fopen(candidate.c_str(), "wbx");
        if (stream_ != nullptr) {
            temporary_ = std::move(candidate);
            std::setvbuf(stream_, nullptr, _IOFBF, kBufferBytes);
            return true;
        }
        if (errno != EEXIST) {
            error = std::strerror(errno);
            return false;
        }
    }
    error = "no free temporary file name";
    return false;
}

bool OutputFile::write(const char* data, size_t size) {
    return stream_ != nullptr && std::fwrite(data, 1, size, stream_) == size;
}

bool OutputFile::close(std::string& error) {
    if (stream_ == nullptr) {
        error = "the file is not open";
        return false;
    }
    const bool failed = std::ferror(stream_) != 0;
    const bool closed = std::fclose(stream_) == 0;
    const int closeError = errno;
    stream_ = nullptr;
    if (failed || !closed) {
        error = failed ? "write error" : std::strerror(closeError);
        return false;
    }
    return true;
}

bool OutputFile::commit(std::string& error) {
    std::error_code ec;
    fs::rename(temporary_, output_, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    committed_ = true;
    return true;
}

}  // namespace relettra::pdf
