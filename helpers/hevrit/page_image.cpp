#include "page_image.h"

#include <marqel/page_units.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include "displayed_page.h"

namespace {

// Above this many pixels a page is refused rather than risking the PDF library's abort on a
// failed allocation (it holds two copies of 3 bytes a pixel).
constexpr double kMostPixels = 200e6;

}  // namespace

poppler::image renderPageImage(const poppler::page& page) {
    const DisplayedSize size = displayedPageSize(page);
    const int width = imagePixels(size.width);
    const int height = imagePixels(size.height);
    if (static_cast<double>(width) * height > kMostPixels) {
        return poppler::image();
    }
    poppler::page_renderer renderer;
    renderer.set_image_format(poppler::image::format_rgb24);
    renderer.set_paper_color(0xffffffff);
    renderer.set_render_hints(poppler::page_renderer::antialiasing |
                              poppler::page_renderer::text_antialiasing);
    // An explicit slice from the corner: the image then has pdftoppm's size (rounded up), not
    // the library's own rounding to nearest.
    poppler::image image =
        renderer.render_page(&page, marqel::kRuleDpi, marqel::kRuleDpi, 0, 0, width, height);
    if (!image.is_valid() || image.width() != width || image.height() != height ||
        image.format() != poppler::image::format_rgb24) {
        return poppler::image();
    }
    return image;
}
