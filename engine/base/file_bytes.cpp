#include "base/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

std::string regularFileProblem(const std::string& path) {
    if (path.empty()) {
        return "no file name";
    }
    std::error_code ec;
    const fs::file_status status = fs::status(fs::u8path(path), ec);
    switch (status.type()) {
        case fs::file_type::regular:
            return {};
        case fs::file_type::not_found:
            return "no such file";
        case fs::file_type::directory:
            return "is a folder";
        case fs::file_type::none:
        case fs::file_type::unknown:
            return "cannot be examined" + (ec ? ": " + ec.message() : std::string());
        default:
            return "is not a regular file (a device, pipe or socket)";
    }
}

std::optional<std::string> LoadWholeFile(const std::string& path, std::string* whyNot,
                                         std::uintmax_t maxBytes) {
    auto fail = [whyNot](std::string reason) -> std::optional<std::string> {
        if (whyNot != nullptr) {
            *whyNot = std::move(reason);
        }
        return std::nullopt;
    };
    std::string problem = regularFileProblem(path);
    if (!problem.empty()) {
        return fail(std::move(problem));
    }
    const fs::path file = fs::u8path(path);
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        return fail("cannot be read: " + ec.message());
    }
    if (size > maxBytes) {
        return fail("is too large (" + std::to_string(size) + " bytes, at most " +
                    std::to_string(maxBytes) + ")");
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return fail("cannot be opened");
    }
    // The size is only a hint: the file may change while it is read. Reading stops at its end
    // or one byte past the limit, whichever comes first.
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        return fail("cannot be read");
    }
    if (in) {
        char more[4096];
        while (in.read(more, sizeof more) || in.gcount() > 0) {
            bytes.append(more, static_cast<std::size_t>(in.gcount()));
            if (bytes.size() > maxBytes) {
                return fail("is too large (more than " + std::to_string(maxBytes) + " bytes)");
            }
        }
        if (in.bad()) {
            return fail("cannot be read");
        }
    }
    return bytes;
}
