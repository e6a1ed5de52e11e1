#include "TrueTypeFont.h"

#include <ft2build.h>

#include "WinAnsi.h"
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr int firstCode = 32;
constexpr int lastCode = 255;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read font file " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

struct TrueTypeFont::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    ~Face() {
        if (face) {
            FT_Done_Face(face);
        }
        if (library) {
            FT_Done_FreeType(library);
        }
    }
};

TrueTypeFont::TrueTypeFont(const std::string& path) : path_(path), face_(std::make_unique<Face>()) {
    if (FT_Init_FreeType(&face_->library) != 0 ||
        FT_New_Face(face_->library, path.c_str(), 0, &face_->face) != 0) {
        throw std::runtime_error("cannot open font " + path);
    }
    if (FT_Select_Charmap(face_->face, FT_ENCODING_UNICODE) != 0) {
        throw std::runtime_error("font has no Unicode cmap: " + path);
    }
}

TrueTypeFont::~TrueTypeFont() = default;

int TrueTypeFont::toThousandths(long fontUnits) const {
    return static_cast<int>(std::lround(fontUnits * 1000.0 / face_->face->units_per_EM));
}

int TrueTypeFont::widthOfCode(int code, const Differences& differences) const {
    FT_UInt glyph = 0;
    auto replaced = differences.find(code);
    if (replaced != differences.end()) {
        std::string glyphName = replaced->second;
        glyph = FT_Get_Name_Index(face_->face, glyphName.data());
    } else {
        std::uint32_t unicode = winAnsiToUnicode(static_cast<unsigned char>(code));
        glyph = unicode ? FT_Get_Char_Index(face_->face, unicode) : 0;
    }
    FT_Fixed advance = 0;
    FT_Get_Advance(face_->face, glyph, FT_LOAD_NO_SCALE, &advance);
    return toThousandths(advance);
}

QPDFObjectHandle TrueTypeFont::embed(KitDocument& document, const Differences& differences) const {
    using OH = QPDFObjectHandle;
    FT_Face face = face_->face;
    const char* psName = FT_Get_Postscript_Name(face);
    std::string baseFont = std::string("/") + (psName ? psName : "EmbeddedTrueType");

    std::string program = readFile(path_);
    OH fontFile = document.compressedStream(program);
    fontFile.getDict().replaceKey("/Length1",
                                  OH::newInteger(static_cast<long long>(program.size())));

    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    int capHeight = os2 ? toThousandths(os2->sCapHeight) : toThousandths(face->ascender);

    OH descriptor = OH::newDictionary();
    descriptor.replaceKey("/Type", OH::newName("/FontDescriptor"));
    descriptor.replaceKey("/FontName", OH::newName(baseFont));
    descriptor.replaceKey("/Flags", OH::newInteger(32));  // nonsymbolic
    descriptor.replaceKey("/FontBBox",
                          OH::newArray({OH::newInteger(toThousandths(face->bbox.xMin)),
                                        OH::newInteger(toThousandths(face->bbox.yMin)),
                                        OH::newInteger(toThousandths(face->bbox.xMax)),
                                        OH::newInteger(toThousandths(face->bbox.yMax))}));
    descriptor.replaceKey("/ItalicAngle", OH::newInteger(0));
    descriptor.replaceKey("/Ascent", OH::newInteger(toThousandths(face->ascender)));
    descriptor.replaceKey("/Descent", OH::newInteger(toThousandths(face->descender)));
    descriptor.replaceKey("/CapHeight", OH::newInteger(capHeight));
    descriptor.replaceKey("/StemV", OH::newInteger(80));
    descriptor.replaceKey("/FontFile2", fontFile);

    OH widths = OH::newArray();
    for (int code = firstCode; code <= lastCode; ++code) {
        widths.appendItem(OH::newInteger(widthOfCode(code, differences)));
    }

    OH encoding = OH::newName("/WinAnsiEncoding");
    if (!differences.empty()) {
        OH list = OH::newArray();
        int expected = -1;
        for (const auto& [code, glyphName] : differences) {
            if (code != expected) {
                list.appendItem(OH::newInteger(code));
            }
            list.appendItem(OH::newName("/" + glyphName));
            expected = code + 1;
        }
        encoding = OH::newDictionary();
        encoding.replaceKey("/Type", OH::newName("/Encoding"));
        encoding.replaceKey("/BaseEncoding", OH::newName("/WinAnsiEncoding"));
        encoding.replaceKey("/Differences", list);
    }

    OH font = OH::newDictionary();
    font.replaceKey("/Type", OH::newName("/Font"));
    font.replaceKey("/Subtype", OH::newName("/TrueType"));
    font.replaceKey("/BaseFont", OH::newName(baseFont));
    font.replaceKey("/FirstChar", OH::newInteger(firstCode));
    font.replaceKey("/LastChar", OH::newInteger(lastCode));
    font.replaceKey("/Widths", widths);
    font.replaceKey("/FontDescriptor", document.qpdf().makeIndirectObject(descriptor));
    font.replaceKey("/Encoding", encoding);
    return document.qpdf().makeIndirectObject(font);
}
