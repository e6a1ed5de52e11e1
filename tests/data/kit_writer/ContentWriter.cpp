#include "ContentWriter.h"

#include <array>
#include <charconv>
#include <cmath>

std::string formatNumber(double value) {
    double rounded = std::round(value * 1e6) / 1e6;
    if (rounded == 0) {
        rounded = 0;  // no "-0"
    }
    std::array<char, 64> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded,
                                std::chars_format::fixed, 6);
    std::string text(buffer.data(), result.ptr);
    while (!text.empty() && text.back() == '0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

ContentWriter& ContentWriter::num(double value) {
    data_ += formatNumber(value);
    data_ += ' ';
    return *this;
}

ContentWriter& ContentWriter::name(std::string_view name) {
    data_ += '/';
    data_ += name;
    data_ += ' ';
    return *this;
}

ContentWriter& ContentWriter::str(std::string_view codes) {
    static const char* digits = "01234567";
    data_ += '(';
    for (char c : codes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte == '(' || byte == ')' || byte == '\\') {
            data_ += '\\';
            data_ += c;
        } else if (byte < 32 || byte > 126) {
            data_ += '\\';
            data_ += digits[(byte >> 6) & 7];
            data_ += digits[(byte >> 3) & 7];
            data_ += digits[byte & 7];
        } else {
            data_ += c;
        }
    }
    data_ += ") ";
    return *this;
}

ContentWriter& ContentWriter::op(std::string_view op) {
    data_ += op;
    data_ += '\n';
    return *this;
}

ContentWriter& ContentWriter::beginText() {
    return op("BT");
}

ContentWriter& ContentWriter::endText() {
    return op("ET");
}

ContentWriter& ContentWriter::font(std::string_view resourceName, double size) {
    return name(resourceName).num(size).op("Tf");
}

ContentWriter& ContentWriter::moveText(double x, double y) {
    return num(x).num(y).op("Td");
}

ContentWriter& ContentWriter::textMatrix(double a, double b, double c, double d, double e,
                                         double f) {
    return num(a).num(b).num(c).num(d).num(e).num(f).op("Tm");
}

ContentWriter& ContentWriter::show(std::string_view codes) {
    return str(codes).op("Tj");
}

ContentWriter& ContentWriter::showArray(const std::vector<TjPart>& parts) {
    data_ += '[';
    for (const TjPart& part : parts) {
        if (part.isText) {
            str(part.codes);
        } else {
            num(part.adjust);
        }
    }
    data_ += "] ";
    return op("TJ");
}

ContentWriter& ContentWriter::textAt(std::string_view fontName, double size, double x, double y,
                                     std::string_view codes) {
    return beginText().font(fontName, size).moveText(x, y).show(codes).endText();
}
