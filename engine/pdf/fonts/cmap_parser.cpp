#include "pdf/fonts/cmap_parser.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "pdf/basics/pdf_string.h"
#include "pdf/basics/utf8.h"
#include "pdf/fonts/glyph_names.h"

namespace relettra::pdf {
namespace {

enum class TokenType { HexString, LiteralString, Name, Number, Word, ArrayStart, ArrayEnd, End };

struct Token {
    TokenType type = TokenType::End;
    std::string text;  // decoded bytes for strings, the name without '/', the word itself
};

bool isDelimiter(char c) {
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
           c == '}' || c == '/' || c == '%';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A minimal PostScript tokenizer, enough for the CMaps PDF producers write.
class Tokenizer {
  public:
    explicit Tokenizer(const std::string& text) : text_(text) {}

    Token next() {
        skipSpaceAndComments();
        Token token;
        if (pos_ >= text_.size()) return token;
        const char c = text_[pos_];
        if (c == '<') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '<') {
                pos_ += 2;
                token.type = TokenType::Word;
                token.text = "<<";
                return token;
            }
            ++pos_;
            token.type = TokenType::HexString;
            int high = -1;
            while (pos_ < text_.size() && text_[pos_] != '>') {
                const int digit = hexDigit(text_[pos_++]);
                if (digit < 0) continue;
                if (high < 0) {
                    high = digit;
                } else {
                    token.text.push_back(static_cast<char>(high * 16 + digit));
                    high = -1;
                }
            }
            if (high >= 0) token.text.push_back(static_cast<char>(high * 16));
            ++pos_;
            return token;
        }
        if (c == '>') {
            pos_ += (pos_ + 1 < text_.size() && text_[pos_ + 1] == '>') ? 2 : 1;
            token.type = TokenType::Word;
            token.text = ">>";
            return token;
        }
        if (c == '(') {
            token.type = TokenType::LiteralString;
            readLiteral(token.text);
            return token;
        }
        if (c == '[' || c == ']') {
            ++pos_;
            token.type = c == '[' ? TokenType::ArrayStart : TokenType::ArrayEnd;
            return token;
        }
        if (c == '/') {
            ++pos_;
            token.type = TokenType::Name;
            token.text = readRegular();
            return token;
        }
        if (isDelimiter(c)) {  // stray ')', '{', '}'
            ++pos_;
            token.type = TokenType::Word;
            token.text = std::string(1, c);
            return token;
        }
        token.text = readRegular();
        const bool numeric =
            !token.text.empty() && std::all_of(token.text.begin(), token.text.end(), [](char d) {
                return std::isdigit(static_cast<unsigned char>(d)) || d == '-' || d == '+' ||
                       d == '.';
            });
        token.type = numeric ? TokenType::Number : TokenType::Word;
        return token;
    }

  private:
    void skipSpaceAndComments() {
        while (pos_ < text_.size()) {
            if (isSpace(text_[pos_])) {
                ++pos_;
            } else if (text_[pos_] == '%') {
                while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
            } else {
                break;
            }
        }
    }

    std::string readRegular() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !isSpace(text_[pos_]) && !isDelimiter(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    void readLiteral(std::string& out) {
        ++pos_;  // '('
        const std::size_t start = pos_;
        int depth = 1;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '\\') {
                ++pos_;
            } else if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth == 0) {
                appendLiteralStringBytes(std::string_view(text_).substr(start, pos_ - 1 - start),
                                         out);
                return;
            }
        }
        appendLiteralStringBytes(std::string_view(text_).substr(start), out);
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

std::uint32_t bytesToCode(const std::string& bytes) {
    std::uint32_t code = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i)
        code = (code << 8) | static_cast<unsigned char>(bytes[i]);
    return code;
}

bool isString(const Token& t) {
    return t.type == TokenType::HexString || t.type == TokenType::LiteralString;
}

// Destination of a bfchar entry: UTF-16BE bytes, or a glyph name.
std::string destinationUtf8(const Token& t) {
    if (t.type == TokenType::Name) return glyphNameToUnicode(t.text);
    return utf16BeToUtf8(t.text);
}

}  // namespace

bool CodespaceRange::contains(const unsigned char* bytes, int count) const {
    if (count != length) return false;
    for (int i = 0; i < length; ++i) {
        const int shift = 8 * (length - 1 - i);
        const unsigned lo = (low >> shift) & 0xFF;
        const unsigned hi = (high >> shift) & 0xFF;
        if (bytes[i] < lo || bytes[i] > hi) return false;
    }
    return true;
}

CMap CMap::identity(bool vertical) {
    CMap cmap;
    cmap.codespaces_.push_back({2, 0x0000, 0xFFFF});
    cmap.identity_ = true;
    cmap.wMode_ = vertical ? 1 : 0;
    return cmap;
}

CMap CMap::parse(const std::string& text) {
    CMap cmap;
    Tokenizer tokenizer(text);
    std::vector<Token> operands;
    const auto take = [&]() { return tokenizer.next(); };

    while (true) {
        Token token = take();
        if (token.type == TokenType::End) break;
        if (token.type != TokenType::Word) {
            operands.push_back(std::move(token));
            if (operands.size() > 8) operands.erase(operands.begin());
            continue;
        }
        const std::string& word = token.text;
        if (word == "begincodespacerange") {
            while (true) {
                Token low = take();
                if (!isString(low)) break;
                Token high = take();
                if (!isString(high)) break;
                const int length = static_cast<int>(std::clamp<std::size_t>(low.text.size(), 1, 4));
                cmap.codespaces_.push_back({length, bytesToCode(low.text), bytesToCode(high.text)});
            }
        } else if (word == "beginbfchar") {
            while (true) {
                Token src = take();
                if (!isString(src)) break;
                Token dst = take();
                if (dst.type == TokenType::End || dst.type == TokenType::Word) break;
                cmap.bfSingles_[bytesToCode(src.text)] = destinationUtf8(dst);
            }
        } else if (word == "beginbfrange") {
            while (true) {
                Token low = take();
                if (!isString(low)) break;
                Token high = take();
                if (!isString(high)) break;
                const std::uint32_t lo = bytesToCode(low.text);
                const std::uint32_t hi = std::max(lo, bytesToCode(high.text));
                Token dst = take();
                if (dst.type == TokenType::ArrayStart) {
                    std::uint32_t code = lo;
                    while (true) {
                        Token item = take();
                        if (item.type == TokenType::ArrayEnd || item.type == TokenType::End) break;
                        if (code <= hi) cmap.bfSingles_[code] = destinationUtf8(item);
                        ++code;
                    }
                } else if (isString(dst)) {
                    cmap.bfRanges_.push_back({lo, hi, dst.text});
                } else if (dst.type == TokenType::Name) {
                    cmap.bfSingles_[lo] = glyphNameToUnicode(dst.text);
                } else {
                    break;
                }
            }
        } else if (word == "begincidchar") {
            while (true) {
                Token src = take();
                if (!isString(src)) break;
                Token cid = take();
                if (cid.type != TokenType::Number) break;
                cmap.cidSingles_[bytesToCode(src.text)] = static_cast<std::uint32_t>(
                    std::max(0L, std::strtol(cid.text.c_str(), nullptr, 10)));
            }
        } else if (word == "begincidrange") {
            while (true) {
                Token low = take();
                if (!isString(low)) break;
                Token high = take();
                if (!isString(high)) break;
                Token cid = take();
                if (cid.type != TokenType::Number) break;
                const std::uint32_t lo = bytesToCode(low.text);
                cmap.cidRanges_.push_back({lo, std::max(lo, bytesToCode(high.text)),
                                           static_cast<std::uint32_t>(std::max(
                                               0L, std::strtol(cid.text.c_str(), nullptr, 10)))});
            }
        } else if (word == "def" && operands.size() >= 2 &&
                   operands[operands.size() - 2].type == TokenType::Name &&
                   operands[operands.size() - 2].text == "WMode") {
            cmap.wMode_ = operands.back().text == "1" ? 1 : 0;
        } else if (word == "usecmap" && !operands.empty() &&
                   operands.back().type == TokenType::Name) {
            cmap.useCMap_ = operands.back().text;
            if (cmap.useCMap_ == "Identity-H" || cmap.useCMap_ == "Identity-V") {
                cmap.identity_ = true;
                if (cmap.codespaces_.empty()) cmap.codespaces_.push_back({2, 0x0000, 0xFFFF});
            }
        }
        operands.clear();
    }
    cmap.finish();
    return cmap;
}

void CMap::finish() {
    std::sort(bfRanges_.begin(), bfRanges_.end(),
              [](const BfRange& a, const BfRange& b) { return a.low < b.low; });
    std::sort(cidRanges_.begin(), cidRanges_.end(),
              [](const CidRange& a, const CidRange& b) { return a.low < b.low; });
}

int CMap::codeLength(const std::string& bytes, std::size_t pos, int fallback) const {
    const std::size_t remaining = bytes.size() - pos;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data() + pos);
    if (codespaces_.empty()) return static_cast<int>(std::min<std::size_t>(fallback, remaining));
    for (int n = 1; n <= 4 && static_cast<std::size_t>(n) <= remaining; ++n) {
        for (const auto& range : codespaces_) {
            if (range.contains(data, n)) return n;
        }
    }
    // No codespace matches: take the length of the shortest range whose first byte fits,
    // else the shortest range of all.
    int best = 5;
    for (const auto& range : codespaces_) {
        const unsigned lo = (range.low >> (8 * (range.length - 1))) & 0xFF;
        const unsigned hi = (range.high >> (8 * (range.length - 1))) & 0xFF;
        if (data[0] >= lo && data[0] <= hi) best = std::min(best, range.length);
    }
    if (best == 5) {
        for (const auto& range : codespaces_) best = std::min(best, range.length);
    }
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(best), remaining));
}

std::string CMap::rangeUnicode(const BfRange& range, std::uint32_t code) {
    std::string utf16 = range.firstUtf16;
    if (utf16.empty()) return {};
    const std::uint32_t offset = code - range.low;
    if (utf16.size() == 1) {
        return toUtf8(static_cast<unsigned char>(utf16[0]) + offset);
    }
    const std::size_t last = utf16.size() - 2;
    std::uint32_t unit = (static_cast<unsigned char>(utf16[last]) << 8) |
                         static_cast<unsigned char>(utf16[last + 1]);
    unit += offset;
    if (unit > 0xFFFF && utf16.size() == 2) return toUtf8(unit);  // ran past the BMP: best effort
    utf16[last] = static_cast<char>((unit >> 8) & 0xFF);
    utf16[last + 1] = static_cast<char>(unit & 0xFF);
    return utf16BeToUtf8(utf16);
}

std::string CMap::unicodeFor(std::uint32_t code) const {
    const auto single = bfSingles_.find(code);
    if (single != bfSingles_.end()) return single->second;
    // Last range starting at or before the code.
    auto it = std::upper_bound(bfRanges_.begin(), bfRanges_.end(), code,
                               [](std::uint32_t c, const BfRange& r) { return c < r.low; });
    int steps = 0;
    while (it != bfRanges_.begin()) {
        --it;
        if (code <= it->high) return rangeUnicode(*it, code);
        // Ranges may overlap or nest; a few steps back cover every real file.
        if (++steps == 8) break;
    }
    return {};
}

void CMap::forEachUnicode(const std::function<void(std::uint32_t, const std::string&)>& fn) const {
    std::size_t budget = 1u << 20;
    for (const auto& range : bfRanges_) {
        for (std::uint64_t code = range.low; code <= range.high && budget > 0; ++code, --budget) {
            const auto c = static_cast<std::uint32_t>(code);
            if (bfSingles_.count(c) == 0) fn(c, rangeUnicode(range, c));
        }
    }
    for (const auto& [code, text] : bfSingles_) fn(code, text);
}

std::optional<std::uint32_t> CMap::ownCidFor(std::uint32_t code) const {
    const auto single = cidSingles_.find(code);
    if (single != cidSingles_.end()) return single->second;
    auto it = std::upper_bound(cidRanges_.begin(), cidRanges_.end(), code,
                               [](std::uint32_t c, const CidRange& r) { return c < r.low; });
    int steps = 0;
    while (it != cidRanges_.begin()) {
        --it;
        if (code <= it->high) return it->cid + (code - it->low);
        if (++steps == 8) break;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> CMap::cidFor(std::uint32_t code) const {
    if (auto cid = ownCidFor(code)) return cid;
    if (used_) return used_->cidFor(code);
    if (identity_) return code;
    return std::nullopt;
}

void CMap::forEachCid(const std::function<void(std::uint32_t, std::uint32_t)>& fn) const {
    std::size_t budget = 1u << 20;
    forEachCid(fn, budget);
}

void CMap::forEachCid(const std::function<void(std::uint32_t, std::uint32_t)>& fn,
                      std::size_t& budget) const {
    for (const auto& [code, cid] : cidSingles_) {
        if (budget == 0) return;
        --budget;
        fn(code, cid);
    }
    for (const auto& range : cidRanges_) {
        for (std::uint64_t code = range.low; code <= range.high && budget > 0; ++code, --budget)
            fn(static_cast<std::uint32_t>(code),
               range.cid + static_cast<std::uint32_t>(code - range.low));
    }
    if (used_) used_->forEachCid(fn, budget);
}

void CMap::use(std::shared_ptr<const CMap> used) {
    used_ = std::move(used);
    if (used_ && codespaces_.empty()) codespaces_ = used_->codespaces_;
    if (used_ && used_->identity_ && !hasCidMappings()) identity_ = true;
}

}  // namespace relettra::pdf
