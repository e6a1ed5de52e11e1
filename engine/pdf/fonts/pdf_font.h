#pragma once
// One font of a PDF page as the text layer sees it: string operands to glyph codes, Unicode
// and widths, and Unicode text back to the font's own codes where the font really holds
// the glyphs.
//
// Supported: simple fonts (Type1, MMType1, TrueType, Type3) with named or built-in base
// encodings plus /Differences, and composite Type0 fonts (CIDFontType0/2) with Identity-H/V,
// an embedded CMap or a predefined one (read from the CID data, see cid_data.h).
//
// Where the text of a code comes from, first source first: the /ToUnicode CMap (a /ToUnicode
// named /Identity-H or /Identity-V makes every two-byte code its own UCS-2 value); for simple
// fonts the glyph name (the Adobe list, then names that number their glyph, see
// numberedGlyphNameToUnicode), and for an embedded TrueType font whose codes select glyphs
// through its cmaps (symbolic, or without /Encoding) the program's Unicode cmap read back from
// the glyph a code selects; for composite fonts the CID's character in its collection's table
// (Adobe-Japan1, -GB1, -CNS1, -Korea1), the code itself for a predefined Uni*-UCS2/UTF16 CMap
// that cannot be read, the embedded program's Unicode cmap read back through /CIDToGIDMap, and
// the CID itself for a font of the Adobe-Identity or Adobe-UCS collection that is not embedded.
// A later source fills only the codes the earlier ones leave without text.
//
// Glyph availability (encode, canEncode) is strict: a character counts only when the font
// has a code for it, a usable width for that code (/Widths, /W, /DW or standard metrics), and
// a real glyph: in the embedded program (looked up as a PDF viewer does: cmaps for TrueType,
// glyph names for Type 1 / CFF, CIDToGIDMap for CID fonts; a subset's emptied slot does not
// count unless the character is a space), in the standard font's metrics for a non-embedded
// standard font, among the /CharProcs of a Type 3 font, or, for a composite font of a CJK
// collection that is not embedded, among the collection's CIDs that have a character (a viewer
// shows it in a font of that collection).
//
// A PdfFont keeps handles into its document: it must not outlive the QPDF it came from.
// The object is immutable from the outside; internal caches are guarded by a mutex. The
// embedded program is loaded with FreeType only when glyph availability is first asked, or
// when decoding cannot do without it: an embedded Type 1 / CFF font whose codes use the
// program's own encoding, a symbolic TrueType font with neither names nor /ToUnicode, and a
// composite font whose codes /ToUnicode leaves without text (Unicode then comes from the
// program's cmap).
//
// Data files a font needs but cannot find (a predefined CMap, a collection's table) are
// reported once per font as a warning of its document (QPDF::warn), naming the missing file.

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "pdf/basics/text_look.h"
#include "pdf/fonts/cid_data.h"
#include "pdf/fonts/cid_widths.h"
#include "pdf/fonts/cmap_parser.h"
#include "pdf/fonts/font_data.h"

namespace relettra::pdf {

class FontProgram;

struct DecodedGlyph {
    std::uint32_t code = 0;    // the character code as it stands in the string
    int byteLength = 1;        // 1 for simple fonts; 1..4 for composite fonts per codespace
    std::string_view unicode;  // UTF-8 text of this code ("" if unknown); refers to storage of
                               // the font, valid while the font lives
    double advance = 0;        // advance in text space per unit font size (width * FontMatrix,
                               // i.e. width / 1000 except for Type3). For vertical fonts this
                               // is the vertical advance (from /DW2, 1.0 by default).
    bool isSingleByteSpace = false;  // code 32 of a one-byte code (word spacing applies)
};

class PdfFont {
  public:
    enum class Kind { Type1, TrueType, Type3, Type0 };

    // Builds from a font dictionary. Never throws; a broken font gives a usable best-effort
    // object (unknown Unicode, default widths, nothing encodable).
    static std::shared_ptr<const PdfFont> fromDictionary(QPDFObjectHandle fontDict);

    ~PdfFont();
    PdfFont(const PdfFont&) = delete;
    PdfFont& operator=(const PdfFont&) = delete;

    // Splits a string operand into codes with their Unicode text and advances. Records the
    // codes it sees, so encode() prefers the codes the document already uses.
    std::vector<DecodedGlyph> decode(const std::string& bytes) const;
    // The same into `glyphs` (cleared first), reusing its storage: the hot path of content parsing.
    void decodeInto(const std::string& bytes, std::vector<DecodedGlyph>& glyphs) const;

    // The Unicode text of a string operand, UTF-8.
    std::string toUtf8(const std::string& bytes) const;
    // The same appended to `out`: the lean path for searching text.
    void appendUtf8Text(const std::string& bytes, std::string& out) const;

    // Encodes UTF-8 text into this font's codes; nullopt when any character has no glyph that
    // the font really holds (or no usable width). Each character takes a code of its own; a
    // multi-character code of /ToUnicode (a ligature such as "ffi") is used only where the
    // single characters have none. Among several codes for a character, one that decode()
    // has seen wins, else the lowest.
    std::optional<std::string> encode(const std::string& utf8) const;

    // Whether a single character can be encoded (see encode()).
    bool canEncode(char32_t codePoint) const;

    bool isVertical() const { return vertical_; }
    bool isComposite() const { return kind_ == Kind::Type0; }
    Kind kind() const { return kind_; }
    bool isEmbedded() const { return fontFile_.isStream(); }

    // Advance of the space glyph, or 0.25 (a quarter em) when the font has none.
    double spaceAdvance() const;

    // The /BaseFont name as written (subset tag included).
    const std::string& baseFont() const { return baseFont_; }

    // How its letters look (see lookOfFont), for text written in its place in another font.
    const TextLook& look() const { return look_; }

  private:
    PdfFont() = default;
    enum class ProgramFormat { None, Type1, TrueType, Cff, OpenType };

    void buildSimple(QPDFObjectHandle fontDict);
    void buildComposite(QPDFObjectHandle fontDict);
    void readDescriptor(QPDFObjectHandle descriptor);
    void readSimpleEncoding(QPDFObjectHandle encoding);
    void readSimpleWidths(QPDFObjectHandle fontDict);
    void readToUnicode(QPDFObjectHandle fontDict);
    void readCompositeEncoding(QPDFObjectHandle encoding);
    void readCollection(QPDFObjectHandle cidFont);
    void usePredefinedCMap(const std::string& name, CMap& into);
    void warn(const std::string& problem) const;

    // Lazily completed state; callers hold mutex_.
    void ensureSimpleNamesLocked() const;
    void ensureProgramLocked() const;
    void ensureReverseMapLocked() const;
    void ensureProgramUnicodeLocked() const;
    std::uint32_t glyphOfCidLocked(std::uint32_t cid) const;

    std::string unicodeOfLocked(std::uint32_t code) const;
    std::string compositeUnicodeLocked(std::uint32_t code) const;
    std::string programUnicodeOfSimpleCodeLocked(std::uint32_t code) const;
    void addCompositeReverseCodesLocked(const std::function<void(std::uint32_t)>& addCode) const;
    // The same, kept by the font so decoded glyphs can refer to it.
    std::string_view storedUnicodeLocked(std::uint32_t code) const;
    double advanceOf(std::uint32_t code) const;
    double computeSimpleAdvance(std::uint32_t code) const;
    bool hasUsableWidthLocked(std::uint32_t code) const;
    bool isAvailableLocked(std::uint32_t code) const;
    bool glyphPresentLocked(std::uint32_t code, const std::string& unicode) const;
    unsigned simpleGlyphIndexLocked(std::uint32_t code, const std::string& unicode) const;
    std::optional<std::uint32_t> bestCodeLocked(const std::string& unicode) const;
    std::string codeBytes(std::uint32_t code) const;
    int codeLength(std::uint32_t code) const;

    Kind kind_ = Kind::Type1;
    std::string baseFont_;
    TextLook look_;
    bool vertical_ = false;
    bool symbolic_ = false;
    mutable QPDFObjectHandle fontFile_;  // the embedded program's stream, null when not embedded
    ProgramFormat programFormat_ = ProgramFormat::None;
    const fontdata::StandardFontMetrics* standard_ = nullptr;
    bool hasToUnicode_ = false;
    bool toUnicodeIsIdentity_ = false;  // /ToUnicode /Identity-H: a code is its UCS-2 value
    CMap toUnicode_;
    QPDFObjectHandle fontDict_;  // the dictionary read; its document takes the warnings

    // Simple fonts.
    mutable std::array<std::string, 256> glyphNames_;  // from the encoding, "" where none
    std::bitset<256> nameFromDifferences_;
    bool needsBuiltinEncoding_ = false;  // names come from the embedded program
    bool encodingGiven_ = false;         // the font dictionary has an /Encoding
    std::array<double, 256> widths_{};   // in glyph units (1/1000 em, Type3 glyph space)
    std::bitset<256> widthGiven_;        // the width came from /Widths
    bool hasWidthsArray_ = false;
    double missingWidth_ = 0;
    double fontMatrixScale_ = 0.001;  // glyph units -> text space
    std::unordered_set<std::string> type3Glyphs_;

    // Composite fonts.
    CMap encodingCMap_;
    bool predefinedNonIdentity_ = false;
    bool unicodeCMap_ = false;  // Uni*-UCS2/UTF16: the code is the Unicode value
    std::string collection_;    // "Adobe-Japan1", from /CIDSystemInfo or the CMap's folder
    std::shared_ptr<const CidTextTable> cidText_;  // the collection's characters, if it has them
    bool cidIsUnicode_ = false;                    // Adobe-Identity or Adobe-UCS, not embedded
    bool cidFontType2_ = false;
    CidWidths cidWidths_;
    double verticalAdvance_ = 1.0;
    mutable QPDFObjectHandle cidToGidMap_;  // stream, or null for Identity

    mutable std::mutex mutex_;
    mutable bool simpleNamesReady_ = false;
    mutable std::array<std::string, 256> simpleUnicode_;
    mutable std::array<double, 256> simpleAdvance_{};
    mutable bool programTried_ = false;
    mutable std::unique_ptr<FontProgram> program_;
    mutable std::string cidToGidBytes_;
    // Composite fonts without /ToUnicode: Unicode by glyph, read from the program's cmap.
    mutable bool programUnicodeReady_ = false;
    mutable std::unordered_map<std::uint32_t, std::string> unicodeByGlyph_;
    mutable std::unordered_map<std::uint32_t, std::string> unicodeByCode_;  // composite fonts
    mutable bool reverseReady_ = false;
    mutable std::unordered_map<std::string, std::vector<std::uint32_t>> reverse_;
    mutable std::size_t longestReverseKey_ = 1;  // in code points
    mutable std::unordered_map<std::uint32_t, bool> availability_;
    mutable std::bitset<256> usedSimpleCodes_;
    mutable std::unordered_set<std::uint32_t> usedCompositeCodes_;
    mutable std::optional<double> spaceAdvance_;
};

}  // namespace relettra::pdf
