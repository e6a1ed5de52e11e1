#include "pdf/page_geometry.h"

#include <algorithm>
#include <qpdf/QPDFPageObjectHelper.hh>

namespace relettra::pdf {

int normalizeRotation(long long rotate) {
    if (rotate % 90 != 0) {
        return 0;
    }
    long long r = rotate % 360;
    if (r < 0) {
        r += 360;
    }
    return static_cast<int>(r);
}

namespace {

bool readBox(QPDFObjectHandle box, double (&out)[4]) {
    if (!box.isArray() || box.getArrayNItems() != 4) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        QPDFObjectHandle item = box.getArrayItem(i);
        if (!item.isNumber()) {
            return false;
        }
        out[i] = item.getNumericValue();
    }
    return true;
}

}  // namespace

PageGeometry PageGeometry::fromPage(QPDFObjectHandle pageObject) {
    QPDFPageObjectHelper page(pageObject);
    double box[4] = {0, 0, 612, 792};
    if (!readBox(page.getCropBox(false, false), box)) {
        readBox(page.getMediaBox(false), box);
    }
    int rotate = 0;
    QPDFObjectHandle r = page.getAttribute("/Rotate", false);
    if (r.isInteger()) {
        rotate = normalizeRotation(r.getIntValue());
    } else if (r.isNumber()) {
        rotate = normalizeRotation(static_cast<long long>(r.getNumericValue()));
    }
    return PageGeometry(box[0], box[1], box[2], box[3], rotate);
}

PageGeometry::PageGeometry(double llx, double lly, double urx, double ury, int rotate)
    : llx_(std::min(llx, urx)),
      lly_(std::min(lly, ury)),
      urx_(std::max(llx, urx)),
      ury_(std::max(lly, ury)),
      rotate_(rotate) {}

double PageGeometry::displayedWidth() const {
    return (rotate_ == 90 || rotate_ == 270) ? ury_ - lly_ : urx_ - llx_;
}

double PageGeometry::displayedHeight() const {
    return (rotate_ == 90 || rotate_ == 270) ? urx_ - llx_ : ury_ - lly_;
}

QPDFMatrix PageGeometry::uprightToUser() const {
    // Where the upright origin (the displayed lower-left corner) lies in user space, and where
    // the upright x and y axes point there.
    switch (rotate_) {
        case 90:  // displayed lower-left is user lower-right; x runs up, y runs left
            return QPDFMatrix(0, 1, -1, 0, urx_, lly_);
        case 180:  // displayed lower-left is user upper-right
            return QPDFMatrix(-1, 0, 0, -1, urx_, ury_);
        case 270:  // displayed lower-left is user upper-left; x runs down, y runs right
            return QPDFMatrix(0, -1, 1, 0, llx_, ury_);
        default:
            return QPDFMatrix(1, 0, 0, 1, llx_, lly_);
    }
}

QPDFMatrix PageGeometry::userToUpright() const {
    switch (rotate_) {
        case 90:
            return QPDFMatrix(0, -1, 1, 0, -lly_, urx_);
        case 180:
            return QPDFMatrix(-1, 0, 0, -1, urx_, ury_);
        case 270:
            return QPDFMatrix(0, 1, -1, 0, ury_, -llx_);
        default:
            return QPDFMatrix(1, 0, 0, 1, -llx_, -lly_);
    }
}

void PageGeometry::displayedToUser(double dx, double dy, double& ux, double& uy) const {
    uprightToUser().transform(dx, displayedHeight() - dy, ux, uy);
}

void PageGeometry::userToDisplayed(double ux, double uy, double& dx, double& dy) const {
    double upX = 0;
    double upY = 0;
    userToUpright().transform(ux, uy, upX, upY);
    dx = upX;
    dy = displayedHeight() - upY;
}

}  // namespace relettra::pdf
