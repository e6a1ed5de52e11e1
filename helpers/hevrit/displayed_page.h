#pragma once

namespace poppler {
class page;
}

// The page as a viewer shows it: its crop box turned by /Rotate, in points.
struct DisplayedSize {
    double width = 0;
    double height = 0;
};

DisplayedSize displayedPageSize(const poppler::page& page);

// The pixels a page side of `points` takes at 150 dpi: rounded up, as pdftoppm does.
int imagePixels(double points);
