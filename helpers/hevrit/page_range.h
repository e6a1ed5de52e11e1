#pragma once

#include <optional>

// The pages a run writes, 1-based and inclusive; empty when first > last.
struct PageRange {
    int first = 1;
    int last = 0;
    bool empty() const { return first > last; }
    int count() const { return empty() ? 0 : last - first + 1; }
};

// The requested pages that a document of `pageCount` pages has: without `first` from page 1,
// without `last` to the end; a `last` beyond the document ends at its last page. A `first`
// beyond the document gives an empty range: no other page is ever written in its place.
PageRange resolvePageRange(std::optional<int> first, std::optional<int> last, int pageCount);
