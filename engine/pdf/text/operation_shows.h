#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "pdf/content/content_scope.h"

namespace relettra::pdf {

// The shows of each text-showing operation of a page's contents: one for most, more for the
// operations of a form the page draws more than once. Kept per content in a list by operation
// index, so that taking in a page costs no allocation per show.
class OperationShows {
  public:
    void add(const ContentScope* scope, std::uint32_t operation, std::size_t show);
    // Calls f(show) for each show of the operation.
    template <typename F>
    void forEach(const ContentScope* scope, std::uint32_t operation, F f) const {
        auto listed = first_.find(scope);
        if (listed == first_.end() || operation >= listed->second.size() ||
            listed->second[operation] == 0) {
            return;
        }
        f(listed->second[operation] - 1);
        auto [from, to] = more_.equal_range({scope, operation});
        for (auto it = from; it != to; ++it) f(it->second);
    }
    bool shownOnce(const ContentScope* scope, std::uint32_t operation) const;
    // Forgets every operation of the content.
    void forget(const ContentScope* scope);

  private:
    // Per content, by operation: its first show plus one (0 for none).
    std::unordered_map<const ContentScope*, std::vector<std::size_t>> first_;
    std::multimap<std::pair<const ContentScope*, std::uint32_t>, std::size_t> more_;
};

}  // namespace relettra::pdf
