#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pdf/images/decoded_image.h"

namespace relettra::pdf {

// Decodes a BMP file (1, 4, 8, 24 or 32 bit; uncompressed or bit fields) to 8-bit RGB, with an
// alpha channel when the file has one that is not fully opaque. The resolution comes from the
// header's pixels per metre.
std::optional<DecodedImage> decodeBmp(std::string_view bytes, std::string& error);

// Decodes the first frame of a GIF file to 8-bit RGB; a transparent colour gives an alpha
// channel. GIF states no resolution.
std::optional<DecodedImage> decodeGif(std::string_view bytes, std::string& error);

}  // namespace relettra::pdf
