// Hevrit's page writer on arbitrary PDF bytes, in-process: the document is read from memory as
// Hevrit reads its input, and its first page written (image and text layer) to a folder of
// this process under the temporary folder.
#include <poppler-document.h>
#include <poppler-page.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "output_names.h"
#include "page_writer.h"
#include "pdf_source.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

struct Folder {
    ScratchFolder scratch;
    fs::path root = scratch.root();
    Folder() { silencePdfLibraryMessages(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Folder folder;
    if (size > (1u << 24)) {
        return 0;
    }
    std::unique_ptr<poppler::document> document(poppler::document::load_from_raw_data(
        reinterpret_cast<const char*>(data), static_cast<int>(size)));
    if (!document || document->is_locked() || document->pages() < 1) {
        return 0;
    }
    std::unique_ptr<poppler::page> page(document->create_page(0));
    if (!page) {
        return 0;
    }
    std::string reason;
    const PageFiles files = pageFiles(folder.root / "page", 1);
    writePage(*page, files, false, reason);
    return 0;
}
