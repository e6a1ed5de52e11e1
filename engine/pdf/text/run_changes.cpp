#include "pdf/text/run_changes.h"

#include <algorithm>

namespace relettra::pdf {

std::vector<std::vector<TextHunk>> shareChanges(
    const std::vector<TextHunk>& hunks, const std::vector<std::size_t>& partLengths,
    const std::function<double(const TextHunk&, std::size_t, std::size_t)>& shiftOf) {
    const std::size_t parts = partLengths.size();
    std::vector<std::vector<TextHunk>> shares(parts);
    if (parts == 0) return shares;
    std::vector<std::size_t> offsets(parts, 0);
    for (std::size_t j = 1; j < parts; ++j) offsets[j] = offsets[j - 1] + partLengths[j - 1];
    for (const TextHunk& hunk : hunks) {
        // A text added where one part ends and the next begins goes on the end of the first (a
        // letter added to a word stays with it, before the move to the next part), unless it
        // ends in a space: then it is a word put before the next part's text.
        const bool insertion = hunk.oldBegin == hunk.oldEnd && !hunk.replacement.empty() &&
                               hunk.replacement.back() != ' ';
        std::size_t first = 0;
        while (first + 1 < parts &&
               (insertion ? hunk.oldBegin > offsets[first] + partLengths[first]
                          : hunk.oldBegin >= offsets[first] + partLengths[first])) {
            ++first;
        }
        std::size_t last = first;
        while (last + 1 < parts && offsets[last + 1] < hunk.oldEnd) ++last;
        for (std::size_t j = first; j <= last; ++j) {
            const std::size_t begin = std::max(hunk.oldBegin, offsets[j]) - offsets[j];
            const std::size_t end =
                std::max(begin, std::min(hunk.oldEnd, offsets[j] + partLengths[j]) - offsets[j]);
            if (j == first) {
                shares[j].push_back(hunk);
                shares[j].back().oldBegin = begin;
                shares[j].back().oldEnd = end;
            } else if (begin < end) {
                const double shift = j == last && shiftOf ? shiftOf(hunk, first, last) : 0.0;
                shares[j].push_back(TextHunk{begin, end, std::string(), true, shift});
            }
        }
    }
    return shares;
}

}  // namespace relettra::pdf
