// The CMap parser (ToUnicode maps and embedded encoding CMaps) on arbitrary text, and every
// query a font makes of the parsed map.
#include <cstddef>
#include <cstdint>
#include <string>

#include "pdf/fonts/cmap_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const relettra::pdf::CMap cmap = relettra::pdf::CMap::parse(text);
    // The input's own bytes as a string shown with the font: split into codes, each looked up.
    for (std::size_t pos = 0; pos < text.size() && pos < 4096;) {
        const int length = cmap.codeLength(text, pos, 2);
        std::uint32_t code = 0;
        for (int i = 0; i < length && pos + i < text.size(); ++i) {
            code = code << 8 | static_cast<unsigned char>(text[pos + i]);
        }
        cmap.unicodeFor(code);
        cmap.cidFor(code);
        pos += length > 0 ? static_cast<std::size_t>(length) : 1;
    }
    std::size_t mapped = 0;
    cmap.forEachUnicode(
        [&mapped](std::uint32_t, const std::string& unicode) { mapped += unicode.size(); });
    return mapped == static_cast<std::size_t>(-1);
}
