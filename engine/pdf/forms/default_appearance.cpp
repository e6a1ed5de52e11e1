#include "pdf/forms/default_appearance.h"

#include <string_view>

#include "pdf/basics/pdf_number.h"
#include "pdf/content/content_lexer.h"

namespace relettra::pdf {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A name token's characters without its slash, #xx escapes resolved (as resource keys are).
std::string nameCharacters(std::string_view token) {
    std::string name;
    for (size_t i = 1; i < token.size(); ++i) {
        if (token[i] == '#' && i + 2 < token.size() && hexDigit(token[i + 1]) >= 0 &&
            hexDigit(token[i + 2]) >= 0) {
            name += static_cast<char>(hexDigit(token[i + 1]) * 16 + hexDigit(token[i + 2]));
            i += 2;
        } else {
            name += token[i];
        }
    }
    return name;
}

}  // namespace

DefaultAppearance parseDefaultAppearance(const std::string& da) {
    DefaultAppearance appearance;
    const ParsedContent content(da);
    for (const Operation& op : content.operations()) {
        if (content.operatorName(op) != "Tf") {
            if (!appearance.colour.empty()) appearance.colour += ' ';
            appearance.colour +=
                da.substr(content.beginOf(op), content.endOf(op) - content.beginOf(op));
            continue;
        }
        if (op.operandCount < 2) continue;
        const Token& name = content.operand(op, op.operandCount - 2);
        const Token& size = content.operand(op, op.operandCount - 1);
        if (name.kind != TokenKind::Name || size.kind != TokenKind::Number) continue;
        appearance.fontName = nameCharacters(content.text(name));
        const double value = numberValue(content.text(size));
        appearance.fontSize = value > 0 ? value : 0;
    }
    return appearance;
}

std::string nameToken(const std::string& name) {
    static const char* const kDigits = "0123456789ABCDEF";
    std::string token = "/";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool regular = byte > 0x20 && byte < 0x7F &&
                             std::string_view("#()<>[]{}/%").find(c) == std::string_view::npos;
        if (regular) {
            token += c;
        } else {
            token += '#';
            token += kDigits[byte >> 4];
            token += kDigits[byte & 0xF];
        }
    }
    return token;
}

std::string formatDefaultAppearance(const DefaultAppearance& appearance) {
    std::string da = appearance.colour;
    if (!appearance.fontName.empty()) {
        if (!da.empty()) da += ' ';
        da += nameToken(appearance.fontName) + " " + formatPdfNumber(appearance.fontSize) + " Tf";
    }
    return da;
}

}  // namespace relettra::pdf
