#include "pdf/fonts/simple_encoding.h"

#include "pdf/fonts/font_data.h"

namespace relettra::pdf {

const char* const* namedEncoding(std::string_view name) {
    if (name == "StandardEncoding") return fontdata::kStandardEncoding;
    if (name == "WinAnsiEncoding") return fontdata::kWinAnsiEncoding;
    if (name == "MacRomanEncoding") return fontdata::kMacRomanEncoding;
    if (name == "SymbolEncoding") return fontdata::kSymbolEncoding;
    if (name == "ZapfDingbatsEncoding") return fontdata::kZapfDingbatsEncoding;
    return nullptr;
}

}  // namespace relettra::pdf
