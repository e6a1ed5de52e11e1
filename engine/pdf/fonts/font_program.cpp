#include "pdf/fonts/font_program.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_CID_H
#include FT_TRUETYPE_TABLES_H

#include <cstring>

namespace relettra::pdf {

struct FontProgram::Impl {
    std::string data;  // FreeType reads the face from this buffer for the face's lifetime
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    bool cidKeyed = false;
    bool trueType = false;

    ~Impl() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }

    FT_CharMap findCharmap(int platform, int encoding) const {
        for (int i = 0; i < face->num_charmaps; ++i) {
            FT_CharMap map = face->charmaps[i];
            if (map->platform_id == platform && map->encoding_id == encoding) return map;
        }
        return nullptr;
    }
};

std::unique_ptr<FontProgram> FontProgram::load(std::string data) {
    if (data.empty()) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->data = std::move(data);
    if (FT_Init_FreeType(&impl->library) != 0) {
        impl->library = nullptr;
        return nullptr;
    }
    if (FT_New_Memory_Face(impl->library, reinterpret_cast<const FT_Byte*>(impl->data.data()),
                           static_cast<FT_Long>(impl->data.size()), 0, &impl->face) != 0) {
        impl->face = nullptr;
        return nullptr;
    }
    impl->cidKeyed = FT_IS_CID_KEYED(impl->face);
    // With a null buffer and a zero length, FreeType only reports the table's size.
    FT_ULong glyfLength = 0;
    impl->trueType = FT_IS_SFNT(impl->face) &&
                     FT_Load_Sfnt_Table(impl->face, FT_MAKE_TAG('g', 'l', 'y', 'f'), 0, nullptr,
                                        &glyfLength) == 0 &&
                     glyfLength > 0;
    std::unique_ptr<FontProgram> program(new FontProgram());
    program->impl_ = std::move(impl);
    return program;
}

FontProgram::~FontProgram() = default;

bool FontProgram::isTrueType() const {
    return impl_->trueType;
}
bool FontProgram::isCidKeyed() const {
    return impl_->cidKeyed;
}
long FontProgram::glyphCount() const {
    return impl_->face->num_glyphs;
}

unsigned FontProgram::glyphByName(const std::string& name) const {
    if (name.empty() || !FT_HAS_GLYPH_NAMES(impl_->face)) return 0;
    const FT_UInt index = FT_Get_Name_Index(impl_->face, const_cast<FT_String*>(name.c_str()));
    if (index == 0) return 0;
    // FreeType may answer with index 0-equivalents for unknown names in some drivers;
    // confirm the round trip.
    return glyphName(index) == name ? index : 0;
}

bool FontProgram::hasCmap(int platform, int encoding) const {
    return impl_->findCharmap(platform, encoding) != nullptr;
}

unsigned FontProgram::glyphFromCmap(int platform, int encoding, unsigned long charCode) const {
    FT_CharMap map = impl_->findCharmap(platform, encoding);
    if (!map || FT_Set_Charmap(impl_->face, map) != 0) return 0;
    return FT_Get_Char_Index(impl_->face, charCode);
}

bool FontProgram::glyphHasOutline(unsigned glyphIndex) const {
    if (static_cast<long>(glyphIndex) >= impl_->face->num_glyphs && !impl_->cidKeyed) return false;
    if (FT_Load_Glyph(impl_->face, glyphIndex,
                      FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        return false;
    const FT_GlyphSlot slot = impl_->face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) return slot->outline.n_contours > 0;
    return true;
}

std::string FontProgram::glyphName(unsigned glyphIndex) const {
    if (!FT_HAS_GLYPH_NAMES(impl_->face)) return {};
    char buffer[256] = {};
    if (FT_Get_Glyph_Name(impl_->face, glyphIndex, buffer, sizeof(buffer)) != 0) return {};
    return std::string(buffer, strnlen(buffer, sizeof(buffer)));
}

std::vector<std::pair<unsigned, char32_t>> FontProgram::unicodeGlyphs() const {
    std::vector<std::pair<unsigned, char32_t>> result;
    FT_Face face = impl_->face;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return result;
    FT_UInt glyph = 0;
    FT_ULong code = FT_Get_First_Char(face, &glyph);
    while (glyph != 0) {
        result.emplace_back(glyph, static_cast<char32_t>(code));
        code = FT_Get_Next_Char(face, code, &glyph);
    }
    return result;
}

std::array<std::string, 256> FontProgram::builtinEncoding() const {
    std::array<std::string, 256> names;
    FT_Face face = impl_->face;
    for (const FT_Encoding encoding :
         {FT_ENCODING_ADOBE_CUSTOM, FT_ENCODING_ADOBE_STANDARD, FT_ENCODING_ADOBE_EXPERT}) {
        if (FT_Select_Charmap(face, encoding) != 0) continue;
        FT_UInt glyph = 0;
        FT_ULong code = FT_Get_First_Char(face, &glyph);
        while (glyph != 0) {
            if (code < 256) names[code] = glyphName(glyph);
            code = FT_Get_Next_Char(face, code, &glyph);
        }
        break;
    }
    return names;
}

}  // namespace relettra::pdf
