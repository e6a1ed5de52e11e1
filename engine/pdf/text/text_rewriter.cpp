#include "pdf/text/text_rewriter.h"

#include <algorithm>

#include "pdf/basics/pdf_number.h"
#include "pdf/page_editor.h"
#include "pdf/text/glyph_layout.h"

namespace relettra::pdf {

namespace {

// One piece of the rewritten operator: a string (bytes) or an adjustment (raw number text).
struct Piece {
    bool isString;
    std::string bytes;  // strings: the bytes to show; numbers: the number as written
    bool unchanged;     // a string or number that keeps its original token text
    std::uint32_t token;
};

std::string rawToken(const TextShow& show, std::uint32_t token) {
    const ParsedContent& content = *show.scope->content;
    return std::string(content.text(content.tokens()[token]));
}

std::string glyphBytes(const ShowElement& element, std::uint32_t glyphIndex) {
    size_t offset = 0;
    for (std::uint32_t g = 0; g < glyphIndex; ++g) {
        offset += static_cast<size_t>(element.glyphs[g].byteLength);
    }
    return element.bytes.substr(offset, static_cast<size_t>(element.glyphs[glyphIndex].byteLength));
}

// The operator written with its pieces. A single string keeps the operator as it was (with
// its other operands); anything else becomes a TJ array, after the line move and spacings that
// ' and " imply.
std::string writeOperator(const TextShow& show, const std::vector<Piece>& pieces) {
    const ParsedContent& content = *show.scope->content;
    const Operation& op = content.operations()[show.operation];
    auto pieceText = [&](const Piece& p) {
        if (p.unchanged) return rawToken(show, p.token);
        return p.isString ? encodeStringToken(p.bytes) : p.bytes;
    };
    bool single = pieces.size() == 1 && pieces[0].isString;
    if (show.op != "TJ" && single) {
        std::string out;
        std::uint32_t begin = content.beginOf(op);
        std::uint32_t stringToken = op.firstOperand + op.operandCount - 1;
        const Token& t = content.tokens()[stringToken];
        out.append(content.bytes(), begin, t.begin - begin);
        out += pieceText(pieces[0]);
        out.append(content.bytes(), t.end, content.endOf(op) - t.end);
        return out;
    }
    std::string out;
    if (show.op == "\"" && op.operandCount >= 3) {
        out += rawToken(show, op.firstOperand + op.operandCount - 3) + " Tw " +
               rawToken(show, op.firstOperand + op.operandCount - 2) + " Tc T* ";
    } else if (show.op == "'" || show.op == "\"") {
        out += "T* ";
    }
    out += "[";
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) out += " ";
        out += pieceText(pieces[i]);
    }
    out += "] TJ";
    return out;
}

// Adjacent strings are merged and adjustments of zero dropped, unless they are original tokens.
void appendString(std::vector<Piece>& pieces, const std::string& bytes) {
    if (!pieces.empty() && pieces.back().isString && !pieces.back().unchanged) {
        pieces.back().bytes += bytes;
        return;
    }
    pieces.push_back(Piece{true, bytes, false, 0});
}

}  // namespace

std::optional<std::string> rewriteShowText(const TextShow& show, const std::string& newText) {
    if (!show.state.font) {
        return std::nullopt;
    }
    const std::string oldText = show.text();
    if (oldText == newText) {
        return std::nullopt;
    }
    std::vector<PlacedGlyph> glyphs = layoutGlyphs(show);
    // The differing middle: common prefix and suffix, widened to whole glyphs.
    size_t prefix = 0;
    while (prefix < oldText.size() && prefix < newText.size() &&
           oldText[prefix] == newText[prefix]) {
        ++prefix;
    }
    size_t suffix = 0;
    while (suffix < oldText.size() - prefix && suffix < newText.size() - prefix &&
           oldText[oldText.size() - 1 - suffix] == newText[newText.size() - 1 - suffix]) {
        ++suffix;
    }
    size_t spanBegin = prefix;
    size_t spanEnd = oldText.size() - suffix;
    size_t g0 = 0;
    if (spanBegin < spanEnd) {
        while (g0 < glyphs.size() && glyphs[g0].textEnd <= spanBegin) ++g0;
    } else {
        while (g0 < glyphs.size() && glyphs[g0].textBegin < spanBegin) ++g0;
    }
    size_t g1 = g0;
    while (g1 < glyphs.size() && glyphs[g1].textBegin < spanEnd) ++g1;
    size_t oldBegin = g0 < glyphs.size() ? glyphs[g0].textBegin : oldText.size();
    size_t oldEnd = g1 > g0 ? glyphs[g1 - 1].textEnd : oldBegin;
    oldBegin = std::min(oldBegin, spanBegin);
    oldEnd = std::max(oldEnd, spanEnd);
    size_t keepAfter = oldText.size() - oldEnd;
    if (oldBegin + keepAfter > newText.size()) {
        return std::nullopt;
    }
    std::string middle = newText.substr(oldBegin, newText.size() - keepAfter - oldBegin);
    std::optional<std::string> encoded = show.state.font->encode(middle);
    if (!encoded) {
        return std::nullopt;
    }

    std::vector<Piece> pieces;
    size_t glyphIndex = 0;
    bool inserted = false;
    for (std::uint32_t e = 0; e < show.elements.size(); ++e) {
        const ShowElement& element = show.elements[e];
        if (!element.isString) {
            // Adjustments between glyphs of the replaced span go with it.
            bool inside = glyphIndex > g0 && glyphIndex < g1;
            if (!inside) {
                pieces.push_back(Piece{false, {}, true, element.token});
            }
            continue;
        }
        const size_t first = glyphIndex;
        const size_t end = first + element.glyphs.size();
        const bool touched = (first < g1 && end > g0) || (g0 == g1 && first <= g0 && g0 < end);
        if (!touched) {
            pieces.push_back(Piece{true, element.bytes, true, element.token});
            glyphIndex = end;
            continue;
        }
        std::string bytes;
        for (std::uint32_t g = 0; g < element.glyphs.size(); ++g, ++glyphIndex) {
            if (glyphIndex == g0 && !inserted) {
                bytes += *encoded;
                inserted = true;
            }
            if (glyphIndex < g0 || glyphIndex >= g1) {
                bytes += glyphBytes(element, g);
            }
        }
        if (!bytes.empty()) {
            appendString(pieces, bytes);
        }
    }
    if (!inserted) {  // the new text goes after the last glyph
        appendString(pieces, *encoded);
    }
    if (pieces.empty()) {
        pieces.push_back(Piece{true, {}, false, 0});
    }
    return writeOperator(show, pieces);
}

std::optional<std::string> rewriteShowWithout(const TextShow& show,
                                              const std::vector<bool>& remove) {
    if (std::find(remove.begin(), remove.end(), true) == remove.end()) {
        return std::nullopt;
    }
    const double scale = show.state.fontSize * show.state.horizontalScaling;
    std::vector<PlacedGlyph> glyphs = layoutGlyphs(show);
    std::vector<Piece> pieces;
    double pendingGap = 0;  // text space advance of removed glyphs not yet written
    auto flushGap = [&]() {
        if (pendingGap != 0 && scale != 0) {
            pieces.push_back(Piece{false, formatPdfNumber(-pendingGap / scale * 1000.0), false, 0});
        }
        pendingGap = 0;
    };
    size_t glyphIndex = 0;
    for (std::uint32_t e = 0; e < show.elements.size(); ++e) {
        const ShowElement& element = show.elements[e];
        if (!element.isString) {
            pendingGap += show.adjustmentAdvance(element.adjustment);
            continue;
        }
        std::string kept;
        bool whole = true;
        for (std::uint32_t g = 0; g < element.glyphs.size(); ++g, ++glyphIndex) {
            if (glyphIndex < remove.size() && remove[glyphIndex]) {
                if (!kept.empty()) {
                    flushGap();
                    appendString(pieces, kept);
                    kept.clear();
                }
                pendingGap += glyphs[glyphIndex].advance;
                whole = false;
            } else {
                kept += glyphBytes(element, g);
            }
        }
        if (!kept.empty()) {
            flushGap();
            if (whole) {
                pieces.push_back(Piece{true, element.bytes, true, element.token});
            } else {
                appendString(pieces, kept);
            }
        }
    }
    flushGap();
    if (pieces.empty()) {
        pieces.push_back(Piece{true, {}, false, 0});
    }
    return writeOperator(show, pieces);
}

}  // namespace relettra::pdf
