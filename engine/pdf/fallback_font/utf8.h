#pragma once

#include <string>
#include <string_view>

namespace relettra::pdf {

// UTF-8 → code points. Every byte that does not start a well-formed sequence (stray continuation
// bytes, truncated or overlong sequences, surrogates, values above U+10FFFF) becomes one U+FFFD,
// so broken input stays visible instead of being silently dropped.
std::u32string decodeUtf8(std::string_view utf8);

}  // namespace relettra::pdf
