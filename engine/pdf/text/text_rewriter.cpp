#include "pdf/text/text_rewriter.h"

#include <algorithm>

#include "pdf/basics/pdf_number.h"
#include "pdf/page_editor.h"
#include "pdf/text/glyph_changes.h"
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
    const ParsedContent& content = show.tokens();
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
std::string writeShowOperator(const TextShow& show, const std::vector<Piece>& pieces) {
    const ParsedContent& content = show.tokens();
    const Operation& op = content.operations()[show.tokenOperation()];
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

// The same, after what an earlier edit wrote before the operator (it stays before it).
std::string writeOperator(const TextShow& show, const std::vector<Piece>& pieces) {
    return show.leading + writeShowOperator(show, pieces);
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

std::optional<RewrittenShow> rewriteShowHunks(const TextShow& show, const SpacedText& spaced,
                                              const std::vector<TextHunk>& hunks) {
    if (!show.state.font || hunks.empty()) {
        return std::nullopt;
    }
    std::vector<GlyphChange> changes = glyphChanges(spaced, hunks);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> changeOf(spaced.glyphs.size(), kNone);
    std::vector<double> newWidths(changes.size(), 0);
    // With character spacing, producers hold a word's letters together by adjustments between
    // them (Tc spacing the words of a justified line, "3.5 Tc [(u) 351 (p)] TJ"): the new
    // letters of a change get the old ones' average adjustment between them, or they would
    // spread apart. Without it the adjustments are kerning, which the new letters do not take.
    std::vector<double> betweenNew(changes.size(), 0);  // text space, between two new glyphs
    if (show.state.charSpacing != 0) {
        std::vector<double> inside(changes.size(), 0);
        std::size_t before = 0;
        for (const ShowElement& element : show.elements) {
            if (element.isString) {
                before += element.glyphs.size();
                continue;
            }
            for (std::size_t c = 0; c < changes.size(); ++c) {
                if (before > changes[c].g0 && before < changes[c].g1) {
                    inside[c] += show.adjustmentAdvance(element.adjustment);
                }
            }
        }
        for (std::size_t c = 0; c < changes.size(); ++c) {
            const std::size_t oldGaps = changes[c].g1 - changes[c].g0;
            if (oldGaps > 1 && inside[c] != 0) betweenNew[c] = inside[c] / double(oldGaps - 1);
        }
    }
    for (std::size_t c = 0; c < changes.size(); ++c) {
        std::optional<std::string> encoded = show.state.font->encode(changes[c].text);
        if (!encoded) {
            return std::nullopt;
        }
        changes[c].bytes = std::move(*encoded);
        const std::vector<DecodedGlyph> glyphs = show.state.font->decode(changes[c].bytes);
        for (const DecodedGlyph& glyph : glyphs) {
            newWidths[c] += show.glyphAdvance(glyph);
        }
        if (glyphs.size() > 1) newWidths[c] += betweenNew[c] * double(glyphs.size() - 1);
        for (std::size_t g = changes[c].g0; g < changes[c].g1; ++g) changeOf[g] = c;
    }
    // The change an adjustment falls into: it stands between two glyphs of the change, or it
    // is read as a space that the change covers.
    // A removal at the end of a word also takes the adjustment before its first glyph (the
    // spacing between the last letter kept and the first one removed, which would otherwise open
    // a gap before the next word); one at the start of a word the adjustment after its last glyph.
    const std::string& text = spaced.text;
    auto removesWordEnd = [&](const GlyphChange& change) {
        return change.text.empty() && change.g0 > 0 &&
               (change.end >= text.size() || text[change.end] == ' ') && change.begin > 0 &&
               text[change.begin - 1] != ' ';
    };
    auto removesWordStart = [&](const GlyphChange& change) {
        return change.text.empty() && (change.begin == 0 || text[change.begin - 1] == ' ') &&
               change.end < text.size() && text[change.end] != ' ';
    };
    auto coveringChange = [&](std::uint32_t element, std::size_t glyphsBefore) {
        for (std::size_t c = 0; c < changes.size(); ++c) {
            if (glyphsBefore > changes[c].g0 && glyphsBefore < changes[c].g1) return c;
            if ((glyphsBefore == changes[c].g0 && removesWordEnd(changes[c])) ||
                (glyphsBefore == changes[c].g1 && removesWordStart(changes[c]))) {
                return c;
            }
        }
        for (const SpacedText::Gap& gap : spaced.gaps) {
            if (gap.element != element) continue;
            for (std::size_t c = 0; c < changes.size(); ++c) {
                if (gap.offset >= changes[c].begin && gap.offset < changes[c].end) return c;
            }
        }
        return kNone;
    };

    RewrittenShow out;
    std::vector<Piece> pieces;
    double pen = 0;  // where the next piece starts, text space
    // The advance of what a change that keeps its place removed, not yet written.
    const double scale = show.state.fontSize * show.state.horizontalScaling;
    double pendingGap = 0;
    auto flushGap = [&]() {
        if (pendingGap != 0 && scale != 0) {
            pieces.push_back(Piece{false, formatPdfNumber(-pendingGap / scale * 1000.0), false, 0});
            pen += pendingGap;
        }
        pendingGap = 0;
    };
    std::string bytes;  // new bytes of the current string
    auto flushBytes = [&]() {
        if (!bytes.empty()) {
            appendString(pieces, bytes);
            bytes.clear();
        }
    };
    auto addBytes = [&](const std::string& more, double advance) {
        if (more.empty()) return;
        if (pendingGap != 0) {
            flushBytes();
            flushGap();
        }
        bytes += more;
        pen += advance;
    };
    std::size_t next = 0;     // the next change to write
    std::size_t stepped = 0;  // changes whose step is taken
    // Glyph `g` keeps its bytes and is written next: the changes before it moved it.
    auto keptGlyph = [&](std::size_t g) {
        if (stepped < next) {
            const double at = pen + pendingGap;
            out.steps.push_back({at, at - spaced.glyphs[g].penStart});
            stepped = next;
        }
    };
    auto writeChange = [&](std::size_t c) {
        if (betweenNew[c] == 0 || scale == 0) {
            addBytes(changes[c].bytes, newWidths[c]);
            return;
        }
        const std::vector<DecodedGlyph> glyphs = show.state.font->decode(changes[c].bytes);
        std::size_t offset = 0;
        for (std::size_t g = 0; g < glyphs.size(); ++g) {
            if (g > 0) {
                flushBytes();
                pieces.push_back(
                    Piece{false, formatPdfNumber(-betweenNew[c] / scale * 1000.0), false, 0});
                pen += betweenNew[c];
            }
            const std::size_t length = static_cast<std::size_t>(glyphs[g].byteLength);
            addBytes(changes[c].bytes.substr(offset, length), show.glyphAdvance(glyphs[g]));
            offset += length;
        }
    };
    std::size_t glyphIndex = 0;
    for (std::uint32_t e = 0; e < show.elements.size(); ++e) {
        const ShowElement& element = show.elements[e];
        if (!element.isString) {
            const std::size_t c = coveringChange(e, glyphIndex);
            if (c == kNone) {
                flushGap();
                pieces.push_back(Piece{false, {}, true, element.token});
                pen += show.adjustmentAdvance(element.adjustment);
            } else if (changes[c].keepsPlace) {
                pendingGap += show.adjustmentAdvance(element.adjustment);
            }
            continue;
        }
        const std::size_t first = glyphIndex;
        const std::size_t end = first + element.glyphs.size();
        bool touched = next < changes.size() &&
                       (changes[next].g0 < end ||
                        (changes[next].afterPrevious && changes[next].g0 == end && end > first));
        for (std::size_t g = first; g < end && !touched; ++g) touched = changeOf[g] != kNone;
        if (!touched) {
            if (end > first) keptGlyph(first);
            flushGap();
            pieces.push_back(Piece{true, element.bytes, true, element.token});
            for (std::size_t g = first; g < end; ++g) pen += spaced.glyphs[g].advance;
            glyphIndex = end;
            continue;
        }
        for (std::uint32_t g = 0; g < element.glyphs.size(); ++g, ++glyphIndex) {
            while (next < changes.size() && changes[next].g0 == glyphIndex &&
                   !changes[next].afterPrevious) {
                writeChange(next++);
            }
            const std::size_t c = changeOf[glyphIndex];
            if (c == kNone) {
                keptGlyph(glyphIndex);
                addBytes(glyphBytes(element, g), spaced.glyphs[glyphIndex].advance);
            } else if (changes[c].keepsPlace) {
                flushBytes();
                pendingGap += spaced.glyphs[glyphIndex].advance;
                if (glyphIndex == changes[c].g0) pendingGap += changes[c].shift;
            }
            while (next < changes.size() && changes[next].afterPrevious &&
                   changes[next].g0 == glyphIndex + 1) {
                writeChange(next++);
            }
        }
        flushBytes();
    }
    for (; next < changes.size(); ++next) {  // new text after the last glyph
        writeChange(next);
    }
    flushBytes();
    flushGap();
    if (pieces.empty()) {
        pieces.push_back(Piece{true, {}, false, 0});
    }
    out.advance = pen;
    if (stepped < changes.size()) {
        out.steps.push_back({pen, pen - show.totalAdvance()});
    }
    out.bytes = writeOperator(show, pieces);
    return out;
}

std::optional<std::string> rewriteShowText(const TextShow& show, const std::string& newText) {
    const SpacedText spaced = spaceText(show);
    std::optional<RewrittenShow> rewritten =
        rewriteShowHunks(show, spaced, diffByWords(spaced.text, newText));
    if (!rewritten) return std::nullopt;
    return std::move(rewritten->bytes);
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
