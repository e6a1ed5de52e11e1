// The page helper:
//   Hevrit.dll <input.pdf> -ht <dir/base.png> [-f N] [-l N] [-textonly]
// renders each page of the range at 150 dpi to dir/base_pg_NNNN.png and writes its words with
// their rule boxes to dir/base_pg_NNNN.htm (NNNN counts within the range from 0001). Exit codes:
// 0 every page written, 1 input unreadable (nothing written), 2 wrong command line, 3 some
// pages failed (one line each on standard error; the others are written).
#include <poppler-document.h>
#include <poppler-page.h>

#include <atomic>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "command_line.h"
#include "memory_reuse.h"
#include "output_names.h"
#include "page_range.h"
#include "page_writer.h"
#include "parallel_pages.h"
#include "pdf_source.h"
#include "system_fonts.h"

namespace {

constexpr int kAllWritten = 0;
constexpr int kUnreadableInput = 1;
constexpr int kWrongCommandLine = 2;
constexpr int kSomePagesFailed = 3;

std::mutex errorLineMutex;

void printErrorLine(const std::string& line) {
    std::lock_guard<std::mutex> lock(errorLineMutex);
    std::fputs((line + "\n").c_str(), stderr);
    std::fflush(stderr);
}

// Called from the page threads, where nothing may throw.
void printPageFailure(const std::string& input, int pageNumber,
                      const std::string& failure) noexcept {
    try {
        printErrorLine(input + ": page " + std::to_string(pageNumber) + " skipped: " + failure);
    } catch (...) {
        std::fputs("Hevrit: a page failed\n", stderr);
    }
}

int run(const HevritOptions& options) {
    silencePdfLibraryMessages();
    keepFreedMemoryForReuse();
    std::string reason;
    std::unique_ptr<PdfSource> source =
        PdfSource::read(std::filesystem::u8path(options.input), reason);
    std::unique_ptr<poppler::document> document = source ? source->open(reason) : nullptr;
    if (!document || document->pages() < 1) {
        printErrorLine(options.input + ": " + (document ? "has no pages" : reason));
        return kUnreadableInput;
    }
    const PageRange range =
        resolvePageRange(options.firstPage, options.lastPage, document->pages());
    if (range.empty()) {
        printErrorLine(options.input + ": page " + std::to_string(range.first) +
                       " does not exist (the document has " + std::to_string(document->pages()) +
                       " pages)");
        return kSomePagesFailed;
    }
    const std::filesystem::path base = outputBase(options.imageArgument);
    std::atomic<bool> anyFailed{false};
    forEachPage(*source, std::move(document), range, threadsFor(range.count()),
                [&](poppler::document& doc, int pageNumber) {
                    std::string failure = "cannot be read";
                    bool written = false;
                    try {
                        const PageFiles files = pageFiles(base, pageNumber - range.first + 1);
                        std::unique_ptr<poppler::page> page(doc.create_page(pageNumber - 1));
                        written = page && writePage(*page, files, options.textOnly, failure);
                    } catch (const std::exception& e) {
                        failure = e.what();
                    } catch (...) {
                        failure = "unexpected failure";
                    }
                    if (!written) {
                        anyFailed = true;
                        printPageFailure(options.input, pageNumber, failure);
                    }
                });
    return anyFailed ? kSomePagesFailed : kAllWritten;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string programName = argc > 0 && argv[0] ? argv[0] : "Hevrit.dll";
    try {
        const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
        const std::optional<HevritOptions> options = parseCommandLine(arguments);
        if (!options) {
            std::fputs(usageText(programName).c_str(), stderr);
            return kWrongCommandLine;
        }
        if (options->textOnly) {
            useNoSystemFonts();
        }
        return run(*options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", programName.c_str(), e.what());
    } catch (...) {
        std::fprintf(stderr, "%s: unexpected failure\n", programName.c_str());
    }
    return kUnreadableInput;
}
