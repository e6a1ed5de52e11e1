#pragma once

#include <optional>

// The pages a run writes, 1-based and inclusive; empty when first > last.
struct PageRange {
    int first = 1;
    int last = 0;
    bool empty() const { return first > last; }
    int count() const { return empty() ? 0 : last - first + 1; }
};

// The requested pages clamped to a document of `pageCount` pages: without `first` from page 1,
// without `last` to the end.
PageRange resolvePageRange(std::optional<int> first, std::optional<int> last, int pageCount);
