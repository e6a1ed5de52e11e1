#include "pdf/images/png_predictor.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace relettra::pdf {

namespace {

enum Filter : unsigned char { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };

unsigned char paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) {
        return static_cast<unsigned char>(left);
    }
    return static_cast<unsigned char>(toUp <= toUpLeft ? up : upLeft);
}

}  // namespace

std::string applyPngPredictor(const std::string& samples, std::size_t rowBytes,
                              std::size_t bytesPerPixel) {
    if (rowBytes == 0) {
        return {};
    }
    const std::size_t rows = samples.size() / rowBytes;
    const std::vector<unsigned char> zeroRow(rowBytes, 0);
    std::array<std::vector<unsigned char>, 5> candidates;
    for (auto& candidate : candidates) {
        candidate.resize(rowBytes);
    }
    std::string out;
    out.reserve(rows * (rowBytes + 1));
    for (std::size_t y = 0; y < rows; ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(samples.data()) + y * rowBytes;
        const unsigned char* above =
            y == 0 ? zeroRow.data()
                   : reinterpret_cast<const unsigned char*>(samples.data()) + (y - 1) * rowBytes;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int left = i >= bytesPerPixel ? row[i - bytesPerPixel] : 0;
            const int up = above[i];
            const int upLeft = i >= bytesPerPixel ? above[i - bytesPerPixel] : 0;
            candidates[kNone][i] = row[i];
            candidates[kSub][i] = static_cast<unsigned char>(row[i] - left);
            candidates[kUp][i] = static_cast<unsigned char>(row[i] - up);
            candidates[kAverage][i] = static_cast<unsigned char>(row[i] - (left + up) / 2);
            candidates[kPaeth][i] = static_cast<unsigned char>(row[i] - paeth(left, up, upLeft));
        }
        std::size_t best = kNone;
        unsigned long long bestCost = ~0ull;
        for (std::size_t f = 0; f < candidates.size(); ++f) {
            unsigned long long cost = 0;
            for (unsigned char value : candidates[f]) {
                cost += static_cast<unsigned long long>(std::abs(static_cast<signed char>(value)));
            }
            if (cost < bestCost) {
                bestCost = cost;
                best = f;
            }
        }
        out += static_cast<char>(best);
        out.append(reinterpret_cast<const char*>(candidates[best].data()), rowBytes);
    }
    return out;
}

}  // namespace relettra::pdf
