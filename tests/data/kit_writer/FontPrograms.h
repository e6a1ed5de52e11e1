#pragma once

#include <cstdint>
#include <map>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "KitDocument.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

// Font programs for the kit's font cases: read with FreeType, cut to a few characters with
// HarfBuzz, their SFNT tables rewritten. Every failure throws std::runtime_error.

std::string readBinaryFile(const std::string& path);
// Well-formed UTF-8 (the literals of the cases) to code points.
std::u32string utf32(std::string_view utf8);
// Big-endian bytes of a value.
std::string bigEndian16(unsigned value);
std::string bigEndian32(std::uint32_t value);

// A font program read by FreeType: glyph ids, advances, outlines and the descriptor values, all
// lengths in thousandths of an em.
class OutlineFont {
  public:
    explicit OutlineFont(std::string data);
    ~OutlineFont();
    OutlineFont(const OutlineFont&) = delete;
    OutlineFont& operator=(const OutlineFont&) = delete;

    const std::string& data() const { return data_; }
    // The glyph of a character in the program's Unicode cmap; throws when it has none.
    unsigned glyphOf(char32_t c) const;
    int width(unsigned glyph) const;
    // The glyph's outline as PDF path operators, filled nonzero.
    std::string path(unsigned glyph) const;
    // A /FontDescriptor for this program, `fontFile` under `fontFileKey` (/FontFile2).
    QPDFObjectHandle descriptor(KitDocument& document, const std::string& fontName, int flags,
                                const std::string& fontFileKey, QPDFObjectHandle fontFile) const;

  private:
    struct PathState;
    int thousandths(long fontUnits) const;

    std::string data_;
    FT_LibraryRec_* library_ = nullptr;
    FT_FaceRec_* face_ = nullptr;
};

// A subset of a TrueType program holding the glyphs of the characters (glyph ids renumbered),
// without layout tables.
std::string subsetProgram(const std::string& program, const std::u32string& characters);
// The bytes of one table of a program, "" when it has none.
std::string tableOf(const std::string& program, const std::string& tag);
// The program with some tables replaced (an empty replacement drops the table).
std::string withTables(const std::string& program,
                       const std::map<std::string, std::string>& replaced);
// A cmap subtable of format 4 mapping each code to its glyph.
std::string cmapFormat4(const std::map<unsigned, unsigned>& glyphByCode);
// A cmap table of subtables, each under (platform << 8 | encoding).
std::string cmapTable(const std::vector<std::pair<unsigned, std::string>>& subtables);
