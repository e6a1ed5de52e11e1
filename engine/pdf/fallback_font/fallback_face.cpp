#include "pdf/fallback_font/fallback_face.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/Pl_String.hh>
#include <set>
#include <utility>

#include "pdf/basics/pdf_number.h"
#include "pdf/basics/utf8.h"
#include "pdf/fallback_font/subset_source_font.h"
#include "pdf/fallback_font/to_unicode_cmap.h"

namespace relettra::pdf {

namespace {

constexpr const char* kDefaultFontName = "FallbackFont";  // for a font without a PostScript name

// Font descriptor flags.
constexpr int kFlagFixedPitch = 1;
constexpr int kFlagSerif = 2;
constexpr int kFlagSymbolic = 4;  // the glyphs go beyond the standard Latin set
constexpr int kFlagItalic = 64;

std::string flateCompress(const std::string& data) {
    std::string compressed;
    Pl_String sink("fallback font data", nullptr, compressed);
    Pl_Flate flate("fallback font deflate", &sink, Pl_Flate::a_deflate);
    flate.write(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    flate.finish();
    return compressed;
}

// Six capital letters that name this glyph set, the same for the same glyphs.
std::string subsetTag(const std::map<std::uint16_t, char32_t>& glyphs) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const auto& entry : glyphs) {
        for (const unsigned byte : {unsigned(entry.first >> 8), unsigned(entry.first & 0xFFu)}) {
            hash = (hash ^ byte) * 1099511628211ull;
        }
    }
    std::string tag;
    for (int i = 0; i < 6; ++i) {
        tag.push_back(static_cast<char>('A' + hash % 26));
        hash /= 26;
    }
    return tag;
}

// TrueType fonts store no stem width; this is the usual estimate from the weight class.
double stemVFromWeight(int weightClass) {
    const double ratio = weightClass / 65.0;
    return 50.0 + ratio * ratio;
}

// /W: runs of consecutive glyph ids as "first [w1 w2 ...]", widths in 1/1000 em.
QPDFObjectHandle widthArray(const SubsetSourceFont& program,
                            const std::map<std::uint16_t, char32_t>& glyphs) {
    const double scale = 1000.0 / program.metrics().unitsPerEm;
    QPDFObjectHandle w = QPDFObjectHandle::newArray();
    QPDFObjectHandle run;
    long previous = -2;
    for (const auto& entry : glyphs) {
        const long glyph = entry.first;
        if (glyph != previous + 1) {
            run = QPDFObjectHandle::newArray();
            w.appendItem(QPDFObjectHandle::newInteger(glyph));
            w.appendItem(run);
        }
        run.appendItem(newPdfNumber(program.advanceOf(entry.first) * scale));
        previous = glyph;
    }
    return w;
}

}  // namespace

FallbackFace::FallbackFace() = default;
FallbackFace::~FallbackFace() = default;
FallbackFace::FallbackFace(FallbackFace&&) noexcept = default;
FallbackFace& FallbackFace::operator=(FallbackFace&&) noexcept = default;

bool FallbackFace::load(const std::filesystem::path& file, std::string& error,
                        const std::string& familyName) {
    try {
        program_.reset();
        file_.clear();
        usedGlyphs_.clear();
        finishedGlyphs_.clear();
        pdf_ = nullptr;
        type0_ = cidFont_ = descriptor_ = QPDFObjectHandle();
        lastError_.clear();
        if (file.empty()) {
            error = "no fallback font file found (" + familyName + " is needed)";
            return false;
        }
        std::string reason;
        program_ = SubsetSourceFont::load(file, reason);
        if (!program_) {
            error = "fallback font: " + reason;
            return false;
        }
        file_ = file;
        return true;
    } catch (const std::exception& e) {
        program_.reset();
        error = std::string("fallback font: ") + e.what();
        return false;
    }
}

bool FallbackFace::isLoaded() const {
    return program_ != nullptr;
}

bool FallbackFace::covers(char32_t c) const {
    return program_ && program_->glyphFor(c).has_value();
}

bool FallbackFace::coversAll(const std::string& utf8) const {
    try {
        if (!program_) {
            return false;
        }
        for (const char32_t c : decodeUtf8(utf8)) {
            if (!program_->glyphFor(c)) {
                return false;
            }
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

namespace {

// Letters of the scripts written right to left: Hebrew, Arabic, Syriac, Thaana, NKo, Samaritan,
// Mandaic and their presentation forms.
bool isRightToLeftLetter(char32_t c) {
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
           (c >= 0xFE70 && c <= 0xFEFF);
}

}  // namespace

std::vector<std::pair<std::uint16_t, char32_t>> FallbackFace::glyphsOf(
    const std::string& utf8) const {
    std::vector<std::pair<std::uint16_t, char32_t>> glyphs;
    if (!program_) {
        return glyphs;
    }
    std::u32string shown;
    for (const char32_t c : decodeUtf8(utf8)) {
        if (program_->glyphFor(c)) {
            shown.push_back(c);
        }
    }
    if (std::any_of(shown.begin(), shown.end(), isRightToLeftLetter)) {
        for (const auto& shaped : program_->shapeRightToLeft(shown)) {
            glyphs.emplace_back(shaped.glyph, shaped.character);
        }
        if (!glyphs.empty()) {
            return glyphs;
        }
        std::reverse(shown.begin(), shown.end());  // shaping failed: visual order at least
    }
    for (const char32_t c : shown) {
        glyphs.emplace_back(*program_->glyphFor(c), c);
    }
    return glyphs;
}

std::string FallbackFace::encode(const std::string& utf8) {
    try {
        std::string bytes;
        for (const auto& [glyph, c] : glyphsOf(utf8)) {
            bytes.push_back(static_cast<char>(glyph >> 8));
            bytes.push_back(static_cast<char>(glyph & 0xFF));
            usedGlyphs_.emplace(glyph, c);
        }
        return bytes;
    } catch (const std::exception&) {
        return {};
    }
}

double FallbackFace::advance(const std::string& utf8) const {
    try {
        if (!program_) {
            return 0.0;
        }
        long long units = 0;
        for (const auto& entry : glyphsOf(utf8)) {
            units += program_->advanceOf(entry.first);
        }
        return static_cast<double>(units) / program_->metrics().unitsPerEm;
    } catch (const std::exception&) {
        return 0.0;
    }
}

double FallbackFace::ascent() const {
    return program_
               ? static_cast<double>(program_->metrics().ascender) / program_->metrics().unitsPerEm
               : 0.0;
}

double FallbackFace::descent() const {
    return program_
               ? static_cast<double>(program_->metrics().descender) / program_->metrics().unitsPerEm
               : 0.0;
}

std::string FallbackFace::displayName() const {
    if (!program_) {
        return {};
    }
    const FontMetrics& m = program_->metrics();
    return !m.fullName.empty() ? m.fullName : m.postScriptName;
}

QPDFObjectHandle FallbackFace::fontObject(QPDF& pdf) {
    if (!program_) {
        return QPDFObjectHandle();
    }
    if (pdf_ == &pdf && type0_.isInitialized()) {
        return type0_;
    }
    try {
        const FontMetrics& m = program_->metrics();
        const double scale = 1000.0 / m.unitsPerEm;
        const std::string name = m.postScriptName.empty() ? kDefaultFontName : m.postScriptName;
        int flags = kFlagSymbolic;
        if (m.fixedPitch) flags |= kFlagFixedPitch;
        if (m.serif) flags |= kFlagSerif;
        if (m.italic) flags |= kFlagItalic;

        QPDFObjectHandle bbox = QPDFObjectHandle::newArray();
        for (const int value : {m.xMin, m.yMin, m.xMax, m.yMax}) {
            bbox.appendItem(newPdfNumber(value * scale));
        }
        QPDFObjectHandle descriptor = QPDFObjectHandle::newDictionary();
        descriptor.replaceKey("/Type", QPDFObjectHandle::newName("/FontDescriptor"));
        descriptor.replaceKey("/FontName", QPDFObjectHandle::newName("/" + name));
        descriptor.replaceKey("/Flags", QPDFObjectHandle::newInteger(flags));
        descriptor.replaceKey("/FontBBox", bbox);
        descriptor.replaceKey("/ItalicAngle", newPdfNumber(m.italicAngle));
        descriptor.replaceKey("/Ascent", newPdfNumber(m.ascender * scale));
        descriptor.replaceKey("/Descent", newPdfNumber(m.descender * scale));
        descriptor.replaceKey("/CapHeight", newPdfNumber(m.capHeight * scale));
        descriptor.replaceKey("/StemV", newPdfNumber(std::round(stemVFromWeight(m.weightClass))));

        QPDFObjectHandle systemInfo = QPDFObjectHandle::newDictionary();
        systemInfo.replaceKey("/Registry", QPDFObjectHandle::newString("Adobe"));
        systemInfo.replaceKey("/Ordering", QPDFObjectHandle::newString("Identity"));
        systemInfo.replaceKey("/Supplement", QPDFObjectHandle::newInteger(0));

        QPDFObjectHandle descriptorRef = pdf.makeIndirectObject(descriptor);
        QPDFObjectHandle cidFont = QPDFObjectHandle::newDictionary();
        cidFont.replaceKey("/Type", QPDFObjectHandle::newName("/Font"));
        cidFont.replaceKey("/Subtype", QPDFObjectHandle::newName("/CIDFontType2"));
        cidFont.replaceKey("/BaseFont", QPDFObjectHandle::newName("/" + name));
        cidFont.replaceKey("/CIDSystemInfo", systemInfo);
        cidFont.replaceKey("/FontDescriptor", descriptorRef);
        cidFont.replaceKey("/CIDToGIDMap", QPDFObjectHandle::newName("/Identity"));
        cidFont.replaceKey("/W", widthArray(*program_, usedGlyphs_));
        QPDFObjectHandle cidFontRef = pdf.makeIndirectObject(cidFont);

        QPDFObjectHandle descendants = QPDFObjectHandle::newArray();
        descendants.appendItem(cidFontRef);
        QPDFObjectHandle type0 = QPDFObjectHandle::newDictionary();
        type0.replaceKey("/Type", QPDFObjectHandle::newName("/Font"));
        type0.replaceKey("/Subtype", QPDFObjectHandle::newName("/Type0"));
        type0.replaceKey("/BaseFont", QPDFObjectHandle::newName("/" + name));
        type0.replaceKey("/Encoding", QPDFObjectHandle::newName("/Identity-H"));
        type0.replaceKey("/DescendantFonts", descendants);

        type0_ = pdf.makeIndirectObject(type0);
        cidFont_ = cidFontRef;
        descriptor_ = descriptorRef;
        pdf_ = &pdf;
        return type0_;
    } catch (const std::exception& e) {
        lastError_ = std::string("fallback font object: ") + e.what();
        return QPDFObjectHandle();
    }
}

void FallbackFace::finish(QPDF& pdf) {
    if (!program_ || pdf_ != &pdf || !type0_.isInitialized()) {
        return;
    }
    if (usedGlyphs_ == finishedGlyphs_ && type0_.hasKey("/ToUnicode")) {
        return;  // the objects already hold these glyphs
    }
    try {
        lastError_.clear();
        std::set<std::uint16_t> glyphs;
        std::set<char32_t> unicodes;
        for (const auto& [glyph, c] : usedGlyphs_) {
            glyphs.insert(glyph);
            unicodes.insert(c);
        }
        std::string reason;
        std::string fontData = program_->subset(glyphs, unicodes, reason);
        if (fontData.empty()) {
            lastError_ = "fallback font: " + reason + "; the whole font is embedded";
            fontData = program_->data();
        }

        QPDFObjectHandle fontFile = pdf.newStream();
        fontFile.replaceStreamData(flateCompress(fontData),
                                   QPDFObjectHandle::newName("/FlateDecode"),
                                   QPDFObjectHandle::newNull());
        fontFile.getDict().replaceKey(
            "/Length1", QPDFObjectHandle::newInteger(static_cast<long long>(fontData.size())));

        QPDFObjectHandle toUnicode = pdf.newStream();
        toUnicode.replaceStreamData(flateCompress(buildToUnicodeCMap(usedGlyphs_)),
                                    QPDFObjectHandle::newName("/FlateDecode"),
                                    QPDFObjectHandle::newNull());

        const FontMetrics& m = program_->metrics();
        const std::string baseName = m.postScriptName.empty() ? kDefaultFontName : m.postScriptName;
        const QPDFObjectHandle name =
            QPDFObjectHandle::newName("/" + subsetTag(usedGlyphs_) + "+" + baseName);

        descriptor_.replaceKey("/FontName", name);
        descriptor_.replaceKey("/FontFile2", fontFile);
        cidFont_.replaceKey("/BaseFont", name);
        cidFont_.replaceKey("/W", widthArray(*program_, usedGlyphs_));
        type0_.replaceKey("/BaseFont", name);
        type0_.replaceKey("/ToUnicode", toUnicode);
        finishedGlyphs_ = usedGlyphs_;
    } catch (const std::exception& e) {
        lastError_ = std::string("fallback font: ") + e.what();
    }
}

}  // namespace relettra::pdf
