#include "runners/image_file.h"

#include "base/file_bytes.h"
#include "runners/library_error_report.h"

std::optional<std::string> LoadImageFile(const std::string& path) {
    std::string whyNot;
    std::optional<std::string> bytes = LoadWholeFile(path, &whyNot, kMaxImageFileBytes);
    if (!bytes) {
        PrintMessage("Cannot read the image file %s: %s\n", path.c_str(), whyNot.c_str());
    }
    return bytes;
}
