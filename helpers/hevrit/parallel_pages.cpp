#include "parallel_pages.h"

#include <poppler-document.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

void forEachPage(const PdfSource& source, std::unique_ptr<poppler::document> firstDocument,
                 const PageRange& range, unsigned threads,
                 const std::function<void(poppler::document&, int)>& work) {
    if (range.empty() || !firstDocument) {
        return;
    }
    std::atomic<int> next{range.first};
    auto drain = [&](poppler::document& document) {
        for (int page = next++; page <= range.last; page = next++) {
            work(document, page);
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back([&] {
                // A thread whose document does not open leaves its pages to the others; nothing
                // may leave a thread (an escaping exception would end the program).
                try {
                    std::string ignored;
                    std::unique_ptr<poppler::document> document = source.open(ignored);
                    if (document) drain(*document);
                } catch (...) {
                }
            });
        } catch (const std::system_error&) {
            // No more threads to be had: the pages go to those already running.
            break;
        }
    }
    drain(*firstDocument);
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

unsigned threadsFor(int pages) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return pages < 1 ? 1u : std::min(cores, static_cast<unsigned>(pages));
}
