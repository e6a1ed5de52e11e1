#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "pdf/fallback_font/fallback_face.h"
#include "pdf/fallback_font/font_locator.h"

namespace relettra::pdf {

// The fonts that replacement text is written in when the page's own font cannot show it: a
// chain of fonts, Liberation Sans first (metric-compatible with Arial), then the fonts of
// locateFallbackChainFiles() (DejaVu Sans, then Droid Sans Fallback). Each character is written
// in the first font of the chain that has it; every font the document uses is embedded as a
// subset of its own with a /ToUnicode map (see FallbackFace).
//
// load() reads the first font. The others are read only when a character is asked for that the
// fonts read so far lack (finding them takes tens of milliseconds, and most text never needs
// them). A font of the chain that cannot be found or read is left out, and its characters count
// as missing; chainProblems() says which font and why.
//
// Use: one object per document and run. load(); for each text, check covers()/coversAll(), cut
// it into runs(); for each run, put fontObject() of its face into the page resources and write
// encode() of its text; call finish() once all text has been encoded and before the document is
// written.
//
// No public function throws.
class FallbackFont {
  public:
    // A piece of text whose characters the same font of the chain shows.
    struct Run {
        std::size_t face = 0;  // index into the chain
        std::string text;      // UTF-8
    };

    FallbackFont();
    ~FallbackFont();
    FallbackFont(FallbackFont&&) noexcept;
    FallbackFont& operator=(FallbackFont&&) noexcept;
    FallbackFont(const FallbackFont&) = delete;
    FallbackFont& operator=(const FallbackFont&) = delete;

    // Loads the first font of the chain from `file`. False and a message naming the file when it
    // is missing, unreadable or no TrueType font with outlines and a Unicode cmap; the object is
    // then unloaded.
    bool load(const std::filesystem::path& file, std::string& error);
    bool isLoaded() const;

    // Whether some font of the chain has a glyph of its own for the character.
    bool covers(char32_t c) const;
    // Whether the chain covers every character of a UTF-8 text (malformed UTF-8 counts as
    // U+FFFD).
    bool coversAll(const std::string& utf8) const;

    // The text cut into runs, each character in the first font of the chain that has it;
    // characters no font has are left out (callers that must not lose characters check
    // coversAll() first).
    std::vector<Run> runs(const std::string& utf8) const;

    // The font of a run; valid while this object lives.
    FallbackFace& face(std::size_t index) { return *faces_.at(index); }
    std::size_t faceCount() const { return faces_.size(); }

    // Width of the text in text space per unit font size, each character in the font runs()
    // gives it. 0 when no font is loaded.
    double advance(const std::string& utf8) const;

    // Ascender and descender of the first font per unit font size: written text stands on the
    // baseline these give, whichever fonts show its characters.
    double ascent() const;
    double descent() const;

    // Completes the objects of every font of the chain that this document uses (see
    // FallbackFace::finish).
    void finish(QPDF& pdf);

    // The last problem finish() met in any font; empty when none.
    const std::string& lastError() const { return lastError_; }
    // Why fonts of the chain are left out ("DejaVu Sans: not found …"); empty when none is.
    const std::vector<std::string>& chainProblems() const { return chainProblems_; }

  private:
    // Reads the fonts after the first, once.
    void loadChain() const;
    // Index of the first font that has the character, or none.
    std::optional<std::size_t> faceFor(char32_t c) const;

    // The chain grows when a character first needs it; what callers see stays the same.
    mutable std::vector<std::unique_ptr<FallbackFace>> faces_;
    mutable bool chainLoaded_ = false;
    mutable std::vector<std::string> chainProblems_;
    std::string lastError_;
};

}  // namespace relettra::pdf
