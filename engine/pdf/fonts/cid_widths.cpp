#include "pdf/fonts/cid_widths.h"

#include <algorithm>

#include "pdf/fonts/pdf_object_access.h"

namespace relettra::pdf {

CidWidths::CidWidths(QPDFObjectHandle cidFont) {
    defaultWidth_ = numberOf(dictEntry(cidFont, "/DW"), 1000);
    auto w = dictEntry(cidFont, "/W");
    if (!w.isArray()) return;
    const int count = w.getArrayNItems();
    int i = 0;
    while (i + 1 < count) {
        auto first = w.getArrayItem(i);
        if (!first.isNumber()) {
            ++i;
            continue;
        }
        const std::uint32_t firstCid = unsignedOf(first);
        auto next = w.getArrayItem(i + 1);
        if (next.isArray()) {
            // c [w1 w2 ...]
            const int n = next.getArrayNItems();
            for (int k = 0; k < n; ++k) {
                const std::uint32_t cid = firstCid + static_cast<std::uint32_t>(k);
                ranges_.push_back({cid, cid, numberOf(next.getArrayItem(k), defaultWidth_)});
            }
            i += 2;
        } else if (next.isNumber() && i + 2 < count) {
            // c_first c_last w
            const std::uint32_t lastCid = unsignedOf(next);
            if (lastCid >= firstCid)
                ranges_.push_back(
                    {firstCid, lastCid, numberOf(w.getArrayItem(i + 2), defaultWidth_)});
            i += 3;
        } else {
            break;
        }
    }
    std::stable_sort(ranges_.begin(), ranges_.end(),
                     [](const Range& a, const Range& b) { return a.first < b.first; });
}

double CidWidths::width(std::uint32_t cid) const {
    auto it = std::upper_bound(ranges_.begin(), ranges_.end(), cid,
                               [](std::uint32_t c, const Range& r) { return c < r.first; });
    // Ranges may overlap in sloppy files; a few steps back find any range that covers the CID.
    for (int steps = 0; it != ranges_.begin() && steps < 8; ++steps) {
        --it;
        if (cid <= it->last) return it->width;
    }
    return defaultWidth_;
}

}  // namespace relettra::pdf
