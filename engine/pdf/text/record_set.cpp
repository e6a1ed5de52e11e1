#include "pdf/text/record_set.h"

#include <algorithm>

namespace relettra::pdf {

void RecordSet::insert(std::size_t record) {
    if (contains(record)) return;
    if (member_.size() <= record) member_.resize(std::max(record + 1, 2 * member_.size()));
    member_[record] = true;
    auto at = std::lower_bound(order_.begin(), order_.end(), record);
    if (at != order_.end() && *at == record) {
        --left_;  // it left and comes back
        return;
    }
    order_.insert(at, record);  // at the end but for records that come in late
}

void RecordSet::erase(std::size_t record) {
    if (!contains(record)) return;
    member_[record] = false;
    // The list is tidied once those that left outnumber the members.
    if (++left_ > order_.size() / 2) {
        order_.erase(std::remove_if(order_.begin(), order_.end(),
                                    [&](std::size_t r) { return !member_[r]; }),
                     order_.end());
        left_ = 0;
    }
}

}  // namespace relettra::pdf
