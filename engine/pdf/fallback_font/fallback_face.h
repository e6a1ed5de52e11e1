#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <utility>
#include <vector>

namespace relettra::pdf {

class SubsetSourceFont;

// One font of the fallback chain (see fallback_font.h): a TrueType font file embedded into the
// document as a subset that holds only the glyphs actually used.
//
// PDF form: a Type0 font with Identity-H encoding over a CIDFontType2 descendant whose CIDs are
// the TrueType glyph ids (/CIDToGIDMap /Identity), so every character the font covers can be
// written, and a /ToUnicode CMap so that it extracts again as the same text.
//
// Each character is drawn as one glyph at its advance width, without kerning or ligatures: left
// to right, each character's glyph from the font's cmap; a text with right-to-left letters
// (Hebrew, Arabic) is shaped by HarfBuzz, in visual order and with Arabic letters in their
// joining forms, so that it reads right to left as written. Combining marks are drawn as their
// own glyphs, not positioned over their base letter, and a text that mixes directions is not
// reordered as a whole. Glyph ids are the character codes, so two characters that share one
// glyph would both extract as the first of them written.
//
// Use: one object per document and run. load(); for each text, check covers()/coversAll(), then
// encode() for a Tj string and advance() for layout; put fontObject() into the page resources;
// call finish() once all text has been encoded and before the document is written.
//
// No public function throws.
class FallbackFace {
  public:
    FallbackFace();
    ~FallbackFace();
    FallbackFace(FallbackFace&&) noexcept;
    FallbackFace& operator=(FallbackFace&&) noexcept;
    FallbackFace(const FallbackFace&) = delete;
    FallbackFace& operator=(const FallbackFace&) = delete;

    // Loads the font file. False and a message naming the file when it is missing, unreadable or
    // no TrueType font with outlines and a Unicode cmap; the object is then unloaded. An empty
    // path names `familyName` in its message.
    bool load(const std::filesystem::path& file, std::string& error,
              const std::string& familyName = "Liberation Sans Regular");
    bool isLoaded() const;

    // Whether the font has a glyph of its own for the character (.notdef does not count).
    bool covers(char32_t c) const;
    // Whether it covers every character of a UTF-8 text (malformed UTF-8 counts as U+FFFD).
    bool coversAll(const std::string& utf8) const;

    // The bytes of a PDF string for Tj in this font: two bytes (big-endian glyph id) per
    // character, in the order they are drawn (see above). Records the glyphs used so that finish()
    // embeds them. Characters the font does not cover are left out (nothing is drawn for them, and
    // no .notdef box); callers that must not lose characters check coversAll() first. Empty when no
    // font is loaded.
    std::string encode(const std::string& utf8);

    // Width of the text in text space per unit font size: the sum of the glyph advances divided
    // by units per em, for exactly the characters encode() writes. 0 when no font is loaded.
    double advance(const std::string& utf8) const;

    // The font's ascender (positive) and descender (negative, below the baseline) from its hhea
    // table, per unit font size; the same values, times 1000, are the descriptor's /Ascent and
    // /Descent. For Liberation Sans: 0.905 and -0.212.
    double ascent() const;
    double descent() const;

    // The font's full name as it names itself ("Liberation Serif Bold"), for people to read;
    // its PostScript name when it has none. Empty when no font is loaded.
    std::string displayName() const;
    // The file it was loaded from.
    const std::filesystem::path& file() const { return file_; }

    // The indirect Type0 font object for the page resources; created on the first call and the
    // same object afterwards. A null handle (not isInitialized()) when no font is loaded or the
    // object cannot be made. Until finish() the font is not embedded.
    QPDFObjectHandle fontObject(QPDF& pdf);

    // Subsets the font to the glyphs used so far (glyph ids unchanged, so text encoded earlier
    // stays valid) and completes the objects: /FontFile2 (Flate-compressed, with /Length1), /W
    // for the glyphs used, the font descriptor's values from the font tables, a subset BaseFont
    // "XXXXXX+<PostScript name>" with a tag derived from the glyph set, and the /ToUnicode CMap.
    // Does nothing when fontObject() was never asked for this document. May be called again
    // after more text has been encoded; it then replaces what it wrote before. Should subsetting
    // fail, the whole font program is embedded instead and lastError() says why. Nothing is done
    // again while no other glyph has been used since.
    void finish(QPDF& pdf);

    // The message of the last problem finish() or fontObject() met; empty when none.
    const std::string& lastError() const { return lastError_; }

  private:
    // The glyphs that draw the text, in drawing order, each with the character it shows;
    // characters the font lacks are left out.
    std::vector<std::pair<std::uint16_t, char32_t>> glyphsOf(const std::string& utf8) const;

    std::unique_ptr<SubsetSourceFont> program_;
    std::filesystem::path file_;
    std::map<std::uint16_t, char32_t> usedGlyphs_;  // glyph id → the first character it showed
    std::map<std::uint16_t, char32_t> finishedGlyphs_;  // the glyphs the last finish() embedded
    QPDF* pdf_ = nullptr;                               // the document the objects below belong to
    QPDFObjectHandle type0_;
    QPDFObjectHandle cidFont_;
    QPDFObjectHandle descriptor_;
    std::string lastError_;
};

}  // namespace relettra::pdf
