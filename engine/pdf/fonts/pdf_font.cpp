#include "pdf/fonts/pdf_font.h"

#include <algorithm>
#include <exception>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>

#include "pdf/basics/utf8.h"
#include "pdf/fonts/font_look.h"
#include "pdf/fonts/font_program.h"
#include "pdf/fonts/glyph_names.h"
#include "pdf/fonts/ligature_text.h"
#include "pdf/fonts/pdf_object_access.h"
#include "pdf/fonts/simple_encoding.h"
#include "pdf/fonts/simple_glyph_lookup.h"
#include "pdf/fonts/standard_fonts.h"

namespace relettra::pdf {
namespace {

constexpr double kDefaultSpaceAdvance = 0.25;

bool isSpaceText(const std::string& text) {
    return text == " " || text == "\xC2\xA0";
}

// The text of a code that stands for its own character (UCS-2 codes, CIDs of Adobe-Identity):
// nothing for control characters, surrogates and values beyond Unicode.
std::string ownCharacter(std::uint32_t code) {
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F) || (code >= 0xD800 && code <= 0xDFFF) ||
        code > 0x10FFFF)
        return {};
    return toUtf8(static_cast<char32_t>(code));
}

std::size_t codePointCount(const std::string& utf8) {
    std::size_t count = 0;
    for (char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

}  // namespace

PdfFont::~PdfFont() = default;

std::shared_ptr<const PdfFont> PdfFont::fromDictionary(QPDFObjectHandle fontDict) {
    std::shared_ptr<PdfFont> font(new PdfFont());
    try {
        if (!fontDict.isDictionary()) return font;
        font->fontDict_ = fontDict;
        font->baseFont_ = nameOf(dictEntry(fontDict, "/BaseFont"));
        font->look_ = lookOfFont(fontDict);
        const std::string subtype = nameOf(dictEntry(fontDict, "/Subtype"));
        if (subtype == "Type0") {
            font->kind_ = Kind::Type0;
            font->buildComposite(fontDict);
        } else {
            font->kind_ = subtype == "Type3"      ? Kind::Type3
                          : subtype == "TrueType" ? Kind::TrueType
                                                  : Kind::Type1;
            font->buildSimple(fontDict);
        }
    } catch (const std::exception&) {
        // Keep whatever was read: a best-effort font is better than none.
    }
    return font;
}

void PdfFont::readDescriptor(QPDFObjectHandle descriptor) {
    if (!descriptor.isDictionary()) return;
    const long long flags = integerOf(dictEntry(descriptor, "/Flags"), 0);
    symbolic_ = (flags & 4) != 0;
    missingWidth_ = numberOf(dictEntry(descriptor, "/MissingWidth"), 0);
    if (auto file = dictEntry(descriptor, "/FontFile"); file.isStream()) {
        fontFile_ = file;
        programFormat_ = ProgramFormat::Type1;
    } else if (auto file2 = dictEntry(descriptor, "/FontFile2"); file2.isStream()) {
        fontFile_ = file2;
        programFormat_ = ProgramFormat::TrueType;
    } else if (auto file3 = dictEntry(descriptor, "/FontFile3"); file3.isStream()) {
        fontFile_ = file3;
        programFormat_ = nameOf(dictEntry(file3.getDict(), "/Subtype")) == "OpenType"
                             ? ProgramFormat::OpenType
                             : ProgramFormat::Cff;
    }
}

void PdfFont::warn(const std::string& problem) const {
    QPDF* document = fontDict_.getOwningQPDF();
    if (document == nullptr || problem.empty()) return;
    document->warn(QPDFExc(qpdf_e_system, document->getFilename(), "font " + baseFont_, 0,
                           problem + "; the font's text cannot be read in full"));
}

void PdfFont::readToUnicode(QPDFObjectHandle fontDict) {
    auto stream = dictEntry(fontDict, "/ToUnicode");
    const std::string name = nameOf(stream);
    toUnicodeIsIdentity_ = kind_ == Kind::Type0 && (name == "Identity-H" || name == "Identity-V");
    if (!stream.isStream()) return;
    toUnicode_ = CMap::parse(streamBytes(stream));
    hasToUnicode_ = toUnicode_.hasUnicodeMappings();
}

// ---------------------------------------------------------------------------------------
// Simple fonts

void PdfFont::buildSimple(QPDFObjectHandle fontDict) {
    readDescriptor(dictEntry(fontDict, "/FontDescriptor"));
    if (kind_ == Kind::Type3) {
        auto matrix = dictEntry(fontDict, "/FontMatrix");
        if (matrix.isArray() && matrix.getArrayNItems() >= 1)
            fontMatrixScale_ = numberOf(matrix.getArrayItem(0), 0.001);
        auto procs = dictEntry(fontDict, "/CharProcs");
        if (procs.isDictionary()) {
            for (const auto& procName : procs.getKeys()) type3Glyphs_.insert(procName.substr(1));
        }
    } else {
        standard_ = findStandardFont(baseFont_);
        if (standard_ && !fontDict.hasKey("/FontDescriptor")) {
            const std::string_view name = standard_->fontName;
            symbolic_ = name == "Symbol" || name == "ZapfDingbats";
        }
    }
    readSimpleEncoding(dictEntry(fontDict, "/Encoding"));
    readSimpleWidths(fontDict);
    readToUnicode(fontDict);
}

void PdfFont::readSimpleEncoding(QPDFObjectHandle encoding) {
    const bool programEncoding = programFormat_ == ProgramFormat::Type1 ||
                                 programFormat_ == ProgramFormat::Cff ||
                                 programFormat_ == ProgramFormat::OpenType;
    // The encoding a font has when /Encoding names no base: the program's own for embedded
    // Type 1 / CFF fonts, the standard font's built-in one, none for symbolic TrueType and
    // Type 3, else StandardEncoding.
    const char* const* base = nullptr;
    bool builtin = false;
    const auto implicitBase = [&]() {
        if (kind_ == Kind::Type3) return;
        if (programEncoding) {
            builtin = true;
        } else if (standard_ && !isEmbedded()) {
            base = standard_->builtinEncoding;
        } else if (!(kind_ == Kind::TrueType && symbolic_)) {
            base = fontdata::kStandardEncoding;
        }
    };

    QPDFObjectHandle differences;
    encodingGiven_ = encoding.isName() || encoding.isDictionary();
    if (encoding.isName()) {
        base = namedEncoding(nameOf(encoding));
        if (!base) implicitBase();
    } else if (encoding.isDictionary()) {
        auto baseName = dictEntry(encoding, "/BaseEncoding");
        base = baseName.isName() ? namedEncoding(nameOf(baseName)) : nullptr;
        if (!base) implicitBase();
        differences = dictEntry(encoding, "/Differences");
    } else {
        implicitBase();
    }
    // The names give each code its text. (A symbolic TrueType font still finds its glyphs by
    // code through its (3,0) cmap; see simpleGlyphIndexLocked.)
    if (base) {
        for (int code = 0; code < 256; ++code) {
            if (base[code]) glyphNames_[code] = base[code];
        }
    }
    needsBuiltinEncoding_ = builtin;

    if (differences.isArray()) {
        long long code = -1;
        for (auto item : differences.aitems()) {
            if (item.isNumber()) {
                code = integerOf(item, -1);
            } else if (item.isName()) {
                if (code >= 0 && code < 256) {
                    glyphNames_[code] = nameOf(item);
                    nameFromDifferences_.set(code);
                }
                if (code >= 0) ++code;
            }
        }
    }
}

void PdfFont::readSimpleWidths(QPDFObjectHandle fontDict) {
    auto widths = dictEntry(fontDict, "/Widths");
    if (!widths.isArray()) return;
    const long long firstChar = integerOf(dictEntry(fontDict, "/FirstChar"), 0);
    const int count = widths.getArrayNItems();
    for (int i = 0; i < count; ++i) {
        const long long code = firstChar + i;
        if (code < 0 || code > 255) continue;
        auto item = widths.getArrayItem(i);
        if (!item.isNumber()) continue;
        widths_[code] = numberOf(item, 0);
        widthGiven_.set(code);
    }
    hasWidthsArray_ = widthGiven_.any();
}

void PdfFont::ensureSimpleNamesLocked() const {
    if (simpleNamesReady_) return;
    simpleNamesReady_ = true;

    if (needsBuiltinEncoding_) {
        ensureProgramLocked();
        std::array<std::string, 256> builtin;
        if (program_) builtin = program_->builtinEncoding();
        const bool empty =
            std::all_of(builtin.begin(), builtin.end(), [](const auto& n) { return n.empty(); });
        const char* const* fallback =
            standard_ ? standard_->builtinEncoding : fontdata::kStandardEncoding;
        for (int code = 0; code < 256; ++code) {
            if (nameFromDifferences_.test(code)) continue;
            if (!empty) {
                glyphNames_[code] = builtin[code];
            } else if (fallback[code]) {
                glyphNames_[code] = fallback[code];
            }
        }
    } else if (kind_ == Kind::TrueType && symbolic_ && !hasToUnicode_ && isEmbedded() &&
               std::all_of(glyphNames_.begin(), glyphNames_.end(),
                           [](const auto& n) { return n.empty(); })) {
        // A symbolic TrueType font without names or ToUnicode: its glyph names (post table)
        // are the only hint at the text.
        ensureProgramLocked();
        if (program_) {
            for (int code = 0; code < 256; ++code) {
                const unsigned gid = simpleGlyphIndexLocked(code, {});
                if (gid != 0) glyphNames_[code] = program_->glyphName(gid);
            }
        }
    }

    const bool dingbats = (standard_ && std::string_view(standard_->fontName) == "ZapfDingbats");
    for (int code = 0; code < 256; ++code) {
        std::string text = hasToUnicode_ ? toUnicode_.unicodeFor(code) : std::string();
        if (text.empty() && !glyphNames_[code].empty()) {
            text = glyphNameToUnicode(glyphNames_[code], dingbats);
            if (text.empty()) text = numberedGlyphNameToUnicode(glyphNames_[code], code);
        }
        if (text.empty()) text = programUnicodeOfSimpleCodeLocked(code);
        simpleUnicode_[code] = std::move(text);
        simpleAdvance_[code] = computeSimpleAdvance(code);
    }
}

// ---------------------------------------------------------------------------------------
// Composite fonts

void PdfFont::buildComposite(QPDFObjectHandle fontDict) {
    auto descendants = dictEntry(fontDict, "/DescendantFonts");
    QPDFObjectHandle cidFont = descendants;
    if (descendants.isArray() && descendants.getArrayNItems() > 0)
        cidFont = descendants.getArrayItem(0);
    const bool hasCidFont = cidFont.isDictionary();
    if (hasCidFont) {
        cidFontType2_ = nameOf(dictEntry(cidFont, "/Subtype")) == "CIDFontType2";
        readDescriptor(dictEntry(cidFont, "/FontDescriptor"));
        readCollection(cidFont);
    }
    readCompositeEncoding(dictEntry(fontDict, "/Encoding"));
    vertical_ = encodingCMap_.isVertical();
    readToUnicode(fontDict);
    if (!hasCidFont) return;
    std::string problem;
    cidText_ = cidTextTable(collection_, problem);
    // The table matters only where no /ToUnicode gives the text.
    if (!toUnicodeIsIdentity_ && !hasToUnicode_) warn(problem);
    cidWidths_ = CidWidths(cidFont);
    auto dw2 = dictEntry(cidFont, "/DW2");
    if (dw2.isArray() && dw2.getArrayNItems() >= 2)
        verticalAdvance_ = -numberOf(dw2.getArrayItem(1), -1000) / 1000.0;
    auto map = dictEntry(cidFont, "/CIDToGIDMap");
    if (map.isStream()) cidToGidMap_ = map;
}

void PdfFont::readCollection(QPDFObjectHandle cidFont) {
    auto info = dictEntry(cidFont, "/CIDSystemInfo");
    auto registry = dictEntry(info, "/Registry");
    auto ordering = dictEntry(info, "/Ordering");
    if (!registry.isString() || !ordering.isString()) return;
    collection_ = registry.getStringValue() + "-" + ordering.getStringValue();
    cidIsUnicode_ =
        !isEmbedded() && (collection_ == "Adobe-Identity" || collection_ == "Adobe-UCS");
}

void PdfFont::usePredefinedCMap(const std::string& name, CMap& into) {
    std::string problem;
    const PredefinedCMap predefined = predefinedCMap(name, collection_, problem);
    if (!predefined.cmap) {
        warn(problem);
        return;
    }
    const bool vertical = into.isVertical() || predefined.cmap->isVertical();
    into.use(predefined.cmap);
    into.setVertical(vertical);
    if (collection_.empty()) collection_ = predefined.collection;
    predefinedNonIdentity_ = false;
}

void PdfFont::readCompositeEncoding(QPDFObjectHandle encoding) {
    if (encoding.isName()) {
        const std::string name = nameOf(encoding);
        const bool vertical = name.size() >= 2 && name.compare(name.size() - 2, 2, "-V") == 0;
        encodingCMap_ = CMap::identity(vertical);
        if (name == "Identity-H" || name == "Identity-V") return;
        // Until the CMap file is read its CIDs are unknown; Uni*-UCS2/UTF16 codes still tell
        // their text.
        predefinedNonIdentity_ = true;
        unicodeCMap_ = name.rfind("Uni", 0) == 0 && (name.find("UCS2") != std::string::npos ||
                                                     name.find("UTF16") != std::string::npos);
        CMap predefined;
        predefined.setVertical(vertical);
        usePredefinedCMap(name, predefined);
        if (!predefinedNonIdentity_) encodingCMap_ = std::move(predefined);
    } else if (encoding.isStream()) {
        encodingCMap_ = CMap::parse(streamBytes(encoding));
        if (encodingCMap_.codespaces().empty() && !encodingCMap_.hasCidMappings() &&
            !encodingCMap_.isIdentity() && encodingCMap_.useCMap().empty())
            encodingCMap_ = CMap::identity(false);
        if (numberOf(dictEntry(encoding.getDict(), "/WMode"), 0) == 1)
            encodingCMap_.setVertical(true);
        // A CMap that builds on a predefined one (usecmap) takes that one's CIDs for the codes
        // it does not map itself.
        if (!encodingCMap_.isIdentity() && !encodingCMap_.useCMap().empty()) {
            predefinedNonIdentity_ = true;
            usePredefinedCMap(encodingCMap_.useCMap(), encodingCMap_);
        }
        if (!encodingCMap_.isIdentity() && !encodingCMap_.hasCidMappings())
            predefinedNonIdentity_ = true;
    } else {
        encodingCMap_ = CMap::identity(false);
    }
}

// ---------------------------------------------------------------------------------------
// Decoding

std::string PdfFont::unicodeOfLocked(std::uint32_t code) const {
    if (kind_ != Kind::Type0) {
        ensureSimpleNamesLocked();
        return code < 256 ? simpleUnicode_[code] : std::string();
    }
    return compositeUnicodeLocked(code);
}

std::string PdfFont::compositeUnicodeLocked(std::uint32_t code) const {
    if (hasToUnicode_) {
        std::string text = toUnicode_.unicodeFor(code);
        if (!text.empty()) return text;
    }
    if (toUnicodeIsIdentity_) return code <= 0xFFFF ? ownCharacter(code) : std::string();
    const auto cid = encodingCMap_.cidFor(code);
    if (cid && cidText_) {
        if (const char32_t character = cidText_->characterOf(*cid))
            return ::relettra::pdf::toUtf8(character);
    }
    if (unicodeCMap_ && predefinedNonIdentity_) {
        const int length = codeLength(code);
        std::string utf16;
        for (int i = length - 1; i >= 0; --i) utf16.push_back(static_cast<char>(code >> (8 * i)));
        return utf16BeToUtf8(utf16);
    }
    if (!cid || predefinedNonIdentity_) return {};
    if (isEmbedded()) {
        // The embedded program's own cmap, read back from the glyph the CID selects.
        ensureProgramUnicodeLocked();
        const auto it = unicodeByGlyph_.find(glyphOfCidLocked(*cid));
        return it != unicodeByGlyph_.end() ? it->second : std::string();
    }
    return cidIsUnicode_ ? ownCharacter(*cid) : std::string();
}

std::string PdfFont::programUnicodeOfSimpleCodeLocked(std::uint32_t code) const {
    // Only a TrueType program whose codes select glyphs by code (symbolic, or without
    // /Encoding) tells the text of a code through its own cmaps; a font with /ToUnicode is
    // taken to map every code it uses there.
    if (kind_ != Kind::TrueType || !isEmbedded() || hasToUnicode_ || (!symbolic_ && encodingGiven_))
        return {};
    ensureProgramUnicodeLocked();
    if (unicodeByGlyph_.empty()) return {};
    const auto it = unicodeByGlyph_.find(simpleGlyphIndexLocked(code, {}));
    return it != unicodeByGlyph_.end() && it->first != 0 ? it->second : std::string();
}

std::string_view PdfFont::storedUnicodeLocked(std::uint32_t code) const {
    auto found = unicodeByCode_.find(code);
    if (found == unicodeByCode_.end()) {
        found = unicodeByCode_.emplace(code, unicodeOfLocked(code)).first;
    }
    return found->second;
}

double PdfFont::advanceOf(std::uint32_t code) const {
    // Callers of the simple branch hold mutex_ and have completed the simple tables.
    if (kind_ == Kind::Type0) {
        if (vertical_) return verticalAdvance_;
        const auto cid = encodingCMap_.cidFor(code).value_or(predefinedNonIdentity_ ? code : 0);
        return cidWidths_.width(cid) / 1000.0;
    }
    return code < 256 ? simpleAdvance_[code] : 0;
}

double PdfFont::computeSimpleAdvance(std::uint32_t code) const {
    if (widthGiven_.test(code)) return widths_[code] * fontMatrixScale_;
    if (!hasWidthsArray_ && kind_ != Kind::Type3) {
        // No /Widths: the standard font's metrics, or Helvetica's as the usual substitute.
        const auto* metrics = standard_ ? standard_ : findStandardFont("Helvetica");
        if (metrics && !glyphNames_[code].empty()) {
            if (auto width = standardGlyphWidth(*metrics, glyphNames_[code]))
                return *width * fontMatrixScale_;
        }
    }
    return missingWidth_ * fontMatrixScale_;
}

std::vector<DecodedGlyph> PdfFont::decode(const std::string& bytes) const {
    std::vector<DecodedGlyph> glyphs;
    decodeInto(bytes, glyphs);
    return glyphs;
}

void PdfFont::decodeInto(const std::string& bytes, std::vector<DecodedGlyph>& glyphs) const {
    // Entries already in `glyphs` are overwritten in place, so their strings keep their storage.
    size_t used = 0;
    auto next = [&]() -> DecodedGlyph& {
        if (used == glyphs.size()) glyphs.emplace_back();
        return glyphs[used++];
    };
    try {
        std::lock_guard<std::mutex> lock(mutex_);
        if (kind_ != Kind::Type0) {
            ensureSimpleNamesLocked();
            glyphs.reserve(bytes.size());
            for (const char byte : bytes) {
                const auto code = static_cast<unsigned char>(byte);
                DecodedGlyph& glyph = next();
                glyph.code = code;
                glyph.byteLength = 1;
                glyph.unicode = simpleUnicode_[code];
                glyph.advance = advanceOf(code);
                glyph.isSingleByteSpace = code == 32;
                usedSimpleCodes_.set(code);
            }
        } else {
            std::size_t pos = 0;
            while (pos < bytes.size()) {
                const int length = std::max(1, encodingCMap_.codeLength(bytes, pos, 2));
                std::uint32_t code = 0;
                for (int i = 0; i < length; ++i)
                    code = (code << 8) | static_cast<unsigned char>(bytes[pos + i]);
                DecodedGlyph& glyph = next();
                glyph.code = code;
                glyph.byteLength = length;
                glyph.unicode = storedUnicodeLocked(code);
                glyph.advance = advanceOf(code);
                glyph.isSingleByteSpace = length == 1 && code == 32;
                usedCompositeCodes_.insert(code);
                pos += static_cast<std::size_t>(length);
            }
        }
    } catch (const std::exception&) {
        // Keep what was decoded so far.
    }
    glyphs.resize(used);
}

void PdfFont::appendUtf8Text(const std::string& bytes, std::string& out) const {
    try {
        std::lock_guard<std::mutex> lock(mutex_);
        if (kind_ != Kind::Type0) {
            ensureSimpleNamesLocked();
            out.reserve(out.size() + bytes.size());
            for (const char byte : bytes) {
                const std::string& text = simpleUnicode_[static_cast<unsigned char>(byte)];
                if (text.size() == 1) {
                    out.push_back(text[0]);  // by far the most common case, kept cheap
                } else {
                    out += text;
                }
            }
            return;
        }
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            const int length = std::max(1, encodingCMap_.codeLength(bytes, pos, 2));
            std::uint32_t code = 0;
            for (int i = 0; i < length; ++i)
                code = (code << 8) | static_cast<unsigned char>(bytes[pos + i]);
            out += storedUnicodeLocked(code);
            pos += static_cast<std::size_t>(length);
        }
    } catch (const std::exception&) {
        // Keep what was decoded so far.
    }
}

std::string PdfFont::toUtf8(const std::string& bytes) const {
    std::string text;
    for (const auto& glyph : decode(bytes)) text += glyph.unicode;
    return text;
}

// ---------------------------------------------------------------------------------------
// Glyph availability and encoding

void PdfFont::ensureProgramLocked() const {
    if (programTried_) return;
    programTried_ = true;
    if (!fontFile_.isStream()) return;
    try {
        program_ = FontProgram::load(streamBytes(fontFile_));
        if (cidToGidMap_.isStream()) cidToGidBytes_ = streamBytes(cidToGidMap_);
    } catch (const std::exception&) {
        program_.reset();
    }
}

unsigned PdfFont::simpleGlyphIndexLocked(std::uint32_t code, const std::string& unicode) const {
    if (!program_ || code > 255) return 0;
    return simpleGlyphIndex(*program_, code, glyphNames_[code], unicode, symbolic_);
}

std::uint32_t PdfFont::glyphOfCidLocked(std::uint32_t cid) const {
    ensureProgramLocked();
    if (!cidFontType2_ || !cidToGidMap_.isStream()) return cid;
    const std::size_t offset = static_cast<std::size_t>(cid) * 2;
    if (offset + 1 >= cidToGidBytes_.size()) return 0;
    return (static_cast<unsigned char>(cidToGidBytes_[offset]) << 8) |
           static_cast<unsigned char>(cidToGidBytes_[offset + 1]);
}

void PdfFont::ensureProgramUnicodeLocked() const {
    if (programUnicodeReady_) return;
    programUnicodeReady_ = true;
    ensureProgramLocked();
    if (!program_) return;
    for (const auto& [glyph, codePoint] : program_->unicodeGlyphs()) {
        // Several characters may share a glyph; the first (lowest) one stands for it.
        unicodeByGlyph_.try_emplace(glyph, ::relettra::pdf::toUtf8(codePoint));
    }
}

bool PdfFont::hasUsableWidthLocked(std::uint32_t code) const {
    if (kind_ == Kind::Type0) return true;  // /W or /DW always gives one
    if (code > 255) return false;
    if (hasWidthsArray_) return widthGiven_.test(code) && widths_[code] > 0;
    if (kind_ == Kind::Type3 || !standard_) return false;
    return !glyphNames_[code].empty() && standardGlyphWidth(*standard_, glyphNames_[code]);
}

bool PdfFont::glyphPresentLocked(std::uint32_t code, const std::string& unicode) const {
    const bool space = isSpaceText(unicode);
    if (kind_ == Kind::Type3) {
        return code < 256 && !glyphNames_[code].empty() && type3Glyphs_.count(glyphNames_[code]);
    }
    if (kind_ == Kind::Type0) {
        if (predefinedNonIdentity_) return false;
        const auto cid = encodingCMap_.cidFor(code);
        if (!cid) return false;
        // A viewer shows a font of the collection in place of one that is not embedded.
        if (!isEmbedded()) return cidText_ && *cid != 0 && cidText_->characterOf(*cid) != 0;
        ensureProgramLocked();
        if (!program_) return false;
        const std::uint32_t gid = glyphOfCidLocked(*cid);
        if (gid == 0) return false;
        return space || program_->glyphHasOutline(gid);
    }
    if (code > 255) return false;
    const std::string& name = glyphNames_[code];
    if (!isEmbedded()) {
        if (standard_) return !name.empty() && standardFontHasGlyph(*standard_, name);
        // A non-embedded font that is not standard: the viewer substitutes a font by name,
        // which covers the named glyphs of a text encoding but nothing symbolic.
        return !symbolic_ && !name.empty() && !unicode.empty();
    }
    ensureProgramLocked();
    const unsigned gid = simpleGlyphIndexLocked(code, unicode);
    if (gid == 0) return false;
    return space || program_->glyphHasOutline(gid);
}

bool PdfFont::isAvailableLocked(std::uint32_t code) const {
    const auto cached = availability_.find(code);
    if (cached != availability_.end()) return cached->second;
    const std::string unicode = unicodeOfLocked(code);
    const bool available =
        !unicode.empty() && hasUsableWidthLocked(code) && glyphPresentLocked(code, unicode);
    availability_.emplace(code, available);
    return available;
}

void PdfFont::ensureReverseMapLocked() const {
    if (reverseReady_) return;
    reverseReady_ = true;
    const auto addKey = [this](std::uint32_t code, const std::string& text) {
        if (text.empty()) return;
        reverse_[text].push_back(code);
        longestReverseKey_ = std::max(longestReverseKey_, codePointCount(text));
    };
    // A ligature glyph answers to its character and to its letters spelled out.
    const auto add = [&addKey](std::uint32_t code, const std::string& text) {
        addKey(code, text);
        const std::string spelled = spellOutLigatures(text);
        if (spelled != text) addKey(code, spelled);
    };
    if (kind_ != Kind::Type0) {
        ensureSimpleNamesLocked();
        for (std::uint32_t code = 0; code < 256; ++code) add(code, simpleUnicode_[code]);
    } else {
        // Every code some source gives a text, with the text decoding gives it: what is
        // encoded decodes to the same text again.
        addCompositeReverseCodesLocked(
            [&](std::uint32_t code) { add(code, compositeUnicodeLocked(code)); });
    }
    for (auto& entry : reverse_) {
        auto& codes = entry.second;
        std::sort(codes.begin(), codes.end());
        codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    }
}

void PdfFont::addCompositeReverseCodesLocked(
    const std::function<void(std::uint32_t)>& addCode) const {
    if (hasToUnicode_)
        toUnicode_.forEachUnicode([&](std::uint32_t code, const std::string&) { addCode(code); });
    if (predefinedNonIdentity_) return;
    // The codes of the collection's CIDs that have a character.
    if (cidText_) {
        if (encodingCMap_.isIdentity() && !encodingCMap_.hasCidMappings()) {
            for (std::uint32_t cid = 1; cid < cidText_->size(); ++cid) {
                if (cidText_->characterOf(cid) != 0) addCode(cid);
            }
        } else {
            encodingCMap_.forEachCid([&](std::uint32_t code, std::uint32_t cid) {
                if (cidText_->characterOf(cid) != 0) addCode(code);
            });
        }
    }
    if (!isEmbedded()) return;
    // The codes of the glyphs the program's cmap names.
    ensureProgramUnicodeLocked();
    if (unicodeByGlyph_.empty()) return;
    if (!encodingCMap_.isIdentity() || encodingCMap_.hasCidMappings()) {
        encodingCMap_.forEachCid([&](std::uint32_t code, std::uint32_t cid) {
            if (unicodeByGlyph_.count(glyphOfCidLocked(cid))) addCode(code);
        });
    } else if (!cidToGidMap_.isStream() || !cidFontType2_) {
        for (const auto& entry : unicodeByGlyph_) addCode(entry.first);
    } else {
        for (std::uint32_t cid = 0; 2 * static_cast<std::size_t>(cid) + 1 < cidToGidBytes_.size();
             ++cid) {
            if (unicodeByGlyph_.count(glyphOfCidLocked(cid))) addCode(cid);
        }
    }
}

std::optional<std::uint32_t> PdfFont::bestCodeLocked(const std::string& unicode) const {
    static const std::vector<std::uint32_t> kNone;
    const auto it = reverse_.find(unicode);
    const std::vector<std::uint32_t>& codes = it != reverse_.end() ? it->second : kNone;
    // A /ToUnicode named Identity-H makes every character of the BMP its own code.
    std::optional<std::uint32_t> ownCode;
    if (toUnicodeIsIdentity_) {
        const std::u32string characters = decodeUtf8(unicode);
        if (characters.size() == 1 && characters[0] <= 0xFFFF &&
            ownCharacter(characters[0]) == unicode)
            ownCode = characters[0];
    }
    const auto used = [this](std::uint32_t code) {
        return kind_ == Kind::Type0 ? usedCompositeCodes_.count(code) > 0
                                    : code < 256 && usedSimpleCodes_.test(code);
    };
    for (const std::uint32_t code : codes) {
        if (used(code) && isAvailableLocked(code)) return code;
    }
    if (ownCode && isAvailableLocked(*ownCode)) return ownCode;
    for (const std::uint32_t code : codes) {
        if (isAvailableLocked(code)) return code;
    }
    return std::nullopt;
}

int PdfFont::codeLength(std::uint32_t code) const {
    if (kind_ != Kind::Type0) return 1;
    const auto& ranges = encodingCMap_.codespaces();
    for (int n = 1; n <= 4; ++n) {
        if (n < 4 && code >= (1u << (8 * n))) continue;
        unsigned char bytes[4];
        for (int i = 0; i < n; ++i)
            bytes[i] = static_cast<unsigned char>(code >> (8 * (n - 1 - i)));
        for (const auto& range : ranges) {
            if (range.contains(bytes, n)) return n;
        }
    }
    return code < 0x10000 ? 2 : 4;
}

std::string PdfFont::codeBytes(std::uint32_t code) const {
    const int length = codeLength(code);
    std::string bytes;
    for (int i = length - 1; i >= 0; --i) bytes.push_back(static_cast<char>(code >> (8 * i)));
    return bytes;
}

std::optional<std::string> PdfFont::encode(const std::string& utf8) const {
    try {
        std::lock_guard<std::mutex> lock(mutex_);
        ensureReverseMapLocked();
        const std::u32string cps = decodeUtf8(utf8);
        std::string out;
        std::size_t i = 0;
        while (i < cps.size()) {
            if (auto code = bestCodeLocked(::relettra::pdf::toUtf8(cps[i]))) {
                out += codeBytes(*code);
                ++i;
                continue;
            }
            // A character the font has no glyph of its own for may still be part of a
            // ligature glyph the ToUnicode map spells out (e.g. "ffi").
            bool found = false;
            const std::size_t longest = std::min(longestReverseKey_, cps.size() - i);
            for (std::size_t n = longest; n >= 2 && !found; --n) {
                std::string key;
                for (std::size_t k = 0; k < n; ++k) appendUtf8(key, cps[i + k]);
                if (auto code = bestCodeLocked(key)) {
                    out += codeBytes(*code);
                    i += n;
                    found = true;
                }
            }
            if (!found) return std::nullopt;
        }
        return out;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool PdfFont::canEncode(char32_t codePoint) const {
    try {
        std::lock_guard<std::mutex> lock(mutex_);
        ensureReverseMapLocked();
        return bestCodeLocked(::relettra::pdf::toUtf8(codePoint)).has_value();
    } catch (const std::exception&) {
        return false;
    }
}

double PdfFont::spaceAdvance() const {
    try {
        std::lock_guard<std::mutex> lock(mutex_);
        if (spaceAdvance_) return *spaceAdvance_;
        double advance = kDefaultSpaceAdvance;
        if (kind_ != Kind::Type0) {
            ensureSimpleNamesLocked();
            if (simpleUnicode_[32] == " ") {
                advance = advanceOf(32);
            } else {
                ensureReverseMapLocked();
                const auto it = reverse_.find(" ");
                if (it != reverse_.end() && !it->second.empty())
                    advance = advanceOf(it->second.front());
            }
        } else {
            ensureReverseMapLocked();
            const auto it = reverse_.find(" ");
            if (it != reverse_.end() && !it->second.empty())
                advance = advanceOf(it->second.front());
        }
        if (advance <= 0) advance = kDefaultSpaceAdvance;
        spaceAdvance_ = advance;
        return advance;
    } catch (const std::exception&) {
        return kDefaultSpaceAdvance;
    }
}

}  // namespace relettra::pdf
