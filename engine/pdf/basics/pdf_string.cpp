#include "pdf/basics/pdf_string.h"

namespace relettra::pdf {

void appendLiteralStringBytes(std::string_view t, std::string& out) {
    const size_t end = t.size();
    out.reserve(out.size() + end);
    for (size_t i = 0; i < end; ++i) {
        char c = t[i];
        if (c == '\r') {  // an end of line inside a string reads as one line feed
            out.push_back('\n');
            if (i + 1 < end && t[i + 1] == '\n') ++i;
            continue;
        }
        if (c != '\\' || i + 1 >= end) {
            out.push_back(c);
            continue;
        }
        char e = t[++i];
        switch (e) {
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case '\r':
                if (i + 1 < end && t[i + 1] == '\n') ++i;
                break;
            case '\n':
                break;
            default:
                if (e >= '0' && e <= '7') {
                    int v = e - '0';
                    for (int k = 0; k < 2 && i + 1 < end && t[i + 1] >= '0' && t[i + 1] <= '7';
                         ++k) {
                        v = v * 8 + (t[++i] - '0');
                    }
                    out.push_back(static_cast<char>(v & 0xFF));
                } else {
                    out.push_back(e);
                }
        }
    }
}

}  // namespace relettra::pdf
