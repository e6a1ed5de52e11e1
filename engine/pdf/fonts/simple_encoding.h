#pragma once
// The named base encodings of simple fonts.

#include <string_view>

namespace relettra::pdf {

// Glyph-name table (256 entries, nullptr where unused) of a named encoding:
// StandardEncoding, WinAnsiEncoding, MacRomanEncoding, or the built-in encodings of the
// standard Symbol and ZapfDingbats fonts ("SymbolEncoding", "ZapfDingbatsEncoding").
// nullptr for any other name (MacExpertEncoding has no table here; callers fall back to the
// font's own encoding).
const char* const* namedEncoding(std::string_view name);

}  // namespace relettra::pdf
