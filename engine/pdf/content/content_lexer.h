#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace relettra::pdf {

enum class TokenKind : std::uint8_t {
    Number,
    Name,
    LiteralString,
    HexString,
    ArrayOpen,
    ArrayClose,
    DictOpen,
    DictClose,
    Keyword,          // an operator, or true/false/null inside operands
    InlineImageData,  // the bytes between "ID" and "EI", the whitespace around them included
    Bad,
};

// One token of a content stream; its bytes are content[begin, end).
struct Token {
    TokenKind kind;
    std::uint32_t begin;
    std::uint32_t end;
};

// One operator with its operands: operands are tokens[firstOperand, firstOperand + count);
// nested arrays and dictionaries appear as their bracket tokens among them.
struct Operation {
    std::uint32_t firstOperand;
    std::uint32_t operandCount;
    std::uint32_t operatorToken;
};

// A content stream split into operations. Every byte stays where it was: the bytes between
// tokens (white space, comments) are never lost, so untouched parts can be copied exactly.
class ParsedContent {
  public:
    explicit ParsedContent(std::string content);

    const std::string& bytes() const { return content_; }
    const std::vector<Token>& tokens() const { return tokens_; }
    const std::vector<Operation>& operations() const { return operations_; }

    std::string_view text(const Token& t) const {
        return std::string_view(content_).substr(t.begin, t.end - t.begin);
    }
    std::string_view operatorName(const Operation& op) const {
        return text(tokens_[op.operatorToken]);
    }
    const Token& operand(const Operation& op, std::uint32_t i) const {
        return tokens_[op.firstOperand + i];
    }
    // Byte range of an operation: from its first operand (or operator) to the operator's end.
    std::uint32_t beginOf(const Operation& op) const;
    std::uint32_t endOf(const Operation& op) const { return tokens_[op.operatorToken].end; }

  private:
    void lex();
    std::string content_;
    std::vector<Token> tokens_;
    std::vector<Operation> operations_;
};

// The value of a number token (0 for anything that is not a number).
double numberValue(std::string_view text);
// The bytes a string token stands for (literal escapes resolved, hex digits decoded).
std::string stringValue(const ParsedContent& content, const Token& token);
// The same into `out`, reusing its storage.
void stringValueInto(const ParsedContent& content, const Token& token, std::string& out);

// A string as a content stream writes it: literal when all bytes are printable ASCII,
// hexadecimal otherwise.
std::string encodeStringToken(const std::string& bytes);

}  // namespace relettra::pdf
