// Document-information reporter:
//   Dossaly.dll <input.pdf> -getinfo -outfile <file>
// writes a UTF-8 text file whose first line is "NumberOfPages: N", followed by the title,
// author, producer, PDF version, encryption and the size of page 1. When the input cannot be
// read it writes no file, prints one line on standard error and exits with 1; a wrong command
// line exits with 2.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "document_info.h"

namespace fs = std::filesystem;

namespace {

int run(int argc, char** argv) {
    if (argc != 5 || std::string(argv[2]) != "-getinfo" || std::string(argv[3]) != "-outfile") {
        std::fprintf(stderr, "usage: %s <input.pdf> -getinfo -outfile <file>\n",
                     argc > 0 ? argv[0] : "Dossaly");
        return 2;
    }
    std::string reason;
    std::optional<DocumentInfo> info = ReadDocumentInfo(argv[1], reason);
    if (!info) {
        std::fprintf(stderr, "%s: %s\n", argv[1], reason.c_str());
        return 1;
    }
    // Written beside the target and renamed, so a reader never sees half a file.
    const std::string report = FormatDocumentInfo(*info);
    const fs::path target = fs::u8path(argv[4]);
    fs::path partial = target;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << report;
        out.close();
        if (!out) {
            std::error_code ec;
            fs::remove(partial, ec);
            std::fprintf(stderr, "%s: cannot write %s\n", argv[1], argv[4]);
            return 1;
        }
    }
    std::error_code ec;
    fs::rename(partial, target, ec);
    if (ec) {
        fs::remove(partial, ec);
        std::fprintf(stderr, "%s: cannot write %s\n", argv[1], argv[4]);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // No exception leaves: whatever escapes (out of memory, say) is one line and exit code 1,
    // and the report is written only whole, so nothing half-written remains.
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Dossaly: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "Dossaly: unexpected failure\n");
    }
    return 1;
}
