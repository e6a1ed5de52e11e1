#include "page_range.h"

#include <algorithm>

PageRange resolvePageRange(std::optional<int> first, std::optional<int> last, int pageCount) {
    if (pageCount < 1) {
        return PageRange{1, 0};
    }
    PageRange range;
    range.first = std::max(first.value_or(1), 1);
    range.last = std::clamp(last.value_or(pageCount), 1, pageCount);
    return range;
}
