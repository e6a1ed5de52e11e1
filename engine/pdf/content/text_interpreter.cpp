#include "pdf/content/text_interpreter.h"

#include <cmath>

#include "pdf/basics/pdf_number.h"

namespace relettra::pdf {

namespace {

constexpr int kMaxFormDepth = 12;
// Forms drawn in one walk of a page, all nesting levels together: a form drawn six times by a
// form drawn six times, twelve levels deep, would otherwise be walked two billion times.
constexpr long kMaxFormsDrawn = 100000;

struct GraphicsState {
    QPDFMatrix ctm;
    TextState text;
};

}  // namespace

std::string TextShow::text() const {
    std::string out;
    for (auto const& element : elements) {
        for (auto const& glyph : element.glyphs) {
            out += glyph.unicode;
        }
    }
    return out;
}

double TextShow::glyphAdvance(const DecodedGlyph& glyph) const {
    double tx = glyph.advance * state.fontSize + state.charSpacing +
                (glyph.isSingleByteSpace ? state.wordSpacing : 0.0);
    return tx * state.horizontalScaling;
}

double TextShow::adjustmentAdvance(double adjustment) const {
    return -adjustment / 1000.0 * state.fontSize * state.horizontalScaling;
}

double TextShow::totalAdvance() const {
    double total = 0;
    for (auto const& element : elements) {
        if (!element.isString) {
            total += adjustmentAdvance(element.adjustment);
            continue;
        }
        for (auto const& glyph : element.glyphs) {
            total += glyphAdvance(glyph);
        }
    }
    return total;
}

void readShowElements(const ParsedContent& content, const Operation& op, std::string_view name,
                      const TextState& state, std::vector<ShowElement>& elements) {
    std::size_t count = 0;
    auto nextElement = [&]() -> ShowElement& {
        if (count == elements.size()) elements.emplace_back();
        return elements[count++];
    };
    auto addString = [&](const Token& t, std::uint32_t tokenIndex) {
        ShowElement& element = nextElement();
        element.isString = true;
        element.adjustment = 0;
        element.token = tokenIndex;
        stringValueInto(content, t, element.bytes);
        if (state.font) {
            state.font->decodeInto(element.bytes, element.glyphs);
        } else {
            // Without a font every byte is one glyph of unknown text and width.
            element.glyphs.clear();
            for (unsigned char c : element.bytes) {
                DecodedGlyph g;
                g.code = c;
                g.isSingleByteSpace = c == 32;
                element.glyphs.push_back(g);
            }
        }
    };
    if (name == "TJ") {
        for (std::uint32_t i = 0; i < op.operandCount; ++i) {
            const Token& t = content.operand(op, i);
            std::uint32_t tokenIndex = op.firstOperand + i;
            if (t.kind == TokenKind::LiteralString || t.kind == TokenKind::HexString) {
                addString(t, tokenIndex);
            } else if (t.kind == TokenKind::Number) {
                ShowElement& e = nextElement();
                e.isString = false;
                e.token = tokenIndex;
                e.adjustment = numberValue(content.text(t));
                e.bytes.clear();
                e.glyphs.clear();
            }
        }
    } else if (op.operandCount > 0) {
        const Token& t = content.operand(op, op.operandCount - 1);
        if (t.kind == TokenKind::LiteralString || t.kind == TokenKind::HexString) {
            addString(t, op.firstOperand + op.operandCount - 1);
        }
    }
    elements.resize(count);
}

bool TextInterpreter::runScope(PageContent& page, ContentScope& scope, const QPDFMatrix& ctm,
                               TextListener& listener) {
    formsDrawn_ = 0;
    return runScope(page, scope, ctm, TextState(), listener, 0);
}

bool TextInterpreter::mayDrawForm(const ContentScope& drawing, QPDFObjectHandle form) {
    // A form that draws itself, directly or through other forms, is drawn once.
    const QPDFObjGen id = form.getObjGen();
    for (const ContentScope* scope = &drawing; scope != nullptr; scope = scope->parent) {
        if (scope->owner.isInitialized() && scope->owner.getObjGen() == id) return false;
    }
    return ++formsDrawn_ <= kMaxFormsDrawn;
}

bool TextInterpreter::run(PageContent& page, const QPDFMatrix& initialCtm, TextListener& listener) {
    formsDrawn_ = 0;
    if (!runScope(page, page.pageScope(), initialCtm, TextState(), listener, 0)) {
        return false;
    }
    // Annotations are drawn over the page's content, each in a graphics state of its own.
    for (ContentScope* appearance : page.appearanceScopes()) {
        QPDFMatrix ctm = initialCtm;
        ctm.concat(appearance->placement);
        listener.onSaveState();
        const bool goOn = runScope(page, *appearance, ctm, TextState(), listener, 1);
        listener.onRestoreState(TextState());
        if (!goOn) return false;
    }
    return true;
}

bool TextInterpreter::showsText(PageContent& page, const std::string& needle) {
    formsDrawn_ = 0;
    std::string buffer;
    if (scopeShowsText(page, page.pageScope(), needle, buffer, 0, nullptr)) {
        return true;
    }
    for (ContentScope* appearance : page.appearanceScopes()) {
        if (scopeShowsText(page, *appearance, needle, buffer, 1, nullptr)) return true;
    }
    return false;
}

bool TextInterpreter::scopeShowsText(PageContent& page, ContentScope& scope,
                                     const std::string& needle, std::string& buffer, int depth,
                                     std::shared_ptr<const PdfFont> font) {
    const ParsedContent& content = *scope.content;
    QPDFObjectHandle fonts =
        scope.resources.isDictionary() ? scope.resources.getKey("/Font") : QPDFObjectHandle();
    QPDFObjectHandle xobjects =
        scope.resources.isDictionary() ? scope.resources.getKey("/XObject") : QPDFObjectHandle();
    std::vector<std::shared_ptr<const PdfFont>> saved;
    std::string bytes;
    for (const Operation& op : content.operations()) {
        std::string_view name = content.operatorName(op);
        if (name == "q") {
            saved.push_back(font);
        } else if (name == "Q") {
            if (!saved.empty()) {
                font = saved.back();
                saved.pop_back();
            }
        } else if (name == "Tf" && op.operandCount >= 2) {
            std::string fontName(content.text(content.operand(op, op.operandCount - 2)));
            QPDFObjectHandle dict =
                fonts.isDictionary() ? fonts.getKey(fontName) : QPDFObjectHandle();
            font = dict.isDictionary() ? fonts_.get(dict) : nullptr;
        } else if (name == "Tj" || name == "TJ" || name == "'" || name == "\"") {
            if (!font) continue;
            buffer.clear();
            // The strings of the operator: all of a TJ array, else the last operand.
            std::uint32_t first =
                name == "TJ" ? 0 : (op.operandCount > 0 ? op.operandCount - 1 : 0);
            for (std::uint32_t i = first; i < op.operandCount; ++i) {
                const Token& t = content.operand(op, i);
                if (t.kind == TokenKind::LiteralString || t.kind == TokenKind::HexString) {
                    stringValueInto(content, t, bytes);
                    font->appendUtf8Text(bytes, buffer);
                }
            }
            if (buffer.find(needle) != std::string::npos) return true;
        } else if (name == "Do" && op.operandCount >= 1 && xobjects.isDictionary() &&
                   depth < kMaxFormDepth) {
            std::string formName(content.text(content.operand(op, op.operandCount - 1)));
            QPDFObjectHandle form = xobjects.getKey(formName);
            if (form.isStream() && form.getDict().getKey("/Subtype").isNameAndEquals("/Form") &&
                mayDrawForm(scope, form)) {
                ContentScope* formScope = page.formScope(scope, formName, form);
                // A form starts with the font of the graphics state that draws it.
                if (scopeShowsText(page, *formScope, needle, buffer, depth + 1, font)) {
                    return true;
                }
            }
        }
    }
    return false;
}

bool TextInterpreter::runScope(PageContent& page, ContentScope& scope, const QPDFMatrix& ctm,
                               TextState initialText, TextListener& listener, int depth) {
    const ParsedContent& content = *scope.content;
    const auto& operations = content.operations();
    std::vector<GraphicsState> stack;
    GraphicsState gs{ctm, std::move(initialText)};
    QPDFMatrix tm;
    QPDFMatrix tlm;
    QPDFObjectHandle fonts =
        scope.resources.isDictionary() ? scope.resources.getKey("/Font") : QPDFObjectHandle();
    QPDFObjectHandle xobjects =
        scope.resources.isDictionary() ? scope.resources.getKey("/XObject") : QPDFObjectHandle();

    auto number = [&](const Operation& op, std::uint32_t i) {
        const Token& t = content.operand(op, i);
        return t.kind == TokenKind::Number ? numberValue(content.text(t)) : 0.0;
    };
    auto hasNumbers = [&](const Operation& op, std::uint32_t count) {
        if (op.operandCount < count) return false;
        for (std::uint32_t i = op.operandCount - count; i < op.operandCount; ++i) {
            if (content.operand(op, i).kind != TokenKind::Number) return false;
        }
        return true;
    };
    // Operands are taken from the end: stray operands in front do no harm.
    auto last = [&](const Operation& op, std::uint32_t count, std::uint32_t i) {
        return number(op, op.operandCount - count + i);
    };
    auto nextLine = [&]() {
        tlm.translate(0, -gs.text.leading);
        tm = tlm;
    };
    // One TextShow for the whole scope: its vectors and strings keep their storage from one
    // text-showing operator to the next.
    TextShow s;
    s.scope = &scope;
    auto show = [&](std::uint32_t index, const Operation& op, std::string_view name) {
        s.operation = index;
        s.op.assign(name.data(), name.size());
        s.ctm = gs.ctm;
        s.tm = tm;
        s.state = gs.text;
        readShowElements(content, op, name, gs.text, s.elements);
        s.advance = s.totalAdvance();
        bool goOn = listener.onShow(s);
        if (gs.text.font && gs.text.font->isVertical()) {
            tm.translate(0, -s.advance);
        } else {
            tm.translate(s.advance, 0);
        }
        return goOn;
    };

    for (std::uint32_t index = 0; index < operations.size(); ++index) {
        const Operation& op = operations[index];
        std::string_view name = content.operatorName(op);
        if (name.empty()) continue;
        switch (name[0]) {
            case 'q':
                if (name == "q") {
                    stack.push_back(gs);
                    listener.onSaveState();
                }
                continue;
            case 'Q':
                if (name == "Q" && !stack.empty()) {
                    gs = std::move(stack.back());
                    stack.pop_back();
                    listener.onRestoreState(gs.text);
                }
                continue;
            case 'c':
                if (name == "cm" && hasNumbers(op, 6)) {
                    gs.ctm.concat(QPDFMatrix(last(op, 6, 0), last(op, 6, 1), last(op, 6, 2),
                                             last(op, 6, 3), last(op, 6, 4), last(op, 6, 5)));
                }
                continue;
            case 'B':
                if (name == "BT") {
                    tm = QPDFMatrix();
                    tlm = QPDFMatrix();
                }
                continue;
            case 'D':
                if (name == "Do" && op.operandCount >= 1 && xobjects.isDictionary() &&
                    depth < kMaxFormDepth) {
                    const Token& t = content.operand(op, op.operandCount - 1);
                    std::string formName(content.text(t));
                    QPDFObjectHandle form = xobjects.getKey(formName);
                    if (form.isStream() &&
                        form.getDict().getKey("/Subtype").isNameAndEquals("/Form") &&
                        mayDrawForm(scope, form)) {
                        ContentScope* formScope = page.formScope(scope, formName, form);
                        QPDFMatrix formCtm = gs.ctm;
                        formCtm.concat(matrixFromArray(form.getDict().getKey("/Matrix")));
                        listener.onSaveState();
                        bool goOn =
                            runScope(page, *formScope, formCtm, gs.text, listener, depth + 1);
                        listener.onRestoreState(gs.text);
                        if (!goOn) return false;
                    }
                }
                continue;
            case 'T':
                break;
            case '\'':
            case '"':
                break;
            default:
                continue;
        }
        if (name == "Tf" && op.operandCount >= 2) {
            const Token& fontToken = content.operand(op, op.operandCount - 2);
            gs.text.fontSize = number(op, op.operandCount - 1);
            gs.text.fontName = std::string(content.text(fontToken));
            QPDFObjectHandle dict =
                fonts.isDictionary() ? fonts.getKey(gs.text.fontName) : QPDFObjectHandle();
            gs.text.font = dict.isDictionary() ? fonts_.get(dict) : nullptr;
            listener.onTextStateChange(gs.text);
        } else if (name == "Tc" && hasNumbers(op, 1)) {
            gs.text.charSpacing = last(op, 1, 0);
            listener.onTextStateChange(gs.text);
        } else if (name == "Tw" && hasNumbers(op, 1)) {
            gs.text.wordSpacing = last(op, 1, 0);
            listener.onTextStateChange(gs.text);
        } else if (name == "Tz" && hasNumbers(op, 1)) {
            gs.text.horizontalScaling = last(op, 1, 0) / 100.0;
            listener.onTextStateChange(gs.text);
        } else if (name == "TL" && hasNumbers(op, 1)) {
            gs.text.leading = last(op, 1, 0);
        } else if (name == "Ts" && hasNumbers(op, 1)) {
            gs.text.rise = last(op, 1, 0);
        } else if (name == "Tr" && hasNumbers(op, 1)) {
            gs.text.renderMode = static_cast<int>(last(op, 1, 0));
        } else if (name == "Td" && hasNumbers(op, 2)) {
            tlm.translate(last(op, 2, 0), last(op, 2, 1));
            tm = tlm;
        } else if (name == "TD" && hasNumbers(op, 2)) {
            gs.text.leading = -last(op, 2, 1);
            tlm.translate(last(op, 2, 0), last(op, 2, 1));
            tm = tlm;
        } else if (name == "Tm" && hasNumbers(op, 6)) {
            tlm = QPDFMatrix(last(op, 6, 0), last(op, 6, 1), last(op, 6, 2), last(op, 6, 3),
                             last(op, 6, 4), last(op, 6, 5));
            tm = tlm;
        } else if (name == "T*") {
            nextLine();
        } else if (name == "Tj" || name == "TJ") {
            if (!show(index, op, name)) return false;
        } else if (name == "'") {
            nextLine();
            if (!show(index, op, name)) return false;
        } else if (name == "\"" && op.operandCount >= 3) {
            gs.text.wordSpacing = number(op, op.operandCount - 3);
            gs.text.charSpacing = number(op, op.operandCount - 2);
            listener.onTextStateChange(gs.text);
            nextLine();
            if (!show(index, op, name)) return false;
        }
    }
    return true;
}

}  // namespace relettra::pdf
