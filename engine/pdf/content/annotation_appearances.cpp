#include "pdf/content/annotation_appearances.h"

#include <qpdf/Constants.h>

#include <algorithm>
#include <qpdf/QPDFAnnotationObjectHelper.hh>
#include <set>

#include "pdf/basics/pdf_number.h"

namespace relettra::pdf {

namespace {

// The form's space to the page: its /Matrix, then the scaling and move that fit its turned
// /BBox into the annotation's rectangle.
bool placementOf(QPDFAnnotationObjectHelper& annotation, QPDFObjectHandle stream,
                 QPDFMatrix& placement) {
    QPDFObjectHandle dict = stream.getDict();
    QPDFObjectHandle bbox = dict.getKey("/BBox");
    if (!bbox.isRectangle()) {
        return false;
    }
    const QPDFMatrix matrix = matrixFromArray(dict.getKey("/Matrix"));
    const QPDFObjectHandle::Rectangle box = matrix.transformRectangle(bbox.getArrayAsRectangle());
    const QPDFObjectHandle::Rectangle rect = annotation.getRect();
    const double width = box.urx - box.llx;
    const double height = box.ury - box.lly;
    if (width <= 0 || height <= 0) {
        return false;
    }
    const double sx = (std::max(rect.llx, rect.urx) - std::min(rect.llx, rect.urx)) / width;
    const double sy = (std::max(rect.lly, rect.ury) - std::min(rect.lly, rect.ury)) / height;
    placement = QPDFMatrix(sx, 0, 0, sy, std::min(rect.llx, rect.urx) - sx * box.llx,
                           std::min(rect.lly, rect.ury) - sy * box.lly);
    placement.concat(matrix);
    return true;
}

}  // namespace

std::vector<ShownAppearance> shownAppearances(QPDFObjectHandle page) {
    std::vector<ShownAppearance> shown;
    QPDFObjectHandle annots = page.getKey("/Annots");
    if (!annots.isArray()) {
        return shown;
    }
    std::set<QPDFObjGen> seen;
    for (QPDFObjectHandle annot : annots.getArrayAsVector()) {
        if (!annot.isDictionary()) continue;
        // An annotation listed twice is shown once.
        if (annot.isIndirect() && !seen.insert(annot.getObjGen()).second) continue;
        QPDFAnnotationObjectHelper helper(annot);
        if (helper.getSubtype() == "/Widget" || (helper.getFlags() & (an_hidden | an_no_view))) {
            continue;
        }
        QPDFObjectHandle stream = helper.getAppearanceStream("/N");
        if (!stream.isStream()) continue;
        ShownAppearance appearance;
        appearance.annotation = annot;
        appearance.stream = stream;
        QPDFObjectHandle normal = helper.getAppearanceDictionary().getKey("/N");
        if (normal.isDictionary() && !normal.isStream()) {
            appearance.state = helper.getAppearanceState();
        }
        if (placementOf(helper, stream, appearance.placement)) {
            shown.push_back(std::move(appearance));
        }
    }
    return shown;
}

void widenAppearance(QPDFObjectHandle stream, QPDFObjectHandle annotation,
                     const QPDFMatrix& formToUpright, const QPDFMatrix& uprightToUser,
                     const QPDFObjectHandle::Rectangle& reach) {
    QPDFObjectHandle dict = stream.getDict();
    QPDFObjectHandle bbox = dict.getKey("/BBox");
    if (!bbox.isRectangle()) return;
    const QPDFObjectHandle::Rectangle b = bbox.getArrayAsRectangle();
    const QPDFObjectHandle::Rectangle held(std::min(b.llx, b.urx), std::min(b.lly, b.ury),
                                           std::max(b.llx, b.urx), std::max(b.lly, b.ury));
    const QPDFObjectHandle::Rectangle r = inverseMatrix(formToUpright).transformRectangle(reach);
    const QPDFObjectHandle::Rectangle grown(std::min(held.llx, r.llx), std::min(held.lly, r.lly),
                                            std::max(held.urx, r.urx), std::max(held.ury, r.ury));
    if (grown.llx == held.llx && grown.lly == held.lly && grown.urx == held.urx &&
        grown.ury == held.ury) {
        return;
    }
    dict.replaceKey("/BBox", QPDFObjectHandle::newFromRectangle(grown));
    // The viewer fits the turned box into /Rect: /Rect grows as the box grew.
    if (annotation.isDictionary()) {
        QPDFMatrix formToUser = uprightToUser;
        formToUser.concat(formToUpright);
        annotation.replaceKey(
            "/Rect", QPDFObjectHandle::newFromRectangle(formToUser.transformRectangle(grown)));
    }
}

}  // namespace relettra::pdf
