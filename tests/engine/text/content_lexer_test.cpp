// Reading string operands of text operators and writing them back: the replacement re-encodes
// strings, so a byte that is read or written wrongly changes the page's text.

#include "pdf/content/content_lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using relettra::pdf::encodeStringToken;
using relettra::pdf::Operation;
using relettra::pdf::ParsedContent;
using relettra::pdf::stringValue;
using relettra::pdf::TokenKind;

// The value of the first operand of the first operation of `content`.
std::string firstOperandValue(const std::string& content) {
    ParsedContent parsed(content);
    if (parsed.operations().empty() || parsed.operations()[0].operandCount == 0) return "<none>";
    return stringValue(parsed, parsed.operand(parsed.operations()[0], 0));
}

TEST(ContentStringValue, LiteralAndHexStringsDecode) {
    struct Case {
        const char* name;
        std::string content;
        std::string value;
    };
    const Case cases[] = {
        {"plain", "(Hello) Tj", "Hello"},
        {"balanced parentheses", "(a(b)c) Tj", "a(b)c"},
        {"escaped parentheses and backslash", "(a\\(b\\)\\\\) Tj", "a(b)\\"},
        {"named escapes", "(\\n\\r\\t\\b\\f) Tj", "\n\r\t\b\f"},
        {"octal escapes of one to three digits", "(\\351\\0\\12x) Tj", std::string("\xE9\0\nx", 4)},
        {"backslash at line end continues the line", "(ab\\\ncd) Tj", "abcd"},
        {"bare CR LF inside a string reads as one line feed", "(a\r\nb) Tj", "a\nb"},
        {"unknown escape keeps the character", "(\\q) Tj", "q"},
        {"hex with white space", "<48 65 6C6c 6F> Tj", "Hello"},
        {"hex with odd digit count ends in zero", "<414> Tj", "A@"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstOperandValue(c.content), c.value) << c.name;
    }
}

TEST(ContentStringValue, EncodedStringsReadBackUnchanged) {
    const std::vector<std::string> values = {
        "Hello World", "a(b", "x)y",    "back\\slash", std::string("\0\x01\xFF", 3),
        "caf\xE9",     "",    "((()))",
    };
    for (const std::string& v : values) {
        const std::string token = encodeStringToken(v);
        EXPECT_EQ(firstOperandValue(token + " Tj"), v) << token;
    }
}

TEST(ContentStringValue, PrintableStringsStayLiteral) {
    EXPECT_EQ(encodeStringToken("Total"), "(Total)");
    EXPECT_EQ(encodeStringToken(std::string("\x01", 1)).front(), '<');
}

TEST(ParsedContent, InlineImageDataIsOneTokenAndBytesAreKept) {
    // The image data holds "Tj" and ")" bytes that must not be read as operators or strings.
    const std::string content =
        "q BI /W 4 /H 1 /BPC 8 /CS /G ID \x01Tj)EIx EI Q\nBT /F1 12 Tf (after) Tj ET";
    ParsedContent parsed(content);
    EXPECT_EQ(parsed.bytes(), content);
    std::vector<std::string> operators;
    int inlineData = 0;
    for (const Operation& op : parsed.operations()) {
        operators.emplace_back(parsed.operatorName(op));
    }
    for (const auto& token : parsed.tokens()) {
        if (token.kind == TokenKind::InlineImageData) ++inlineData;
    }
    EXPECT_EQ(inlineData, 1);
    EXPECT_EQ(operators,
              (std::vector<std::string>{"q", "BI", "ID", "EI", "Q", "BT", "Tf", "Tj", "ET"}));
    const Operation& tj = parsed.operations()[7];
    EXPECT_EQ(stringValue(parsed, parsed.operand(tj, 0)), "after");
}

}  // namespace
