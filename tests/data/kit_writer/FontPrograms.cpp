#include "FontPrograms.h"

#include <ft2build.h>
#include <hb-subset.h>
#include <hb.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "ContentWriter.h"

namespace {

std::uint32_t read32(const std::string& data, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(data.at(offset + i));
    }
    return value;
}

}  // namespace

std::string readBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::u32string utf32(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::string bigEndian16(unsigned value) {
    return {static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string bigEndian32(std::uint32_t value) {
    return bigEndian16(value >> 16) + bigEndian16(value);
}

struct OutlineFont::PathState {
    const OutlineFont* font;
    std::string out;
    double x;
    double y;
    PathState& point(double px, double py) {
        x = px;
        y = py;
        const double scale = 1000.0 / font->face_->units_per_EM;
        out += formatNumber(std::round(px * scale * 100) / 100) + " " +
               formatNumber(std::round(py * scale * 100) / 100) + " ";
        return *this;
    }
};

OutlineFont::OutlineFont(std::string data) : data_(std::move(data)) {
    if (FT_Init_FreeType(&library_) != 0 ||
        FT_New_Memory_Face(library_, reinterpret_cast<const FT_Byte*>(data_.data()),
                           static_cast<FT_Long>(data_.size()), 0, &face_) != 0) {
        throw std::runtime_error("FreeType cannot read a font program");
    }
    FT_Select_Charmap(face_, FT_ENCODING_UNICODE);
}

OutlineFont::~OutlineFont() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
}

unsigned OutlineFont::glyphOf(char32_t c) const {
    const unsigned glyph = FT_Get_Char_Index(face_, c);
    if (glyph == 0) {
        throw std::runtime_error("a kit font has no glyph for U+" + std::to_string(c));
    }
    return glyph;
}

int OutlineFont::thousandths(long fontUnits) const {
    return static_cast<int>(std::lround(fontUnits * 1000.0 / face_->units_per_EM));
}

int OutlineFont::width(unsigned glyph) const {
    FT_Load_Glyph(face_, glyph, FT_LOAD_NO_SCALE);
    return thousandths(face_->glyph->advance.x);
}

std::string OutlineFont::path(unsigned glyph) const {
    FT_Load_Glyph(face_, glyph, FT_LOAD_NO_SCALE);
    PathState state{this, {}, 0, 0};
    FT_Outline_Funcs funcs{};
    funcs.move_to = [](const FT_Vector* to, void* user) {
        auto& s = *static_cast<PathState*>(user);
        if (!s.out.empty()) s.out += "h\n";
        s.point(to->x, to->y).out += "m\n";
        return 0;
    };
    funcs.line_to = [](const FT_Vector* to, void* user) {
        static_cast<PathState*>(user)->point(to->x, to->y).out += "l\n";
        return 0;
    };
    funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* user) {
        // A quadratic curve as the cubic that draws it.
        auto& s = *static_cast<PathState*>(user);
        const double x1 = s.x + 2.0 / 3.0 * (control->x - s.x);
        const double y1 = s.y + 2.0 / 3.0 * (control->y - s.y);
        const double x2 = to->x + 2.0 / 3.0 * (control->x - to->x);
        const double y2 = to->y + 2.0 / 3.0 * (control->y - to->y);
        s.point(x1, y1).point(x2, y2).point(to->x, to->y).out += "c\n";
        return 0;
    };
    funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        static_cast<PathState*>(user)
            ->point(c1->x, c1->y)
            .point(c2->x, c2->y)
            .point(to->x, to->y)
            .out += "c\n";
        return 0;
    };
    FT_Outline_Decompose(&face_->glyph->outline, &funcs, &state);
    return state.out.empty() ? std::string() : state.out + "h f\n";
}

QPDFObjectHandle OutlineFont::descriptor(KitDocument& document, const std::string& fontName,
                                         int flags, const std::string& fontFileKey,
                                         QPDFObjectHandle fontFile) const {
    using OH = QPDFObjectHandle;
    OH descriptor = OH::newDictionary();
    descriptor.replaceKey("/Type", OH::newName("/FontDescriptor"));
    descriptor.replaceKey("/FontName", OH::newName("/" + fontName));
    descriptor.replaceKey("/Flags", OH::newInteger(flags));
    descriptor.replaceKey("/FontBBox",
                          OH::newArray({OH::newInteger(thousandths(face_->bbox.xMin)),
                                        OH::newInteger(thousandths(face_->bbox.yMin)),
                                        OH::newInteger(thousandths(face_->bbox.xMax)),
                                        OH::newInteger(thousandths(face_->bbox.yMax))}));
    descriptor.replaceKey("/ItalicAngle", OH::newInteger(0));
    descriptor.replaceKey("/Ascent", OH::newInteger(thousandths(face_->ascender)));
    descriptor.replaceKey("/Descent", OH::newInteger(thousandths(face_->descender)));
    const auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    descriptor.replaceKey("/CapHeight",
                          OH::newInteger(thousandths(os2 ? os2->sCapHeight : face_->ascender)));
    descriptor.replaceKey("/StemV", OH::newInteger(80));
    if (!fontFileKey.empty()) {
        descriptor.replaceKey(fontFileKey, fontFile);
    }
    return document.qpdf().makeIndirectObject(descriptor);
}

std::string subsetProgram(const std::string& program, const std::u32string& characters) {
    hb_blob_t* blob = hb_blob_create(program.data(), static_cast<unsigned>(program.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t* face = hb_face_create(blob, 0);
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    hb_set_t* unicodes = hb_subset_input_unicode_set(input);
    for (const char32_t c : characters) {
        hb_set_add(unicodes, c);
    }
    hb_set_t* drop = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const char* tag : {"GSUB", "GPOS", "GDEF", "kern", "DSIG", "hdmx", "LTSH", "VDMX"}) {
        hb_set_add(drop, hb_tag_from_string(tag, 4));
    }
    hb_face_t* subset = hb_subset_or_fail(face, input);
    std::string result;
    if (subset) {
        hb_blob_t* out = hb_face_reference_blob(subset);
        unsigned length = 0;
        const char* bytes = hb_blob_get_data(out, &length);
        result.assign(bytes, length);
        hb_blob_destroy(out);
        hb_face_destroy(subset);
    }
    hb_subset_input_destroy(input);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    if (result.empty()) {
        throw std::runtime_error("subsetting a kit font failed");
    }
    return result;
}

std::string tableOf(const std::string& program, const std::string& tag) {
    const unsigned count =
        (static_cast<unsigned char>(program[4]) << 8) | static_cast<unsigned char>(program[5]);
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t record = 12 + 16 * i;
        if (program.compare(record, 4, tag) == 0) {
            return program.substr(read32(program, record + 8), read32(program, record + 12));
        }
    }
    return {};
}

std::string withTables(const std::string& program,
                       const std::map<std::string, std::string>& replaced) {
    std::map<std::string, std::string> tables;
    const unsigned count =
        (static_cast<unsigned char>(program[4]) << 8) | static_cast<unsigned char>(program[5]);
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t record = 12 + 16 * i;
        tables[program.substr(record, 4)] =
            program.substr(read32(program, record + 8), read32(program, record + 12));
    }
    for (const auto& [tag, data] : replaced) {
        if (data.empty()) {
            tables.erase(tag);
        } else {
            tables[tag] = data;
        }
    }
    unsigned power = 1;
    unsigned log2 = 0;
    while (power * 2 <= tables.size()) {
        power *= 2;
        ++log2;
    }
    std::string head = program.substr(0, 4) + bigEndian16(static_cast<unsigned>(tables.size())) +
                       bigEndian16(power * 16) + bigEndian16(log2) +
                       bigEndian16(static_cast<unsigned>(tables.size()) * 16 - power * 16);
    std::string body;
    std::size_t offset = 12 + 16 * tables.size();
    for (const auto& [tag, data] : tables) {
        std::string padded = data + std::string((4 - data.size() % 4) % 4, '\0');
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < padded.size(); i += 4) {
            sum += read32(padded, i);
        }
        head += tag + bigEndian32(sum) + bigEndian32(static_cast<std::uint32_t>(offset)) +
                bigEndian32(static_cast<std::uint32_t>(data.size()));
        body += padded;
        offset += padded.size();
    }
    return head + body;
}

std::string cmapFormat4(const std::map<unsigned, unsigned>& glyphByCode) {
    std::vector<std::pair<unsigned, unsigned>> segments(glyphByCode.begin(), glyphByCode.end());
    segments.emplace_back(0xFFFF, 0);
    const unsigned segCount = static_cast<unsigned>(segments.size());
    std::string ends, starts, deltas, rangeOffsets;
    for (const auto& [code, glyph] : segments) {
        ends += bigEndian16(code);
        starts += bigEndian16(code);
        deltas += bigEndian16(code == 0xFFFF ? 1 : (glyph - code) & 0xFFFF);
        rangeOffsets += bigEndian16(0);
    }
    std::string body = bigEndian16(segCount * 2) + bigEndian16(0) + bigEndian16(0) +
                       bigEndian16(0) + ends + bigEndian16(0) + starts + deltas + rangeOffsets;
    return bigEndian16(4) + bigEndian16(static_cast<unsigned>(6 + body.size())) + bigEndian16(0) +
           body;
}

std::string cmapTable(const std::vector<std::pair<unsigned, std::string>>& subtables) {
    std::string records;
    std::string data;
    const std::size_t start = 4 + 8 * subtables.size();
    for (const auto& [platformEncoding, subtable] : subtables) {
        records += bigEndian16(platformEncoding >> 8) + bigEndian16(platformEncoding & 0xFF) +
                   bigEndian32(static_cast<std::uint32_t>(start + data.size()));
        data += subtable;
    }
    return bigEndian16(0) + bigEndian16(static_cast<unsigned>(subtables.size())) + records + data;
}
