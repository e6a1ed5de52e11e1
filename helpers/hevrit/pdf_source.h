#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace poppler {
class document;
}

// One PDF file read into memory once; every thread opens its own document over these bytes.
class PdfSource {
  public:
    // Reads the file; nullptr with a one-line reason when it cannot be read.
    static std::unique_ptr<PdfSource> read(const std::filesystem::path& file, std::string& reason);

    // A new document over the shared bytes; nullptr with a reason when it is no readable PDF
    // or needs a password.
    std::unique_ptr<poppler::document> open(std::string& reason) const;

  private:
    std::vector<char> bytes_;
};

// Keeps the PDF library's own warnings off standard error: a run reports one line per failure.
void silencePdfLibraryMessages();
