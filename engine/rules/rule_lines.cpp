#include "rules/rule_lines.h"

#include <cctype>
#include <cstdio>
#include <locale>
#include <sstream>

#include "base/leading_number.h"
#include "marqel/page_units.h"

namespace {

// Walks a rule line field by field. A field runs up to its terminator, which is stepped over;
// once a terminator is missing, the field runs to the end and every later field is empty.
class FieldCursor {
  public:
    explicit FieldCursor(const std::string& line) : line_(line) {}

    std::string until(char terminator, size_t stepOver = 1) {
        if (pos_ >= line_.size()) {
            return {};
        }
        size_t end = line_.find(terminator, pos_);
        if (end == std::string::npos) {
            std::string field = line_.substr(pos_);
            pos_ = line_.size();
            return field;
        }
        std::string field = line_.substr(pos_, end - pos_);
        pos_ = end + stepOver;
        return field;
    }

    // The find text: up to the first ":" that is not followed by another ":".
    std::string findText() {
        std::string field;
        while (pos_ < line_.size()) {
            char c = line_[pos_++];
            if (c == ':') {
                if (pos_ < line_.size() && line_[pos_] == ':') {
                    field += ':';
                    continue;
                }
                return field;
            }
            field += c;
        }
        return field;
    }

    std::string rest() {
        if (pos_ >= line_.size()) {
            return {};
        }
        std::string field = line_.substr(pos_);
        pos_ = line_.size();
        return field;
    }

  private:
    const std::string& line_;
    size_t pos_ = 0;
};

}  // namespace

double ReadLeadingDouble(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    // The longest prefix that looks like a decimal number, read in the classic locale.
    size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
                ++j;
            }
            i = j;
        }
    }
    std::istringstream in(text.substr(start, i - start));
    in.imbue(std::locale::classic());
    double value = 0.0;
    in >> value;
    return in.fail() ? 0.0 : value;
}

int PixelsToPoints(int pixels) {
    return marqel::pixelsToPoints(pixels);
}

double PixelsToPoints(double pixels) {
    return marqel::pixelsToPoints(pixels);
}

TextRuleLine ParseTextRuleLine(const std::string& line) {
    FieldCursor cursor(line);
    TextRuleLine rule;
    rule.page = ReadLeadingInt(cursor.until('-').c_str());
    rule.left = ReadLeadingInt(cursor.until('-').c_str());
    rule.top = ReadLeadingInt(cursor.until('-').c_str());
    rule.width = ReadLeadingInt(cursor.until('-').c_str());
    rule.height = ReadLeadingInt(cursor.until(':').c_str());
    rule.find = cursor.findText();
    rule.replace = cursor.rest();
    return rule;
}

ImageRuleLine ParseImageRuleLine(const std::string& line) {
    FieldCursor cursor(line);
    ImageRuleLine rule;
    rule.page = ReadLeadingInt(cursor.until(':').c_str());
    rule.left = ReadLeadingDouble(cursor.until(':'));
    rule.top = ReadLeadingDouble(cursor.until(':', 2));
    rule.imagePath = cursor.until(')', 2);
    rule.width = ReadLeadingDouble(cursor.until(':'));
    rule.height = ReadLeadingDouble(cursor.rest());
    return rule;
}

std::string ImageRuleValuesText(const ImageRuleLine& rule) {
    // The engine never sets a locale: "%f" writes a decimal point.
    char number[512];  // the largest double takes 316 characters
    auto line = [&number](const char* label, double value) {
        std::snprintf(number, sizeof number, "%f", value);
        return std::string(label) + number + "\n";
    };
    return line("x pos is :", rule.left) + line("y pos is :", rule.top) +
           "jpeg is :" + rule.imagePath + "\n" + line("width is :", rule.width) +
           line("height is :", rule.height);
}
