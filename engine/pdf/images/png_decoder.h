#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pdf/images/decoded_image.h"

namespace relettra::pdf {

// Decodes a PNG file with libpng. Palette images stay indexed (packed 1 to 8 bits) unless a
// tRNS chunk gives their entries alpha, in which case the indices are unpacked to 8 bits and
// the alpha becomes `alpha`. Grey and RGB keep their bit depth (1 to 16); a tRNS colour key is
// turned into an alpha channel. Gamma, colour profiles and background colours are ignored.
// Returns nullopt and a one-line `error` for damaged, truncated or oversized files.
std::optional<DecodedImage> decodePng(std::string_view bytes, std::string& error);

}  // namespace relettra::pdf
