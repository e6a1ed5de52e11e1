#include "pdf/content/content_lexer.h"

#include <limits>
#include <stdexcept>

#include "pdf/basics/pdf_string.h"

namespace relettra::pdf {

namespace {

bool isWhite(unsigned char c) {
    return c == 0 || c == 9 || c == 10 || c == 12 || c == 13 || c == 32;
}

bool isDelimiter(unsigned char c) {
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
           c == '}' || c == '/' || c == '%';
}

bool isRegular(unsigned char c) {
    return !isWhite(c) && !isDelimiter(c);
}

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool looksNumeric(std::string_view t) {
    if (t.empty()) return false;
    bool digit = false;
    for (size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (!(c == '.' || ((c == '+' || c == '-') && i == 0))) {
            return false;
        }
    }
    return digit;
}

}  // namespace

ParsedContent::ParsedContent(std::string content) : content_(std::move(content)) {
    if (content_.size() >= std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("content stream too large");
    }
    lex();
}

std::uint32_t ParsedContent::beginOf(const Operation& op) const {
    return op.operandCount > 0 ? tokens_[op.firstOperand].begin : tokens_[op.operatorToken].begin;
}

void ParsedContent::lex() {
    const std::string& s = content_;
    const size_t n = s.size();
    size_t i = 0;
    std::uint32_t operandStart = 0;
    tokens_.reserve(n / 4);
    operations_.reserve(n / 16);
    auto push = [&](TokenKind kind, size_t b, size_t e) {
        tokens_.push_back(
            Token{kind, static_cast<std::uint32_t>(b), static_cast<std::uint32_t>(e)});
    };
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (isWhite(c)) {
            ++i;
            continue;
        }
        if (c == '%') {  // comment up to the line end
            while (i < n && s[i] != '\r' && s[i] != '\n') ++i;
            continue;
        }
        size_t b = i;
        if (c == '(') {
            int depth = 1;
            ++i;
            while (i < n && depth > 0) {
                char d = s[i];
                if (d == '\\') {
                    i += 2;
                    continue;
                }
                if (d == '(') ++depth;
                if (d == ')') --depth;
                ++i;
            }
            push(TokenKind::LiteralString, b, std::min(i, n));
            i = std::min(i, n);
            continue;
        }
        if (c == '<') {
            if (i + 1 < n && s[i + 1] == '<') {
                push(TokenKind::DictOpen, b, i + 2);
                i += 2;
                continue;
            }
            size_t close = s.find('>', i + 1);
            i = close == std::string::npos ? n : close + 1;
            push(TokenKind::HexString, b, i);
            continue;
        }
        if (c == '>') {
            if (i + 1 < n && s[i + 1] == '>') {
                push(TokenKind::DictClose, b, i + 2);
                i += 2;
            } else {
                push(TokenKind::Bad, b, i + 1);
                ++i;
            }
            continue;
        }
        if (c == '[' || c == ']') {
            push(c == '[' ? TokenKind::ArrayOpen : TokenKind::ArrayClose, b, i + 1);
            ++i;
            continue;
        }
        if (c == '{' || c == '}' || c == ')') {
            push(TokenKind::Bad, b, i + 1);
            ++i;
            continue;
        }
        if (c == '/') {
            ++i;
            while (i < n && isRegular(static_cast<unsigned char>(s[i]))) ++i;
            push(TokenKind::Name, b, i);
            continue;
        }
        while (i < n && isRegular(static_cast<unsigned char>(s[i]))) ++i;
        std::string_view word(s.data() + b, i - b);
        if (looksNumeric(word)) {
            push(TokenKind::Number, b, i);
            continue;
        }
        if (word == "true" || word == "false" || word == "null") {
            push(TokenKind::Keyword, b, i);
            continue;
        }
        // An operator ends the current operation.
        push(TokenKind::Keyword, b, i);
        std::uint32_t opToken = static_cast<std::uint32_t>(tokens_.size() - 1);
        operations_.push_back(Operation{operandStart, opToken - operandStart, opToken});
        operandStart = opToken + 1;
        if (word == "ID") {
            // Inline image data: one white-space byte, then binary data up to "EI" standing
            // alone between white space (or the end of the stream).
            size_t dataBegin = i;
            size_t j = i + 1;
            size_t end = n;
            while (j + 1 < n) {
                if (s[j] == 'E' && s[j + 1] == 'I' &&
                    isWhite(static_cast<unsigned char>(s[j - 1])) &&
                    (j + 2 == n || isWhite(static_cast<unsigned char>(s[j + 2])))) {
                    end = j;
                    break;
                }
                ++j;
            }
            push(TokenKind::InlineImageData, dataBegin, end);
            // The data belongs to the EI operation that follows.
            operandStart = static_cast<std::uint32_t>(tokens_.size() - 1);
            i = end;
        }
    }
}

double numberValue(std::string_view t) {
    double value = 0;
    double scale = 0;
    bool negative = false;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9') {
            if (scale == 0) {
                value = value * 10 + (c - '0');
            } else {
                value += (c - '0') * scale;
                scale /= 10;
            }
        } else if (c == '.' && scale == 0) {
            scale = 0.1;
        } else {
            break;
        }
    }
    return negative ? -value : value;
}

std::string stringValue(const ParsedContent& content, const Token& token) {
    std::string out;
    stringValueInto(content, token, out);
    return out;
}

void stringValueInto(const ParsedContent& content, const Token& token, std::string& out) {
    std::string_view t = content.text(token);
    out.clear();
    if (token.kind == TokenKind::HexString) {
        int pending = -1;
        for (size_t i = 1; i < t.size(); ++i) {
            int v = hexValue(static_cast<unsigned char>(t[i]));
            if (v < 0) continue;
            if (pending < 0) {
                pending = v;
            } else {
                out.push_back(static_cast<char>(pending * 16 + v));
                pending = -1;
            }
        }
        if (pending >= 0) out.push_back(static_cast<char>(pending * 16));
        return;
    }
    if (token.kind != TokenKind::LiteralString || t.size() < 2) {
        return;
    }
    size_t end = t.back() == ')' ? t.size() - 1 : t.size();
    // Most strings hold neither escapes nor line ends: their bytes are the string itself.
    std::string_view inner = t.substr(1, end - 1);
    if (inner.find_first_of("\\\r") == std::string_view::npos) {
        out.assign(inner.data(), inner.size());
        return;
    }
    appendLiteralStringBytes(inner, out);
}

std::string encodeStringToken(const std::string& bytes) {
    bool printable = true;
    for (unsigned char c : bytes) {
        if (c < 32 || c > 126) {
            printable = false;
            break;
        }
    }
    if (printable) {
        std::string out = "(";
        for (char c : bytes) {
            if (c == '(' || c == ')' || c == '\\') out.push_back('\\');
            out.push_back(c);
        }
        out.push_back(')');
        return out;
    }
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "<";
    for (unsigned char c : bytes) {
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 15]);
    }
    out.push_back('>');
    return out;
}

}  // namespace relettra::pdf
