#include "pdf/text/operation_shows.h"

namespace relettra::pdf {

void OperationShows::add(const ContentScope* scope, std::uint32_t operation, std::size_t show) {
    std::vector<std::size_t>& list = first_[scope];
    if (list.size() <= operation) {
        list.resize(std::max<std::size_t>(operation + 1, scope->content->operations().size()), 0);
    }
    if (list[operation] == 0) {
        list[operation] = show + 1;
    } else {
        more_.emplace(std::make_pair(scope, operation), show);
    }
}

bool OperationShows::shownOnce(const ContentScope* scope, std::uint32_t operation) const {
    std::size_t shows = 0;
    forEach(scope, operation, [&](std::size_t) { ++shows; });
    return shows == 1;
}

void OperationShows::forget(const ContentScope* scope) {
    first_.erase(scope);
    for (auto it = more_.lower_bound({scope, 0}); it != more_.end() && it->first.first == scope;) {
        it = more_.erase(it);
    }
}

}  // namespace relettra::pdf
