#pragma once

#include <string_view>

namespace relettra::pdf {

enum class ImageFormat { Unknown, Jpeg, Png, Bmp, Gif };

// Recognises an image file format from its first bytes (its signature).
ImageFormat detectImageFormat(std::string_view bytes);

}  // namespace relettra::pdf
