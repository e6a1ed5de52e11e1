#include "pdf/forms/field_layout.h"

#include <algorithm>
#include <unordered_map>

namespace relettra::pdf {

namespace {

// Line height per unit font size; a single line's automatic size leaves this share of the box.
constexpr double kLineFactor = 1.15;
constexpr double kAutoSingleLineFactor = 1.35;
constexpr double kAutoMultilineStart = 12;
constexpr double kSmallestSize = 2;

// The byte length of the UTF-8 sequence a lead byte starts (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

// The byte offsets where the characters of `text` start, and its size at the end.
std::vector<std::size_t> characterStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size();) {
        starts.push_back(i);
        i = std::min(text.size(), i + sequenceLength(static_cast<unsigned char>(text[i])));
    }
    starts.push_back(text.size());
    return starts;
}

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The value's paragraphs: its text between line breaks (CR, LF or CR LF).
std::vector<Span> paragraphsOf(const std::string& value) {
    std::vector<Span> paragraphs;
    std::size_t start = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\r' && value[i] != '\n') continue;
        paragraphs.push_back({start, i});
        if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
        start = i + 1;
    }
    paragraphs.push_back({start, value.size()});
    return paragraphs;
}

// The characters of a paragraph with their advances per unit size, each measured once.
struct MeasuredParagraph {
    Span span;
    std::vector<std::size_t> starts;  // byte offsets in the value, and the paragraph's end
    std::vector<double> widths;       // per character
};

MeasuredParagraph measure(const std::string& value, Span paragraph,
                          std::unordered_map<std::string, double>& known,
                          const TextAdvance& advance) {
    MeasuredParagraph measured;
    measured.span = paragraph;
    const std::string text = value.substr(paragraph.begin, paragraph.end - paragraph.begin);
    for (std::size_t start : characterStarts(text)) {
        measured.starts.push_back(paragraph.begin + start);
    }
    for (std::size_t k = 0; k + 1 < measured.starts.size(); ++k) {
        const std::string character =
            value.substr(measured.starts[k], measured.starts[k + 1] - measured.starts[k]);
        auto found = known.find(character);
        if (found == known.end()) found = known.emplace(character, advance(character)).first;
        measured.widths.push_back(found->second);
    }
    return measured;
}

// A paragraph broken into lines no wider than `room` at `size`: at spaces, or inside a word
// that alone is wider (one character at least per line). The spaces at a break belong to no
// line.
std::vector<Span> wrapParagraph(const std::string& value, const MeasuredParagraph& paragraph,
                                double room, double size) {
    const std::size_t count = paragraph.widths.size();
    const auto isSpace = [&](std::size_t k) { return value[paragraph.starts[k]] == ' '; };
    std::vector<Span> lines;
    std::size_t k = 0;
    while (k < count) {
        const std::size_t first = k;
        double width = 0;
        std::size_t lastBreak = std::string::npos;  // a space that follows a letter
        for (; k < count; ++k) {
            if (isSpace(k) && k > first && !isSpace(k - 1)) lastBreak = k;
            const double next = paragraph.widths[k] * size;
            if (k > first && width + next > room) break;
            width += next;
        }
        std::size_t end = k;
        if (k < count && !isSpace(k) && lastBreak != std::string::npos) {
            end = lastBreak;
            k = lastBreak;
        }
        lines.push_back({paragraph.starts[first], paragraph.starts[end]});
        while (k < count && isSpace(k)) ++k;
    }
    if (lines.empty()) lines.push_back({paragraph.span.begin, paragraph.span.begin});
    return lines;
}

double lineStart(const FieldLayoutStyle& style, double lineWidth) {
    switch (style.quadding) {
        case 1:
            return (style.width - lineWidth) / 2;
        case 2:
            return style.width - style.padding - lineWidth;
        default:
            return style.padding;
    }
}

double singleLineBaseline(const FieldLayoutStyle& style, double size) {
    return (style.height - (style.ascent - style.descent) * size) / 2 - style.descent * size;
}

FieldLayout layOutComb(const std::string& value, const FieldLayoutStyle& style, double size,
                       const TextAdvance& advance) {
    FieldLayout layout;
    layout.fontSize = size;
    const double cell = style.width / style.combCells;
    const std::vector<std::size_t> starts = characterStarts(value);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        const std::string character = value.substr(starts[k], starts[k + 1] - starts[k]);
        if (character == "\r" || character == "\n") continue;
        const double x = cell * static_cast<double>(layout.pieces.size()) +
                         (cell - advance(character) * size) / 2;
        layout.pieces.push_back({character, starts[k], x, singleLineBaseline(style, size)});
    }
    return layout;
}

std::vector<Span> linesAt(const std::string& value,
                          const std::vector<MeasuredParagraph>& paragraphs,
                          const FieldLayoutStyle& style, double size) {
    std::vector<Span> lines;
    const double room = std::max(0.0, style.width - 2 * style.padding);
    for (const MeasuredParagraph& paragraph : paragraphs) {
        for (const Span& line : wrapParagraph(value, paragraph, room, size)) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace

FieldLayout layOutFieldValue(const std::string& value, const FieldLayoutStyle& style,
                             const TextAdvance& advance) {
    const double room = std::max(0.0, style.width - 2 * style.padding);
    double size = style.fontSize;
    if (style.combCells > 0) {
        if (size <= 0) size = std::max(kSmallestSize, style.height / kAutoSingleLineFactor);
        return layOutComb(value, style, size, advance);
    }
    FieldLayout layout;
    if (!style.multiline) {
        // One line: the paragraphs one after another, a space apart.
        const std::vector<Span> paragraphs = paragraphsOf(value);
        const double gap = advance(" ");
        double width = 0;
        for (const Span& p : paragraphs) {
            width += advance(value.substr(p.begin, p.end - p.begin));
        }
        width += gap * static_cast<double>(paragraphs.size() - 1);
        if (size <= 0) {
            size = std::max(kSmallestSize, style.height / kAutoSingleLineFactor);
            if (width * size > room && width > 0) size = std::max(kSmallestSize, room / width);
        }
        layout.fontSize = size;
        double x = lineStart(style, width * size);
        for (const Span& p : paragraphs) {
            const std::string text = value.substr(p.begin, p.end - p.begin);
            layout.pieces.push_back({text, p.begin, x, singleLineBaseline(style, size)});
            x += (advance(text) + gap) * size;
        }
        return layout;
    }
    std::unordered_map<std::string, double> known;
    std::vector<MeasuredParagraph> paragraphs;
    for (const Span& paragraph : paragraphsOf(value)) {
        paragraphs.push_back(measure(value, paragraph, known, advance));
    }
    std::vector<Span> lines;
    if (size > 0) {
        lines = linesAt(value, paragraphs, style, size);
    } else {
        // The largest size from 12 down whose lines fit the box's height.
        const double roomHeight = style.height - 2 * style.padding;
        for (size = kAutoMultilineStart;; size -= 0.5) {
            lines = linesAt(value, paragraphs, style, size);
            const double needed = static_cast<double>(lines.size()) * size * kLineFactor;
            if (needed <= roomHeight || size - 0.5 < kSmallestSize) break;
        }
    }
    layout.fontSize = size;
    double y = style.height - style.padding - style.ascent * size;
    for (const Span& line : lines) {
        const std::string text = value.substr(line.begin, line.end - line.begin);
        layout.pieces.push_back({text, line.begin, lineStart(style, advance(text) * size), y});
        y -= size * kLineFactor;
    }
    return layout;
}

bool textBoxInLayout(const FieldLayout& layout, const FieldLayoutStyle& style, std::size_t begin,
                     std::size_t end, const TextAdvance& advance, double box[4]) {
    bool found = false;
    const double size = layout.fontSize;
    for (const PlacedText& piece : layout.pieces) {
        const std::size_t pieceEnd = piece.begin + piece.text.size();
        if (end <= piece.begin || begin >= pieceEnd) continue;
        const std::size_t from = std::max(begin, piece.begin) - piece.begin;
        const std::size_t to = std::min(end, pieceEnd) - piece.begin;
        const double x0 = piece.x + advance(piece.text.substr(0, from)) * size;
        const double x1 = piece.x + advance(piece.text.substr(0, to)) * size;
        const double y0 = piece.y + style.descent * size;
        const double y1 = piece.y + style.ascent * size;
        if (!found) {
            box[0] = x0, box[1] = y0, box[2] = x1, box[3] = y1;
            found = true;
        } else {
            box[0] = std::min(box[0], x0), box[1] = std::min(box[1], y0);
            box[2] = std::max(box[2], x1), box[3] = std::max(box[3], y1);
        }
    }
    return found;
}

}  // namespace relettra::pdf
