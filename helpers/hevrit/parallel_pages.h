#pragma once

#include <functional>
#include <memory>

#include "page_range.h"
#include "pdf_source.h"

namespace poppler {
class document;
}

// Runs `work(document, pageNumber)` once for every page of `range` on up to `threads` threads.
// Each thread works on its own document opened from `source` (the first thread on
// `firstDocument`); pages are handed out in order by a shared counter. `work` must not throw.
void forEachPage(const PdfSource& source, std::unique_ptr<poppler::document> firstDocument,
                 const PageRange& range, unsigned threads,
                 const std::function<void(poppler::document&, int)>& work);

// The threads worth starting for `pages` pages on this machine: one per core, at least one.
unsigned threadsFor(int pages);
