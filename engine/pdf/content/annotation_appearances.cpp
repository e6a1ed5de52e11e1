#include "pdf/content/annotation_appearances.h"

#include <qpdf/Constants.h>

#include <algorithm>
#include <set>
#include <qpdf/QPDFAnnotationObjectHelper.hh>

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

}  // namespace relettra::pdf
