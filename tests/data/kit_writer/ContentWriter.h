#pragma once

#include <string>
#include <string_view>
#include <vector>

// One element of a TJ array: either a string of character codes or a kerning
// number in thousandths of a text space unit.
struct TjPart {
    std::string codes;
    double adjust = 0;
    bool isText = true;

    static TjPart text(std::string codes) { return TjPart{std::move(codes), 0, true}; }
    static TjPart kern(double adjust) { return TjPart{{}, adjust, false}; }
};

// Builds the text of a content stream. Numbers are written independently of the
// locale, strings as PDF literal strings with everything outside printable ASCII
// escaped in octal, so the streams stay readable and byte-for-byte reproducible.
class ContentWriter {
  public:
    ContentWriter& num(double value);
    ContentWriter& name(std::string_view name);
    ContentWriter& str(std::string_view codes);
    ContentWriter& op(std::string_view op);

    ContentWriter& beginText();
    ContentWriter& endText();
    ContentWriter& font(std::string_view resourceName, double size);
    ContentWriter& moveText(double x, double y);
    ContentWriter& textMatrix(double a, double b, double c, double d, double e, double f);
    ContentWriter& show(std::string_view codes);
    ContentWriter& showArray(const std::vector<TjPart>& parts);

    // A whole BT ... ET block showing one string at (x, y) with the given font.
    ContentWriter& textAt(std::string_view fontName, double size, double x, double y,
                          std::string_view codes);

    const std::string& data() const { return data_; }

  private:
    std::string data_;
};

// Shortest decimal form of a number, at most six decimals, no exponent.
std::string formatNumber(double value);
