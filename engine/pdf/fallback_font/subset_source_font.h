#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct hb_blob_t;
struct hb_face_t;
struct hb_font_t;

namespace relettra::pdf {

// What a PDF font descriptor needs from a TrueType font, in the font's own units unless stated.
struct FontMetrics {
    unsigned unitsPerEm = 1000;
    int ascender = 0;   // hhea ascender
    int descender = 0;  // hhea descender (negative below the baseline)
    int capHeight = 0;  // OS/2 sCapHeight, else an estimate from the ascender
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;  // head: the box of all glyphs
    double italicAngle = 0.0;                    // post, degrees
    int weightClass = 400;                       // OS/2 usWeightClass
    bool fixedPitch = false;                     // post isFixedPitch
    bool serif = false;                          // OS/2 PANOSE serif style
    bool italic = false;                         // head macStyle / italic angle
    std::string postScriptName;                  // name ID 6, reduced to PDF name characters
    std::string fullName;                        // name ID 4: "Liberation Serif Bold"
};

// One TrueType (glyf) font program read into memory: character → glyph lookup through the
// font's cmap, advance widths, the metrics of its tables, and subsetting to a set of glyphs.
class SubsetSourceFont {
  public:
    // Reads and checks the file; nullptr and a message when it cannot be read or is no TrueType
    // font with glyph outlines and a Unicode cmap.
    static std::unique_ptr<SubsetSourceFont> load(const std::filesystem::path& file,
                                                  std::string& error);
    ~SubsetSourceFont();
    SubsetSourceFont(const SubsetSourceFont&) = delete;
    SubsetSourceFont& operator=(const SubsetSourceFont&) = delete;

    // The glyph the cmap gives the character, none when it has no glyph (glyph 0 is .notdef).
    std::optional<std::uint16_t> glyphFor(char32_t c) const;

    // One glyph of shaped text and the character it shows.
    struct ShapedGlyph {
        std::uint16_t glyph;
        char32_t character;
    };
    // The glyphs that show a right-to-left text (Hebrew, Arabic, ...) as a reader sees it: in
    // visual order (its last character first) and, for joining scripts, each letter in the form
    // its neighbours call for. Ligatures are left out, so that every glyph stands for exactly
    // one character. Empty when the text cannot be shown so (a character without glyph).
    std::vector<ShapedGlyph> shapeRightToLeft(const std::u32string& text) const;
    // Horizontal advance of a glyph in font units.
    int advanceOf(std::uint16_t glyph) const;
    const FontMetrics& metrics() const { return metrics_; }
    const std::string& data() const { return data_; }

    // A TrueType font holding only the given glyphs (plus .notdef and the components of composite
    // glyphs) at their original glyph ids, with a cmap for the given characters; layout tables and
    // the name table are left out. Empty with a message when subsetting fails.
    std::string subset(const std::set<std::uint16_t>& glyphs, const std::set<char32_t>& unicodes,
                       std::string& error) const;

  private:
    SubsetSourceFont() = default;
    void readMetrics();

    std::string data_;  // the file; the blob below points into it
    hb_blob_t* blob_ = nullptr;
    hb_face_t* face_ = nullptr;
    hb_font_t* font_ = nullptr;
    FontMetrics metrics_;
};

}  // namespace relettra::pdf
