#pragma once

#include <poppler-image.h>

namespace poppler {
class page;
}

// The page as a viewer shows it (crop box, /Rotate applied) at 150 dpi: antialiased text and
// graphics on white, 8-bit RGB, ceil(size × 150 / 72) pixels each way. An invalid image when
// the page cannot be rendered or would be too large to hold in memory.
poppler::image renderPageImage(const poppler::page& page);
