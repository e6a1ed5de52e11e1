#include "pdf_source.h"

#include <poppler-document.h>
#include <poppler-global.h>

#include <climits>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

std::unique_ptr<PdfSource> PdfSource::read(const fs::path& file, std::string& reason) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        reason = fs::exists(file, error) ? "not a file" : "no such file";
        return nullptr;
    }
    std::ifstream in(file, std::ios::binary);
    const auto size = fs::file_size(file, error);
    if (!in || error) {
        reason = "cannot be read";
        return nullptr;
    }
    if (size > static_cast<std::uintmax_t>(INT_MAX)) {
        reason = "too large (2 GB at most)";
        return nullptr;
    }
    auto source = std::make_unique<PdfSource>();
    source->bytes_.resize(static_cast<size_t>(size));
    in.read(source->bytes_.data(), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) {
        reason = "cannot be read";
        return nullptr;
    }
    return source;
}

std::unique_ptr<poppler::document> PdfSource::open(std::string& reason) const {
    std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(bytes_.data(), static_cast<int>(bytes_.size())));
    if (!document) {
        reason = "not a readable PDF file";
        return nullptr;
    }
    if (document->is_locked()) {
        reason = "needs a password";
        return nullptr;
    }
    return document;
}

void silencePdfLibraryMessages() {
    poppler::set_debug_error_function([](const std::string&, void*) {}, nullptr);
}
