// The font layer's reader of embedded font programs (TrueType, Type 1, CFF, OpenType) on
// arbitrary bytes, with every question the layer asks of a program.
#include <cstddef>
#include <cstdint>
#include <string>

#include "pdf/fonts/font_program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto program =
        relettra::pdf::FontProgram::load(std::string(reinterpret_cast<const char*>(data), size));
    if (!program) {
        return 0;
    }
    program->isTrueType();
    program->isCidKeyed();
    const long glyphs = program->glyphCount();
    for (unsigned glyph = 0; glyph < 64 && glyph < static_cast<unsigned long>(glyphs); ++glyph) {
        program->glyphHasOutline(glyph);
        program->glyphByName(program->glyphName(glyph));
    }
    for (const auto& [platform, encoding] : {std::pair{3, 1}, {3, 0}, {1, 0}, {3, 10}}) {
        if (program->hasCmap(platform, encoding)) {
            for (unsigned long code : {0x20ul, 0x41ul, 0xF041ul, 0x1F600ul}) {
                program->glyphFromCmap(platform, encoding, code);
            }
        }
    }
    program->glyphByName("space");
    program->unicodeGlyphs();
    program->builtinEncoding();
    return 0;
}
