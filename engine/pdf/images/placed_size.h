#pragma once

#include <utility>

#include "pdf/images/image_info.h"

namespace relettra::pdf {

// The size in points an image takes on the page for a requested width and height in points.
// A side given as 0 follows the image's aspect ratio from the other side; both 0 give the
// image's own size at its resolution (72 dpi when the file has none). A negative or
// non-finite request counts as not given (0): such a value cannot describe a size, and
// falling back to the image's own proportions draws something sensible instead of a
// mirrored or invisible image.
std::pair<double, double> resolvePlacedSize(const ImageInfo& info, double width, double height);

}  // namespace relettra::pdf
