#pragma once

#include <cstddef>
#include <string>

namespace relettra::pdf {

// Applies PNG row filters to raw samples before Flate compression, choosing for each row the
// filter (None, Sub, Up, Average or Paeth) whose output has the smallest sum of absolute
// values, as PNG encoders do. The result is what a Flate stream with /DecodeParms
// << /Predictor 15 ... >> expects: each row prefixed with its filter type byte.
// `rowBytes` is the length of one row, `bytesPerPixel` the distance to the corresponding byte
// of the pixel on the left (at least 1).
std::string applyPngPredictor(const std::string& samples, std::size_t rowBytes,
                              std::size_t bytesPerPixel);

}  // namespace relettra::pdf
