#include "pdf/text/parse_callbacks_adapter.h"

#include <cmath>

#include "pdf/basics/utf8.h"

namespace relettra::pdf {

namespace {

// UTF-8 to UTF-16 code units, each unit with its share of the glyph's advance (the whole
// advance on the first unit).
void appendUtf16(std::string_view utf8, double advance, std::u16string& out,
                 std::vector<double>& advances) {
    if (utf8.size() == 1 && static_cast<unsigned char>(utf8[0]) < 0x80) {  // the common case
        out.push_back(static_cast<char16_t>(utf8[0]));
        advances.push_back(advance);
        return;
    }
    bool first = true;
    for (char32_t cp : decodeUtf8(utf8)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
            advances.push_back(first ? advance : 0);
            advances.push_back(0);
        } else {
            out.push_back(static_cast<char16_t>(cp));
            advances.push_back(first ? advance : 0);
        }
        first = false;
    }
}

}  // namespace

void ParseCallbacksAdapter::onSaveState() {
    if (callbacks_.saveGraphicState != nullptr) {
        callbacks_.saveGraphicState(data_);
    }
}

void ParseCallbacksAdapter::onRestoreState(const TextState& state) {
    if (callbacks_.restoreGraphicState != nullptr) {
        callbacks_.restoreGraphicState(data_);
    }
    reported_ = state;
}

void ParseCallbacksAdapter::onTextStateChange(const TextState& state) {
    reportState(state);
}

void ParseCallbacksAdapter::reportState(const TextState& state) {
    bool changed = !anyReported_;
    if (changed || state.font != reported_.font || state.fontSize != reported_.fontSize ||
        state.fontName != reported_.fontName) {
        if (callbacks_.setFont != nullptr) {
            callbacks_.setFont(data_, state.fontName.c_str(), state.fontSize, state.font.get());
        }
        changed = true;
    }
    if (!anyReported_ || state.charSpacing != reported_.charSpacing) {
        if (callbacks_.setCharSpacing != nullptr)
            callbacks_.setCharSpacing(data_, state.charSpacing);
        changed = true;
    }
    if (!anyReported_ || state.wordSpacing != reported_.wordSpacing) {
        if (callbacks_.setWordSpacing != nullptr)
            callbacks_.setWordSpacing(data_, state.wordSpacing);
        changed = true;
    }
    if (!anyReported_ || state.horizontalScaling != reported_.horizontalScaling) {
        if (callbacks_.setHorizontalScaling != nullptr) {
            callbacks_.setHorizontalScaling(data_, state.horizontalScaling * 100.0);
        }
        changed = true;
    }
    if (changed) {
        reported_ = state;
        anyReported_ = true;
    }
}

bool ParseCallbacksAdapter::onShow(const TextShow& show) {
    reportState(show.state);
    // A TJ adjustment wider than half a space separates pieces; kerning stays inside one.
    const double space = show.state.font ? show.state.font->spaceAdvance() : 0.25;
    const double split = space * show.state.fontSize * show.state.horizontalScaling / 2;
    double pen = 0;
    double pieceStart = 0;
    double pieceWidth = 0;
    std::u16string& text = pieceText_;
    std::vector<double>& advances = pieceAdvances_;
    text.clear();
    advances.clear();
    for (auto const& element : show.elements) {
        if (!element.isString) {
            double move = show.adjustmentAdvance(element.adjustment);
            if (std::fabs(move) > split && !text.empty()) {
                if (!emitPiece(show, pieceStart, text, advances, pieceWidth)) return false;
                text.clear();
                advances.clear();
                pen += move;
                pieceStart = pen;
                pieceWidth = 0;
            } else {
                pen += move;
                pieceWidth += move;
                if (text.empty())
                    pieceStart = pen;
                else if (!advances.empty())
                    advances.back() += move;
            }
            continue;
        }
        for (auto const& glyph : element.glyphs) {
            double advance = show.glyphAdvance(glyph);
            appendUtf16(glyph.unicode, advance, text, advances);
            pen += advance;
            pieceWidth += advance;
        }
    }
    if (!text.empty()) {
        return emitPiece(show, pieceStart, text, advances, pieceWidth);
    }
    return true;
}

bool ParseCallbacksAdapter::emitPiece(const TextShow& show, double penStart,
                                      const std::u16string& text,
                                      const std::vector<double>& advances, double width) {
    QPDFMatrix m = show.ctm;
    QPDFMatrix tm = show.tm;
    if (show.writesVertically()) {
        tm.translate(0, -penStart);
    } else {
        tm.translate(penStart, 0);
    }
    m.concat(tm);
    const double matrix[6] = {m.a, m.b, m.c, m.d, m.e, m.f};
    bool narrow = true;
    for (char16_t unit : text) {
        if (unit > 0xFF) {
            narrow = false;
            break;
        }
    }
    int result = 0;
    const int length = static_cast<int>(text.size());
    if (narrow && callbacks_.showText8 != nullptr) {
        std::string bytes(text.begin(), text.end());
        result = callbacks_.showText8(data_, matrix,
                                      reinterpret_cast<const unsigned char*>(bytes.data()), length,
                                      width, advances.data());
    } else if (callbacks_.showText16 != nullptr) {
        result = callbacks_.showText16(data_, matrix, text.data(), length, width, advances.data());
    }
    return result != -1;
}

}  // namespace relettra::pdf
