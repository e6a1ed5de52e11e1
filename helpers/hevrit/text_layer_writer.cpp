#include "text_layer_writer.h"

namespace {

// The frame after the words. No line names a position or size, so each reads as left 0 and
// top 0; without a DOCTYPE the browser's quirks mode takes the words' unitless lengths as
// pixels.
const char* const kFrameStart =
    "<html><head><meta charset=\"utf-8\"><title>Text layer</title>\n"
    "<style>body{margin:0}img{display:block}"
    "span.w{position:absolute;z-index:1;color:transparent;white-space:pre;overflow:hidden;"
    "outline:1px solid rgba(0,96,255,0.45)}</style>\n"
    "</head><body>\n";
const char* const kFrameEnd = "</body></html>\n";

void appendNumber(std::string& out, int value) {
    // Written digit by digit: independent of the locale.
    out += std::to_string(value < 0 ? 0 : value);
}

// A file name as a relative URL inside an attribute value: characters with a meaning there
// are percent-encoded.
std::string fileNameUrl(const std::string& name) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    for (char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F ||
            std::string("\"%#?&<>'\\").find(c) != std::string::npos) {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string escapeWordText(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F) {
            continue;
        }
        // C1 controls U+0080..U+009F are encoded as C2 80..C2 9F.
        if (c == 0xC2 && i + 1 < utf8.size()) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + 1]);
            if (next >= 0x80 && next <= 0x9F) {
                ++i;
                continue;
            }
        }
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += static_cast<char>(c);
        }
    }
    return out;
}

std::string formatTextLayer(const std::vector<LayerWord>& words, const std::string& imageFileName) {
    std::string out;
    out.reserve(words.size() * 80 + 512);
    for (const LayerWord& word : words) {
        const std::string text = escapeWordText(word.text);
        if (text.empty()) {
            continue;
        }
        RuleBox box = word.box;
        if (box.left <= 0 && box.top <= 0) {
            // Left and top both 0 would end the front end's reading; the engine does not
            // compare a rule's left, so the word moves one pixel right instead.
            box.left = 1;
        }
        out += "<span class=\"w\" style=\"left:";
        appendNumber(out, box.left);
        out += ";top:";
        appendNumber(out, box.top);
        out += ";width:";
        appendNumber(out, box.width);
        out += ";height:";
        appendNumber(out, box.height);
        out += "\">";
        out += text;
        out += "</span>\n";
    }
    out += kFrameStart;
    if (!imageFileName.empty()) {
        out += "<img src=\"" + fileNameUrl(imageFileName) + "\" alt=\"\">\n";
    }
    out += kFrameEnd;
    return out;
}
