#include "pdf/text/text_runs.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace relettra::pdf {

namespace {

constexpr double kMatrixTolerance = 1e-6;
constexpr double kBaselineTolerance = 0.05;  // of the font size

bool near(double a, double b) {
    return std::fabs(a - b) <= kMatrixTolerance * std::max(1.0, std::fabs(a) + std::fabs(b));
}

bool sameMatrix(const QPDFMatrix& a, const QPDFMatrix& b, bool withTranslation) {
    return near(a.a, b.a) && near(a.b, b.b) && near(a.c, b.c) && near(a.d, b.d) &&
           (!withTranslation || (near(a.e, b.e) && near(a.f, b.f)));
}

// Character and word spacing may differ: justifying producers set them per piece, and each
// piece keeps its own when it is rewritten.
bool sameState(const TextState& a, const TextState& b) {
    return a.font == b.font && a.fontSize == b.fontSize &&
           a.horizontalScaling == b.horizontalScaling && a.rise == b.rise &&
           a.renderMode == b.renderMode;
}

bool isMove(std::string_view op) {
    return op == "Td" || op == "TD" || op == "Tm" || op == "T*";
}

// Operators that may stand between two parts of one run: they move the pen, set the text state
// (whose result is compared separately), or mark content.
bool mayStandBetween(std::string_view op) {
    static const std::string_view kAllowed[] = {"Tf", "Tc",  "Tw",  "Tz",  "TL", "Ts", "Tr", "BT",
                                                "ET", "BDC", "BMC", "EMC", "MP", "DP", "q",  "Q"};
    if (isMove(op)) return true;
    for (std::string_view allowed : kAllowed) {
        if (op == allowed) return true;
    }
    return false;
}

bool hasGlyphs(const TextShow& show) {
    for (const ShowElement& element : show.elements) {
        if (element.isString && !element.glyphs.empty()) return true;
    }
    return false;
}

}  // namespace

bool continuesShow(const TextShow& previous, const TextShow& next) {
    if (previous.scope != next.scope || next.operation <= previous.operation ||
        (next.op != "Tj" && next.op != "TJ") || !previous.state.font ||
        previous.state.font->isVertical() || !sameState(previous.state, next.state) ||
        !sameMatrix(previous.ctm, next.ctm, true) || !sameMatrix(previous.tm, next.tm, false) ||
        !hasGlyphs(previous) || !hasGlyphs(next)) {
        return false;
    }
    const ParsedContent& content = *previous.scope->content;
    bool moved = false;
    for (std::uint32_t i = previous.operation + 1; i < next.operation; ++i) {
        std::string_view op = content.operatorName(content.operations()[i]);
        if (!mayStandBetween(op)) return false;
        moved = moved || isMove(op);
    }
    if (!moved) return false;
    double x = 0;
    double y = 0;
    if (!toTextSpace(previous, next.tm.e, next.tm.f, x, y)) return false;
    const double size = std::fabs(previous.state.fontSize);
    const double halfSpace = previous.state.font->spaceAdvance() * size *
                             std::fabs(previous.state.horizontalScaling) / 2;
    return std::fabs(y) <= kBaselineTolerance * size && std::fabs(x - previous.advance) < halfSpace;
}

bool toTextSpace(const TextShow& show, double pointX, double pointY, double& x, double& y) {
    const QPDFMatrix& m = show.tm;
    const double det = m.a * m.d - m.b * m.c;
    if (std::fabs(det) < 1e-12) return false;
    const double vx = pointX - m.e;
    const double vy = pointY - m.f;
    x = (m.d * vx - m.c * vy) / det;
    y = (m.a * vy - m.b * vx) / det;
    return true;
}

double runAdvance(const std::vector<TextShow>& shows, const std::vector<std::size_t>& run) {
    if (run.empty()) return 0;
    const TextShow& first = shows[run.front()];
    const TextShow& last = shows[run.back()];
    double x = 0;
    double y = 0;
    if (run.size() == 1 || !toTextSpace(first, last.tm.e, last.tm.f, x, y)) {
        return first.advance;
    }
    return x + last.advance;
}

std::vector<std::vector<std::size_t>> groupShowsIntoRuns(const std::vector<TextShow>& shows) {
    std::vector<std::vector<std::size_t>> runs;
    for (std::size_t i = 0; i < shows.size(); ++i) {
        if (!runs.empty() && continuesShow(shows[runs.back().back()], shows[i])) {
            runs.back().push_back(i);
        } else {
            runs.push_back({i});
        }
    }
    return runs;
}

}  // namespace relettra::pdf
