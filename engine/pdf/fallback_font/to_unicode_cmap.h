#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace relettra::pdf {

// The text of a ToUnicode CMap for two-byte codes (Identity-H glyph ids): one bfchar entry per
// code, the character written as UTF-16BE (a surrogate pair above U+FFFF).
std::string buildToUnicodeCMap(const std::map<std::uint16_t, char32_t>& codeToUnicode);

}  // namespace relettra::pdf
