#include "page_words.h"

#include <poppler-page.h>

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

// The library's own conversion opens a character-set converter for every word, which cost
// about a tenth of a text-only run; UTF-16 to UTF-8 is done here instead. A lone surrogate
// becomes U+FFFD.
std::string utf16ToUtf8(const std::basic_string<unsigned short>& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
        }
    }
    return out;
}

std::vector<PageWord> readPageWords(const poppler::page& page) {
    std::vector<PageWord> words;
    std::vector<poppler::text_box> boxes = page.text_list(poppler::page::text_list_include_font);
    words.reserve(boxes.size());
    for (const poppler::text_box& box : boxes) {
        const poppler::rectf bounds = box.bbox();
        PageWord word;
        word.text = utf16ToUtf8(box.text());
        word.geometry.xMin = bounds.left();
        word.geometry.yMin = bounds.top();
        word.geometry.xMax = bounds.right();
        word.geometry.yMax = bounds.bottom();
        word.geometry.rotation = box.rotation();
        word.geometry.fontSize = box.has_font_info() ? box.get_font_size() : 0;
        words.push_back(std::move(word));
    }
    return words;
}
