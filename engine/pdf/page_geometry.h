#pragma once

#include <qpdf/QPDFMatrix.hh>
#include <qpdf/QPDFObjectHandle.hh>

namespace relettra::pdf {

// How a page is shown: its visible box (CropBox, else MediaBox) turned by its /Rotate.
//
// Rules and drawings use "displayed" coordinates: points, origin at the upper-left corner of the
// page as a viewer shows it, y growing downward. Text matching works in "upright" coordinates:
// the same displayed page with y growing upward from its lower edge, which for an unrotated page
// whose box starts at 0,0 is exactly PDF user space.
class PageGeometry {
  public:
    static PageGeometry fromPage(QPDFObjectHandle page);
    PageGeometry(double llx, double lly, double urx, double ury, int rotate);

    double displayedWidth() const;
    double displayedHeight() const;
    int rotate() const { return rotate_; }

    // User space → upright coordinates (rotation and translation only, no mirroring).
    QPDFMatrix userToUpright() const;
    // Upright coordinates → user space; content drawn after this `cm` uses upright coordinates.
    QPDFMatrix uprightToUser() const;

    // A displayed (top-down) point in user space.
    void displayedToUser(double dx, double dy, double& ux, double& uy) const;
    // A user-space point in displayed (top-down) coordinates.
    void userToDisplayed(double ux, double uy, double& dx, double& dy) const;

  private:
    double llx_, lly_, urx_, ury_;
    int rotate_;  // 0, 90, 180 or 270
};

// /Rotate brought into 0, 90, 180 or 270 (a value that is no multiple of 90 counts as 0).
int normalizeRotation(long long rotate);

}  // namespace relettra::pdf
