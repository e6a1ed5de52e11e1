#include "keyword/page_text_collector.h"

#include <cmath>

namespace {

constexpr char16_t kSpace = u' ';

}  // namespace

void PageTextCollector::takeSpaceWidth() {
    halfSpaceWidth_ =
        state_.font != nullptr ? fntGetSpaceWidth(pdf_, state_.font, state_.fontSize) / 2.0 : 0.0;
}

void PageTextCollector::SetFont(const char* name, double size, const void* font) {
    if (name != nullptr) {
        state_.fontName = name;
    }
    state_.fontSize = size;
    state_.font = font;
    takeSpaceWidth();
}

int PageTextCollector::SaveState() {
    try {
        saved_.push_back(state_);
    } catch (...) {
        return -1;
    }
    return 0;
}

void PageTextCollector::RestoreState() {
    if (saved_.empty()) {
        return;
    }
    state_ = saved_.back();
    saved_.pop_back();
    if (state_.font != nullptr) {
        takeSpaceWidth();
    }
}

int PageTextCollector::ShowText(const double matrix[6], const unsigned char* text, int length,
                                double width, const double* advances) {
    // Each byte is one code unit.
    std::u16string wide(text, text + (length > 0 ? length : 0));
    return ShowText(matrix, wide.data(), static_cast<int>(wide.size()), width, advances);
}

int PageTextCollector::ShowText(const double matrix[6], const char16_t* text, int length,
                                double width, const double* advances) {
    if (length <= 0) {
        return 0;
    }
    const double a = matrix[0];
    const double c = matrix[2];
    const double threshold = std::fabs((halfSpaceWidth_ + state_.charSpacing + state_.wordSpacing) *
                                       state_.horizontalScaling / 100.0 * (a + c));
    const double x = matrix[4];
    const double y = matrix[5];
    if (!spaceSeen_ && text[0] == kSpace) {
        spaceSeen_ = true;
    }
    if (y == lastEndY_) {
        if (x - lastEndX_ > threshold && !spaceSeen_ &&
            append(&kSpace, 1, lastEndX_, lineStartX_, lastEndY_, nullptr, state_.fontSize) != 0) {
            return -1;
        }
    } else if (x == lastEndX_) {
        if (std::fabs(y - lastEndY_) > threshold && !spaceSeen_ &&
            append(&kSpace, 1, lastEndX_, lineStartX_, lastEndY_, nullptr, state_.fontSize) != 0) {
            return -1;
        }
    } else {
        if (!line_.empty() && LineFinished(line_)) {
            return -1;
        }
        line_.clear();
        lineStartX_ = x;
    }
    lastEndX_ = matrix[0] * width + matrix[4];
    lastEndY_ = matrix[1] * width + matrix[5];
    spaceSeen_ = text[length - 1] == kSpace;
    // The text matrix may scale the font: the size shown is the font size times its height.
    const double shownSize = state_.fontSize * std::hypot(matrix[2], matrix[3]);
    if (append(text, length, x, x, y, nullptr, shownSize) != 0) {
        return -1;
    }
    // Where each code unit starts, along the page's x axis.
    if (advances != nullptr) {
        std::vector<double>& unitX = runs_.back().unitX;
        unitX.reserve(static_cast<size_t>(length));
        double pen = 0;
        for (int i = 0; i < length; ++i) {
            unitX.push_back(x + matrix[0] * pen);
            pen += advances[i];
        }
    }
    return 0;
}

int PageTextCollector::append(const char16_t* text, int length, double x0, double x, double y,
                              const double* unitX, double shownSize) {
    try {
        line_.append(text, static_cast<size_t>(length));
        TextRun run;
        run.state = state_;
        run.text.assign(text, static_cast<size_t>(length));
        run.x0 = x0;
        run.x = x;
        run.y = y;
        run.shownSize = shownSize;
        if (unitX != nullptr) {
            run.unitX.assign(unitX, unitX + length);
        }
        runs_.push_back(std::move(run));
    } catch (...) {
        return -1;
    }
    return 0;
}

namespace {

PageTextCollector& self(const void* data) {
    return *static_cast<PageTextCollector*>(const_cast<void*>(data));
}

TPDFParseInterface makeCallbacks() {
    TPDFParseInterface c;
    c.beginText = [](const void*) { return 0; };
    c.endText = [](const void*) { return 0; };
    c.saveGraphicState = [](const void* d) { return self(d).SaveState(); };
    c.restoreGraphicState = [](const void* d) { self(d).RestoreState(); };
    c.setCharSpacing = [](const void* d, double v) { self(d).SetCharSpacing(v); };
    c.setFont = [](const void* d, const char* name, double size, const void* font) {
        self(d).SetFont(name, size, font);
    };
    c.setHorizontalScaling = [](const void* d, double v) { self(d).SetHorizontalScaling(v); };
    c.setWordSpacing = [](const void* d, double v) { self(d).SetWordSpacing(v); };
    c.showText8 = [](const void* d, const double m[6], const unsigned char* t, int n, double w,
                     const double* adv) { return self(d).ShowText(m, t, n, w, adv); };
    c.showText16 = [](const void* d, const double m[6], const char16_t* t, int n, double w,
                      const double* adv) { return self(d).ShowText(m, t, n, w, adv); };
    return c;
}

}  // namespace

const TPDFParseInterface& PageTextCollector::callbacks() {
    static const TPDFParseInterface table = makeCallbacks();
    return table;
}
