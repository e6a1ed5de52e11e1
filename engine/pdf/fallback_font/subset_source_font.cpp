#include "pdf/fallback_font/subset_source_font.h"

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

namespace relettra::pdf {

namespace {

// The raw bytes of one table of a face, kept alive while read; values are big-endian.
class TableReader {
  public:
    TableReader(hb_face_t* face, hb_tag_t tag) : blob_(hb_face_reference_table(face, tag)) {
        unsigned length = 0;
        const char* data = hb_blob_get_data(blob_, &length);
        data_ = reinterpret_cast<const unsigned char*>(data);
        length_ = data ? length : 0;
    }
    ~TableReader() { hb_blob_destroy(blob_); }
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;

    std::size_t length() const { return length_; }
    bool has(std::size_t offset, std::size_t size) const { return offset + size <= length_; }
    unsigned u8(std::size_t offset) const { return has(offset, 1) ? data_[offset] : 0; }
    unsigned u16(std::size_t offset) const {
        return has(offset, 2) ? (unsigned(data_[offset]) << 8) | data_[offset + 1] : 0;
    }
    int s16(std::size_t offset) const { return static_cast<std::int16_t>(u16(offset)); }
    std::uint32_t u32(std::size_t offset) const {
        return (std::uint32_t(u16(offset)) << 16) | u16(offset + 2);
    }

  private:
    hb_blob_t* blob_;
    const unsigned char* data_ = nullptr;
    std::size_t length_ = 0;
};

// Name characters that need no escaping in a PDF name and that font names use.
bool isPlainNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '+';
}

std::string postScriptNameOf(hb_face_t* face) {
    unsigned size = 128;
    std::vector<char> buffer(size);
    hb_ot_name_get_utf8(face, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &size,
                        buffer.data());
    std::string name;
    for (const char* p = buffer.data(); *p != '\0'; ++p) {
        if (isPlainNameChar(*p)) {
            name.push_back(*p);
        }
    }
    return name;
}

// The font's full name ("Liberation Serif Bold") in English, else in the first language it has.
std::string fullNameOf(hb_face_t* face) {
    for (const hb_language_t language : {hb_language_from_string("en", -1), HB_LANGUAGE_INVALID}) {
        unsigned size =
            hb_ot_name_get_utf8(face, HB_OT_NAME_ID_FULL_NAME, language, nullptr, nullptr);
        if (size == 0) continue;
        std::vector<char> buffer(size + 1);
        size = static_cast<unsigned>(buffer.size());
        hb_ot_name_get_utf8(face, HB_OT_NAME_ID_FULL_NAME, language, &size, buffer.data());
        return std::string(buffer.data(), size);
    }
    return {};
}

struct SubsetInputDeleter {
    void operator()(hb_subset_input_t* input) const { hb_subset_input_destroy(input); }
};
struct FaceDeleter {
    void operator()(hb_face_t* face) const { hb_face_destroy(face); }
};
struct BlobDeleter {
    void operator()(hb_blob_t* blob) const { hb_blob_destroy(blob); }
};

}  // namespace

std::unique_ptr<SubsetSourceFont> SubsetSourceFont::load(const std::filesystem::path& file,
                                                         std::string& error) {
    std::unique_ptr<SubsetSourceFont> program(new SubsetSourceFont());
    {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            error = "cannot open font file '" + file.u8string() + "'";
            return nullptr;
        }
        program->data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) {
            error = "cannot read font file '" + file.u8string() + "'";
            return nullptr;
        }
    }
    if (program->data_.empty()) {
        error = "font file '" + file.u8string() + "' is empty";
        return nullptr;
    }
    program->blob_ =
        hb_blob_create(program->data_.data(), static_cast<unsigned>(program->data_.size()),
                       HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    program->face_ = hb_face_create(program->blob_, 0);
    program->font_ = hb_font_create(program->face_);
    hb_face_t* face = program->face_;

    const bool hasOutlines = hb_face_get_glyph_count(face) > 0 &&
                             TableReader(face, HB_TAG('h', 'e', 'a', 'd')).length() >= 54 &&
                             TableReader(face, HB_TAG('g', 'l', 'y', 'f')).length() > 0 &&
                             TableReader(face, HB_TAG('l', 'o', 'c', 'a')).length() > 0;
    if (!hasOutlines) {
        error = "'" + file.u8string() + "' is no TrueType font with glyph outlines";
        return nullptr;
    }
    hb_codepoint_t glyph = 0;
    if (!hb_font_get_nominal_glyph(program->font_, U'A', &glyph) &&
        !hb_font_get_nominal_glyph(program->font_, U' ', &glyph)) {
        error = "font '" + file.u8string() + "' has no Unicode character map";
        return nullptr;
    }
    // Advances in font units: scale the font to its own em.
    const int upem = static_cast<int>(hb_face_get_upem(face));
    hb_font_set_scale(program->font_, upem, upem);
    program->readMetrics();
    return program;
}

SubsetSourceFont::~SubsetSourceFont() {
    hb_font_destroy(font_);
    hb_face_destroy(face_);
    hb_blob_destroy(blob_);
}

void SubsetSourceFont::readMetrics() {
    FontMetrics& m = metrics_;
    m.unitsPerEm = hb_face_get_upem(face_);

    const TableReader head(face_, HB_TAG('h', 'e', 'a', 'd'));
    m.xMin = head.s16(36);
    m.yMin = head.s16(38);
    m.xMax = head.s16(40);
    m.yMax = head.s16(42);
    const unsigned macStyle = head.u16(44);

    const TableReader hhea(face_, HB_TAG('h', 'h', 'e', 'a'));
    m.ascender = hhea.s16(4);
    m.descender = hhea.s16(6);

    const TableReader os2(face_, HB_TAG('O', 'S', '/', '2'));
    if (os2.has(0, 78)) {
        m.weightClass = static_cast<int>(os2.u16(4));
        const unsigned familyType = os2.u8(32);
        const unsigned serifStyle = os2.u8(33);
        // PANOSE Latin text: serif styles 2 to 10 have serifs, 11 to 13 are sans serif.
        m.serif = familyType == 2 && serifStyle >= 2 && serifStyle <= 10;
        if (m.ascender == 0 && m.descender == 0) {
            m.ascender = os2.s16(68);   // sTypoAscender
            m.descender = os2.s16(70);  // sTypoDescender
        }
    }
    if (os2.u16(0) >= 2 && os2.has(88, 2)) {
        m.capHeight = os2.s16(88);
    }
    if (m.capHeight <= 0) {
        m.capHeight = static_cast<int>(std::lround(m.ascender * 0.8));
    }

    const TableReader post(face_, HB_TAG('p', 'o', 's', 't'));
    if (post.has(0, 16)) {
        m.italicAngle = static_cast<std::int32_t>(post.u32(4)) / 65536.0;
        m.fixedPitch = post.u32(12) != 0;
    }
    m.italic = (macStyle & 0x2) != 0 || m.italicAngle != 0.0;
    m.postScriptName = postScriptNameOf(face_);
    m.fullName = fullNameOf(face_);
}

std::optional<std::uint16_t> SubsetSourceFont::glyphFor(char32_t c) const {
    hb_codepoint_t glyph = 0;
    if (!hb_font_get_nominal_glyph(font_, c, &glyph) || glyph == 0 || glyph > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(glyph);
}

std::vector<SubsetSourceFont::ShapedGlyph> SubsetSourceFont::shapeRightToLeft(
    const std::u32string& text) const {
    std::unique_ptr<hb_buffer_t, void (*)(hb_buffer_t*)> buffer(hb_buffer_create(),
                                                                hb_buffer_destroy);
    hb_buffer_set_cluster_level(buffer.get(), HB_BUFFER_CLUSTER_LEVEL_CHARACTERS);
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const std::uint32_t*>(text.data()),
                        static_cast<int>(text.size()), 0, static_cast<int>(text.size()));
    hb_buffer_guess_segment_properties(buffer.get());
    hb_buffer_set_direction(buffer.get(), HB_DIRECTION_RTL);
    // No ligatures: each glyph must stand for one character in the ToUnicode map.
    hb_feature_t features[4];
    const char* const off[] = {"-liga", "-rlig", "-clig", "-dlig"};
    for (int i = 0; i < 4; ++i) {
        hb_feature_from_string(off[i], -1, &features[i]);
    }
    hb_shape(font_, buffer.get(), features, 4);
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
    std::vector<ShapedGlyph> glyphs;
    if (count != text.size()) {
        return glyphs;
    }
    for (unsigned i = 0; i < count; ++i) {
        if (infos[i].codepoint == 0 || infos[i].codepoint > 0xFFFF ||
            infos[i].cluster >= text.size()) {
            return {};
        }
        glyphs.push_back({static_cast<std::uint16_t>(infos[i].codepoint), text[infos[i].cluster]});
    }
    return glyphs;
}

int SubsetSourceFont::advanceOf(std::uint16_t glyph) const {
    return static_cast<int>(hb_font_get_glyph_h_advance(font_, glyph));
}

std::string SubsetSourceFont::subset(const std::set<std::uint16_t>& glyphs,
                                     const std::set<char32_t>& unicodes, std::string& error) const {
    std::unique_ptr<hb_subset_input_t, SubsetInputDeleter> input(hb_subset_input_create_or_fail());
    if (!input) {
        error = "font subsetting: out of memory";
        return {};
    }
    // Glyph ids stay as they are: text encoded before subsetting names glyphs by their id.
    hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_RETAIN_GIDS);
    hb_set_t* glyphSet = hb_subset_input_glyph_set(input.get());
    hb_set_add(glyphSet, 0);
    for (const std::uint16_t glyph : glyphs) {
        hb_set_add(glyphSet, glyph);
    }
    hb_set_t* unicodeSet = hb_subset_input_unicode_set(input.get());
    for (const char32_t c : unicodes) {
        hb_set_add(unicodeSet, c);
    }
    // A PDF shows glyphs by id, one per character: substitution and positioning tables would only
    // pull in glyphs that are never drawn, and the name table is not read from an embedded font.
    hb_set_t* dropTables = hb_subset_input_set(input.get(), HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const hb_tag_t tag :
         {HB_TAG('G', 'S', 'U', 'B'), HB_TAG('G', 'P', 'O', 'S'), HB_TAG('G', 'D', 'E', 'F'),
          HB_TAG('k', 'e', 'r', 'n'), HB_TAG('n', 'a', 'm', 'e'), HB_TAG('D', 'S', 'I', 'G'),
          HB_TAG('g', 'a', 's', 'p'), HB_TAG('h', 'd', 'm', 'x'), HB_TAG('L', 'T', 'S', 'H'),
          HB_TAG('V', 'D', 'M', 'X'), HB_TAG('P', 'C', 'L', 'T'), HB_TAG('F', 'F', 'T', 'M'),
          HB_TAG('m', 'e', 't', 'a')}) {
        hb_set_add(dropTables, tag);
    }

    std::unique_ptr<hb_face_t, FaceDeleter> subsetFace(hb_subset_or_fail(face_, input.get()));
    if (!subsetFace) {
        error = "font subsetting failed";
        return {};
    }
    std::unique_ptr<hb_blob_t, BlobDeleter> blob(hb_face_reference_blob(subsetFace.get()));
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob.get(), &length);
    if (data == nullptr || length == 0) {
        error = "font subsetting produced no data";
        return {};
    }
    return std::string(data, length);
}

}  // namespace relettra::pdf
