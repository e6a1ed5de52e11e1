#include "displayed_page.h"

#include <marqel/page_units.h>
#include <poppler-page.h>

#include <cmath>

DisplayedSize displayedPageSize(const poppler::page& page) {
    const poppler::rectf box = page.page_rect(poppler::crop_box);
    const poppler::page::orientation_enum turn = page.orientation();
    const bool sideways = turn == poppler::page::landscape || turn == poppler::page::seascape;
    return sideways ? DisplayedSize{box.height(), box.width()}
                    : DisplayedSize{box.width(), box.height()};
}

int imagePixels(double points) {
    const double pixels = std::ceil(marqel::pointsToPixels(points));
    return pixels < 1 ? 1 : pixels > 1e6 ? 1000000 : static_cast<int>(pixels);
}
