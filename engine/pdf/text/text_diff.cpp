#include "pdf/text/text_diff.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace relettra::pdf {

namespace {

// Beyond this many word pairs the texts are compared as one stretch.
constexpr std::size_t kMaxTokenPairs = 1u << 22;

struct Range {
    std::size_t begin;
    std::size_t end;
};

// Words (runs of anything but the space) and single spaces.
std::vector<Range> tokens(const std::string& text) {
    std::vector<Range> out;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t j = i + 1;
        if (text[i] != ' ') {
            while (j < text.size() && text[j] != ' ') ++j;
        }
        out.push_back({i, j});
        i = j;
    }
    return out;
}

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// old[ob, oe) becomes new[nb, ne), without what both share at their start and end.
void addHunk(const std::string& oldText, std::size_t ob, std::size_t oe, const std::string& newText,
             std::size_t nb, std::size_t ne, std::vector<TextHunk>& out) {
    std::size_t prefix = 0;
    while (ob + prefix < oe && nb + prefix < ne && oldText[ob + prefix] == newText[nb + prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < oe - ob - prefix && suffix < ne - nb - prefix &&
           oldText[oe - 1 - suffix] == newText[ne - 1 - suffix]) {
        ++suffix;
    }
    // Whole characters only: both texts share these bytes, so moving back is safe in both.
    while (prefix > 0 && ob + prefix < oldText.size() && isContinuation(oldText[ob + prefix])) {
        --prefix;
    }
    while (suffix > 0 && isContinuation(oldText[oe - suffix])) --suffix;
    if (ob + prefix == oe - suffix && nb + prefix == ne - suffix) return;
    out.push_back(
        {ob + prefix, oe - suffix, newText.substr(nb + prefix, ne - suffix - nb - prefix)});
}

}  // namespace

std::vector<TextHunk> diffByWords(const std::string& oldText, const std::string& newText) {
    std::vector<TextHunk> hunks;
    if (oldText == newText) return hunks;
    const std::vector<Range> a = tokens(oldText);
    const std::vector<Range> b = tokens(newText);
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    if ((n + 1) * (m + 1) > kMaxTokenPairs) {
        addHunk(oldText, 0, oldText.size(), newText, 0, newText.size(), hunks);
        return hunks;
    }
    auto same = [&](std::size_t i, std::size_t j) {
        return std::string_view(oldText).substr(a[i].begin, a[i].end - a[i].begin) ==
               std::string_view(newText).substr(b[j].begin, b[j].end - b[j].begin);
    };
    // common[i][j]: the longest common token sequence of a[i..] and b[j..].
    std::vector<std::uint32_t> common((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
        return common[i * (m + 1) + j];
    };
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            at(i, j) = same(i, j) ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
        }
    }
    std::size_t i = 0;
    std::size_t j = 0;
    std::size_t hunkI = 0;
    std::size_t hunkJ = 0;
    auto oldOffset = [&](std::size_t k) { return k < n ? a[k].begin : oldText.size(); };
    auto newOffset = [&](std::size_t k) { return k < m ? b[k].begin : newText.size(); };
    auto flush = [&]() {
        if (hunkI < i || hunkJ < j) {
            addHunk(oldText, oldOffset(hunkI), oldOffset(i), newText, newOffset(hunkJ),
                    newOffset(j), hunks);
        }
    };
    while (i < n || j < m) {
        if (i < n && j < m && same(i, j) && at(i, j) == at(i + 1, j + 1) + 1) {
            flush();
            ++i;
            ++j;
            hunkI = i;
            hunkJ = j;
        } else if (j == m || (i < n && at(i + 1, j) >= at(i, j + 1))) {
            ++i;
        } else {
            ++j;
        }
    }
    flush();
    return hunks;
}

}  // namespace relettra::pdf
