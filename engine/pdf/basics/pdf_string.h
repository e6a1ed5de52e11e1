#pragma once

#include <string>
#include <string_view>

namespace relettra::pdf {

// The bytes that the inside of a PDF literal string stands for (`inner` without its outer
// parentheses): escapes resolved, an end of line read as one line feed, an escaped end of line
// dropped. Appended to `out`.
void appendLiteralStringBytes(std::string_view inner, std::string& out);

}  // namespace relettra::pdf
