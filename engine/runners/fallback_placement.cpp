#include "runners/fallback_placement.h"

#include <algorithm>
#include <cmath>

bool PlaceOnLine(const RecordGeometry& line, const double box[4], double pageHeight,
                 FallbackPlacement& placement) {
    if (line.size <= 0 || line.verticalWriting) {
        return false;
    }
    // The baseline's direction in top-down coordinates (y downward).
    const double length = std::hypot(line.m[0], line.m[1]);
    if (length <= 0) {
        return false;
    }
    const double dx = line.m[0] / length;
    const double dy = -line.m[1] / length;
    const double originX = line.originX;
    const double originY = pageHeight - line.originY;
    const int direction = WritingDirection(line);
    // How far along the baseline the box's starting edge lies, and the box's extent along it.
    double along = 0;
    double extent = 0;
    if (direction == 0 || direction == 180) {
        if (std::fabs(dx) < 1e-9) return false;
        const double edge = direction == 0 ? box[0] : box[2];
        along = (edge - originX) / dx;
        extent = (box[2] - box[0]) / std::fabs(dx);
    } else {
        if (std::fabs(dy) < 1e-9) return false;
        const double edge = direction == 90 ? box[1] : box[3];
        along = (edge - originY) / dy;
        extent = (box[3] - box[1]) / std::fabs(dy);
    }
    placement.x = originX + along * dx;
    placement.y = originY + along * dy;
    placement.angle = line.angle;
    placement.size = line.size;
    placement.room = extent;
    return true;
}

bool BoxOfSpans(PDF* pdf, const std::vector<TPDFTextSpan>& spans, double box[4]) {
    bool any = false;
    for (const TPDFTextSpan& span : spans) {
        TPDFStack record;
        double part[4];
        if (pdfGetPageRecord(pdf, span.record, &record) != 1 ||
            pdfGetTextBox(pdf, &record, span.begin, span.end, 0, part) != 1) {
            continue;
        }
        if (!any) {
            std::copy(part, part + 4, box);
            any = true;
            continue;
        }
        box[0] = std::min(box[0], part[0]);
        box[1] = std::min(box[1], part[1]);
        box[2] = std::max(box[2], part[2]);
        box[3] = std::max(box[3], part[3]);
    }
    return any;
}
