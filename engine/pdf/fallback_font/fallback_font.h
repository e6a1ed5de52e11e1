#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "pdf/basics/text_look.h"
#include "pdf/fallback_font/fallback_face.h"
#include "pdf/fallback_font/font_families.h"
#include "pdf/fallback_font/font_locator.h"

namespace relettra::pdf {

// The fonts that replacement text is written in when the page's own font cannot show it: for
// each look of text (sans-serif, serif or monospace; regular, bold, italic or bold italic) a
// chain of fonts, each character in the first font of the chain that has it:
// 1. the look's metric-compatible font: Liberation Sans (Arial, Helvetica), Liberation Serif
//    (Times) or Liberation Mono (Courier), in the look's style (see locateFallbackFontFile);
// 2. DejaVu's family of the look (DejaVu Sans, Serif or Sans Mono) in its style;
// 3. the family of the character's script (see scriptFamilyFor: Noto's, Nanum's for Hangul);
// 4. the last resorts (see lastResortFamilies: DejaVu Sans, Droid Sans Fallback, Noto's
//    symbols).
// RELETTRA_FALLBACK_CHAIN, when set, names the fonts after the first for every look instead.
// Every font the document uses is embedded as a subset of its own with a /ToUnicode map (see
// FallbackFace), once however many looks write in it.
//
// load() reads the first font of the regular sans-serif look, which stands in for the first
// font of any look whose own cannot be found. The others are read only when a character is
// asked for that the fonts read so far lack, and then only the fonts whose turn it is: a
// script's family when one of its characters is asked for (finding and reading a font takes
// milliseconds to tens of them, and most text never needs them). A font that cannot be found
// or read is left out, and its characters count as missing; chainProblems() says which font
// and why.
//
// Use: one object per document and run. load(); selectLook() for each text; check
// covers()/coversAll(), cut the text into runs(); for each run, put fontObject() of its face
// into the page resources and write encode() of its text; call finish() once all text has been
// encoded and before the document is written.
//
// No public function throws.
class FallbackFont {
  public:
    // A piece of text whose characters the same font of the chain shows.
    struct Run {
        std::size_t face = 0;  // index of face()
        std::string text;      // UTF-8
    };

    FallbackFont();
    ~FallbackFont();
    FallbackFont(FallbackFont&&) noexcept;
    FallbackFont& operator=(FallbackFont&&) noexcept;
    FallbackFont(const FallbackFont&) = delete;
    FallbackFont& operator=(const FallbackFont&) = delete;

    // Loads the first font of the regular sans-serif look from `file` and selects that look.
    // False and a message naming the file when it is missing, unreadable or no TrueType font with
    // outlines and a Unicode cmap; the object is then unloaded.
    bool load(const std::filesystem::path& file, std::string& error);
    bool isLoaded() const;

    // The look of the text asked about and written next; the regular sans-serif look after
    // load().
    void selectLook(const TextLook& look);
    const TextLook& look() const { return look_; }

    // Whether some font of the selected look's chain has a glyph of its own for the character.
    bool covers(char32_t c) const;
    // Whether the chain covers every character of a UTF-8 text (malformed UTF-8 counts as
    // U+FFFD).
    bool coversAll(const std::string& utf8) const;

    // The text cut into runs, each character in the first font of the chain that has it;
    // characters no font has are left out (callers that must not lose characters check
    // coversAll() first).
    std::vector<Run> runs(const std::string& utf8) const;

    // The fonts the text is written in, in the order they first write a character of it, by the
    // names they give themselves ("Liberation Serif Bold").
    std::vector<std::string> fontNames(const std::string& utf8) const;

    // A font read by this object; valid while this object lives.
    FallbackFace& face(std::size_t index) { return *faces_.at(index); }
    std::size_t faceCount() const { return faces_.size(); }

    // Width of the text in text space per unit font size, each character in the font runs()
    // gives it. 0 when no font is loaded.
    double advance(const std::string& utf8) const;

    // Ascender and descender of the selected look's first font per unit font size.
    double ascent() const;
    double descent() const;

    // Completes the objects of every font that this document uses (see FallbackFace::finish).
    void finish(QPDF& pdf);

    // The last problem finish() met in any font; empty when none.
    const std::string& lastError() const { return lastError_; }
    // Why fonts of the chain are left out ("Noto Sans Thai: not found (package
    // fonts-noto-core)"); empty when none is.
    const std::vector<std::string>& chainProblems() const { return chainProblems_; }

  private:
    // The face read from `file` (read now when it was not), or none; `name` names it in
    // chainProblems().
    std::optional<std::size_t> faceOfFile(const std::filesystem::path& file,
                                          const std::string& name) const;
    // The face of a family in the selected look's style, read when first asked for, or none.
    std::optional<std::size_t> faceOfFamily(const FontFamilyFiles& family) const;
    // The first font of the selected look.
    std::size_t firstFace() const;
    // Index of the first face of the selected look's chain that has the character, or none.
    std::optional<std::size_t> faceFor(char32_t c) const;
    std::optional<std::size_t> faceForFromEnvironment(char32_t c) const;
    void noteProblem(const std::string& problem) const;

    // Fonts are read when a character first needs them; what callers see stays the same.
    mutable std::vector<std::unique_ptr<FallbackFace>> faces_;
    mutable std::map<std::filesystem::path, std::optional<std::size_t>> faceByFile_;
    mutable std::map<std::string, std::optional<std::size_t>> faceByFamily_;  // family|look
    mutable std::optional<std::vector<ChainFontFile>> environmentChain_;
    mutable bool environmentRead_ = false;
    mutable std::vector<std::string> chainProblems_;
    TextLook look_;
    mutable std::optional<std::size_t> firstFaceOfLook_;  // firstFace() of look_, once known
    std::string lastError_;
};

}  // namespace relettra::pdf
