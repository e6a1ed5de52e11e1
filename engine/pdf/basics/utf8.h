#pragma once

#include <string>
#include <string_view>

namespace relettra::pdf {

// UTF-8 → code points. Every byte that does not start a well-formed sequence (stray continuation
// bytes, truncated or overlong sequences, surrogates, values above U+10FFFF) becomes one U+FFFD,
// so broken input stays visible instead of being silently dropped.
std::u32string decodeUtf8(std::string_view utf8);

// True when the text is well-formed UTF-8 throughout.
bool isWellFormedUtf8(std::string_view utf8);

// Appends the UTF-8 form of one code point (surrogates and values above U+10FFFF become U+FFFD).
void appendUtf8(std::string& out, char32_t codePoint);
std::string toUtf8(char32_t codePoint);

// UTF-16BE bytes (surrogate pairs joined) to UTF-8. A single byte is taken as a code point of its
// own, which is what broken producers mean by it.
std::string utf16BeToUtf8(const std::string& bytes);

}  // namespace relettra::pdf
