#pragma once
// An embedded font program (Type 1, TrueType, CFF, OpenType) loaded with FreeType from
// memory, asked which glyphs it really holds.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace relettra::pdf {

class FontProgram {
  public:
    // Loads a program from its bytes; nullptr when FreeType cannot read it.
    static std::unique_ptr<FontProgram> load(std::string data);
    ~FontProgram();
    FontProgram(const FontProgram&) = delete;
    FontProgram& operator=(const FontProgram&) = delete;

    bool isTrueType() const;  // an SFNT with glyf outlines
    bool isCidKeyed() const;  // a bare CID-keyed CFF: glyphs are addressed by CID
    long glyphCount() const;

    // Glyph index of a glyph name (Type 1 / CFF names, or TrueType post names); 0 when absent.
    unsigned glyphByName(const std::string& name) const;

    // Whether the program has a cmap subtable (platform, encoding), and the glyph it maps a
    // character code to (0 when none).
    bool hasCmap(int platform, int encoding) const;
    unsigned glyphFromCmap(int platform, int encoding, unsigned long charCode) const;

    // Whether a glyph slot holds a drawable glyph: it loads, and an outline glyph has at least
    // one contour. An emptied subset slot fails this.
    bool glyphHasOutline(unsigned glyphIndex) const;

    // Glyph name of an index (Type 1 / CFF, TrueType with a post table), "" when unknown.
    std::string glyphName(unsigned glyphIndex) const;

    // Every (glyph index, Unicode value) pair of the program's Unicode cmap (for Type 1 and
    // CFF programs FreeType derives it from the glyph names). Glyph indices are CIDs for a
    // bare CID-keyed CFF.
    std::vector<std::pair<unsigned, char32_t>> unicodeGlyphs() const;

    // The program's own encoding: glyph names by code, "" where a code is unused.
    std::array<std::string, 256> builtinEncoding() const;

  private:
    FontProgram() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace relettra::pdf
