#include "FontCases.h"

#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>
#include <vector>

#include "ContentWriter.h"
#include "FontPrograms.h"
#include "KitDocument.h"

namespace {

using OH = QPDFObjectHandle;

const char* const kLiberationSans =
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
const char* const kDroidSansFallback = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";
const char* const kCidToUnicodeFolder = "/usr/share/poppler/cidToUnicode/";

std::string twoBytes(unsigned value) {
    return bigEndian16(value);
}

OH embeddedProgram(KitDocument& document, const std::string& program) {
    OH stream = document.compressedStream(program);
    stream.getDict().replaceKey("/Length1", OH::newInteger(static_cast<long long>(program.size())));
    return stream;
}

// /W: one "cid [width]" pair per CID.
OH cidWidths(const std::map<unsigned, int>& widthByCid) {
    OH widths = OH::newArray();
    for (const auto& [cid, width] : widthByCid) {
        widths.appendItem(OH::newInteger(cid));
        widths.appendItem(OH::newArray({OH::newInteger(width)}));
    }
    return widths;
}

// A /CIDToGIDMap stream: two bytes per CID from 0 to the highest one.
OH cidToGidMap(KitDocument& document, const std::map<unsigned, unsigned>& glyphByCid) {
    std::string map(2 * (glyphByCid.rbegin()->first + 1), '\0');
    for (const auto& [cid, glyph] : glyphByCid) {
        map.replace(2 * cid, 2, twoBytes(glyph));
    }
    return document.compressedStream(map);
}

// A Type0 font over one CIDFontType2 with the program embedded.
struct CompositeFont {
    std::string baseFont;
    std::string registry = "Adobe";
    std::string ordering = "Identity";
    int supplement = 0;
    OH toUnicode = OH::newNull();  // a stream, a name, or nothing
    std::map<unsigned, unsigned> glyphByCid;
    bool withoutCmap = false;  // embed the program without its cmap: only the PDF tells the text
};

OH embedComposite(KitDocument& document, const OutlineFont& program, const CompositeFont& wanted) {
    std::map<unsigned, int> widthByCid;
    for (const auto& [cid, glyph] : wanted.glyphByCid) {
        widthByCid[cid] = program.width(glyph);
    }
    OH cidFont = OH::newDictionary();
    cidFont.replaceKey("/Type", OH::newName("/Font"));
    cidFont.replaceKey("/Subtype", OH::newName("/CIDFontType2"));
    cidFont.replaceKey("/BaseFont", OH::newName("/" + wanted.baseFont));
    OH info = OH::newDictionary();
    info.replaceKey("/Registry", OH::newString(wanted.registry));
    info.replaceKey("/Ordering", OH::newString(wanted.ordering));
    info.replaceKey("/Supplement", OH::newInteger(wanted.supplement));
    cidFont.replaceKey("/CIDSystemInfo", info);
    cidFont.replaceKey(
        "/FontDescriptor",
        program.descriptor(
            document, wanted.baseFont, 4, "/FontFile2",
            embeddedProgram(document, wanted.withoutCmap ? withTables(program.data(), {{"cmap", ""}})
                                                       : program.data())));
    cidFont.replaceKey("/DW", OH::newInteger(1000));
    cidFont.replaceKey("/W", cidWidths(widthByCid));
    cidFont.replaceKey("/CIDToGIDMap", cidToGidMap(document, wanted.glyphByCid));
    OH font = OH::newDictionary();
    font.replaceKey("/Type", OH::newName("/Font"));
    font.replaceKey("/Subtype", OH::newName("/Type0"));
    font.replaceKey("/BaseFont", OH::newName("/" + wanted.baseFont));
    font.replaceKey("/Encoding", OH::newName("/Identity-H"));
    font.replaceKey("/DescendantFonts",
                    OH::newArray({document.qpdf().makeIndirectObject(cidFont)}));
    if (OH toUnicode = wanted.toUnicode; !toUnicode.isNull()) {
        font.replaceKey("/ToUnicode", toUnicode);
    }
    return document.qpdf().makeIndirectObject(font);
}

// Two-byte codes of a text whose codes are given by `cidOf`.
template <typename CidOf>
std::string codesOf(std::string_view utf8, CidOf cidOf) {
    std::string codes;
    for (const char32_t c : utf32(utf8)) {
        codes += twoBytes(cidOf(c));
    }
    return codes;
}

std::u32string charactersOf(const std::vector<std::string>& lines) {
    std::set<char32_t> unique;
    for (const auto& line : lines) {
        for (const char32_t c : utf32(line)) unique.insert(c);
    }
    return std::u32string(unique.begin(), unique.end());
}

// Liberation Sans cut to the characters of the lines.
OutlineFont liberationSubset(const std::vector<std::string>& lines) {
    return OutlineFont(subsetProgram(readBinaryFile(kLiberationSans), charactersOf(lines)));
}

void showLines(ContentWriter& content, const std::string& font, double y,
               const std::vector<std::string>& codeLines) {
    for (const auto& codes : codeLines) {
        content.textAt(font, 12, 72, y, codes);
        y -= 24;
    }
}

// Composite font, Identity-H, whose /ToUnicode is the name /Identity-H: every code is the
// UCS-2 value of its character, and /CIDToGIDMap takes it to the glyph.
void writeToUnicodeIdentity(const std::string& path) {
    const std::vector<std::string> lines = {"Named identity map sample", "Invoice 4711 paid today",
                                            "Greek Ωμέγα and Cyrillic Жук"};
    const OutlineFont program = liberationSubset(lines);
    KitDocument document;
    CompositeFont wanted;
    wanted.baseFont = "IDTOUN+LiberationSans";
    wanted.toUnicode = OH::newName("/Identity-H");
    wanted.withoutCmap = true;
    for (const char32_t c : charactersOf(lines)) {
        wanted.glyphByCid[c] = program.glyphOf(c);
    }
    OH font = embedComposite(document, program, wanted);
    ContentWriter content;
    std::vector<std::string> codeLines;
    for (const auto& line : lines) {
        codeLines.push_back(codesOf(line, [](char32_t c) { return static_cast<unsigned>(c); }));
    }
    showLines(content, "F1", 720, codeLines);
    document.addPage(PageBox{}, document.fontResources({{"F1", font}}), content.data());
    document.write(path);
}

// The glyph procedures of one document, by character: fonts that draw the same glyph under
// other names share its stream.
using GlyphProcedures = std::map<char32_t, OH>;

// A Type 3 font drawing Liberation Sans outlines, one glyph per code of `names`.
OH type3Font(KitDocument& document, const OutlineFont& outlines,
             const std::map<int, std::pair<char32_t, std::string>>& names,
             GlyphProcedures& procedures) {
    OH charProcs = OH::newDictionary();
    OH differences = OH::newArray();
    OH widths = OH::newArray();
    const int first = names.begin()->first;
    const int last = names.rbegin()->first;
    int expected = -1;
    for (int code = first; code <= last; ++code) {
        const auto named = names.find(code);
        if (named == names.end()) {
            widths.appendItem(OH::newInteger(0));
            continue;
        }
        const auto& [character, name] = named->second;
        const unsigned glyph = outlines.glyphOf(character);
        const int width = outlines.width(glyph);
        widths.appendItem(OH::newInteger(width));
        if (code != expected) {
            differences.appendItem(OH::newInteger(code));
        }
        differences.appendItem(OH::newName("/" + name));
        expected = code + 1;
        auto procedure = procedures.find(character);
        if (procedure == procedures.end()) {
            procedure =
                procedures
                    .emplace(character, document.compressedStream(std::to_string(width) +
                                                                  " 0 d0\n" + outlines.path(glyph)))
                    .first;
        }
        charProcs.replaceKey("/" + name, procedure->second);
    }
    OH encoding = OH::newDictionary();
    encoding.replaceKey("/Type", OH::newName("/Encoding"));
    encoding.replaceKey("/Differences", differences);
    OH font = OH::newDictionary();
    font.replaceKey("/Type", OH::newName("/Font"));
    font.replaceKey("/Subtype", OH::newName("/Type3"));
    font.replaceKey("/FontBBox", OH::parse("[-200 -250 1200 950]"));
    font.replaceKey("/FontMatrix", OH::parse("[0.001 0 0 0.001 0 0]"));
    font.replaceKey("/CharProcs", charProcs);
    font.replaceKey("/Encoding", encoding);
    font.replaceKey("/FirstChar", OH::newInteger(first));
    font.replaceKey("/LastChar", OH::newInteger(last));
    font.replaceKey("/Widths", widths);
    font.replaceKey("/Resources", OH::newDictionary());
    return document.qpdf().makeIndirectObject(font);
}

// Every printable ASCII code, its glyph named by `name`.
template <typename Name>
std::map<int, std::pair<char32_t, std::string>> asciiNames(Name name) {
    std::map<int, std::pair<char32_t, std::string>> names;
    for (int code = 32; code < 127; ++code) {
        names[code] = {static_cast<char32_t>(code), name(code)};
    }
    return names;
}

std::string hex2(int code) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", code);
    return text;
}

// Type 3 fonts whose glyph names number their codes: decimal after "a" (TeX's bitmap fonts),
// "g" and "cid", two upper-case hexadecimal digits after "G" (printer drivers).
void writeType3NumberedNames(const std::string& path) {
    const OutlineFont outlines(readBinaryFile(kLiberationSans));
    KitDocument document;
    const auto decimal = [](const char* prefix) {
        return [prefix](int code) { return prefix + std::to_string(code); };
    };
    GlyphProcedures procedures;
    OH a = type3Font(document, outlines, asciiNames(decimal("a")), procedures);
    OH g = type3Font(document, outlines, asciiNames(decimal("g")), procedures);
    OH cid = type3Font(document, outlines, asciiNames(decimal("cid")), procedures);
    OH hex = type3Font(document, outlines, asciiNames([](int code) { return "G" + hex2(code); }),
                       procedures);
    ContentWriter content;
    content.textAt("T1", 12, 72, 720, "Numbered glyph names sample");
    content.textAt("T1", 12, 72, 696, "Invoice 4711 settled today");
    content.textAt("T2", 12, 72, 672, "Glyph numbers after g");
    content.textAt("T3", 12, 72, 648, "Collection numbers 2024");
    content.textAt("T4", 12, 72, 624, "Hexadecimal Names Here");
    document.addPage(PageBox{},
                     document.fontResources({{"T1", a}, {"T2", g}, {"T3", cid}, {"T4", hex}}),
                     content.data());
    document.write(path);
}

// A Type 3 font named by uniXXXX with lower-case digits and by uXXXX, its codes given out in
// the order of the characters (so no code is its character).
void writeType3UniNames(const std::string& path) {
    const std::vector<std::string> lines = {"Unicode glyph names", "Café crème 2024",
                                            "Straße naïve façade"};
    const OutlineFont outlines(readBinaryFile(kLiberationSans));
    std::map<int, std::pair<char32_t, std::string>> names;
    std::map<char32_t, int> codeOf;
    int code = 1;
    for (const char32_t c : charactersOf(lines)) {
        char name[16];
        if (c >= U'0' && c <= U'9') {
            std::snprintf(name, sizeof name, "u%04X", static_cast<unsigned>(c));
        } else {
            std::snprintf(name, sizeof name, "uni%04x", static_cast<unsigned>(c));
        }
        names[code] = {c, name};
        codeOf[c] = code++;
    }
    KitDocument document;
    GlyphProcedures procedures;
    OH font = type3Font(document, outlines, names, procedures);
    ContentWriter content;
    double y = 720;
    for (const auto& line : lines) {
        std::string codes;
        for (const char32_t c : utf32(line)) codes.push_back(static_cast<char>(codeOf[c]));
        content.textAt("T1", 12, 72, y, codes);
        y -= 24;
    }
    document.addPage(PageBox{}, document.fontResources({{"T1", font}}), content.data());
    document.write(path);
}

// A symbolic simple TrueType font with neither names nor /ToUnicode: its codes select glyphs
// through a (3,0) cmap, and only its (3,1) cmap tells their characters. Then a composite
// font whose CIDs are the characters' values (as the extractor reads the CIDs of the
// Adobe-Identity collection) without /ToUnicode, read through /CIDToGIDMap and the program's
// cmap.
void writeTrueTypeCmapOnly(const std::string& path) {
    const std::vector<std::string> simpleLines = {"Symbolic cmap sample", "Order 1234 shipped"};
    const std::vector<std::string> compositeLines = {"Glyph map reading", "Identity Collection"};
    std::vector<std::string> all = simpleLines;
    all.insert(all.end(), compositeLines.begin(), compositeLines.end());
    const OutlineFont subset = liberationSubset(all);
    KitDocument document;

    std::map<unsigned, unsigned> symbolCodes;
    std::map<unsigned, unsigned> unicodeCodes;
    for (const char32_t c : charactersOf(all)) {
        symbolCodes[0xF000 + c] = subset.glyphOf(c);
        unicodeCodes[c] = subset.glyphOf(c);
    }
    // post format 3: the header alone, no glyph names.
    const std::string post = bigEndian32(0x00030000) + tableOf(subset.data(), "post").substr(4, 28);
    const OutlineFont symbolic(
        withTables(subset.data(), {{"cmap", cmapTable({{0x0300, cmapFormat4(symbolCodes)},
                                                       {0x0301, cmapFormat4(unicodeCodes)}})},
                                   {"post", post}}));
    OH widths = OH::newArray();
    for (int code = 32; code <= 126; ++code) {
        const auto found = unicodeCodes.find(static_cast<unsigned>(code));
        widths.appendItem(
            OH::newInteger(found == unicodeCodes.end() ? 0 : subset.width(found->second)));
    }
    OH simple = OH::newDictionary();
    simple.replaceKey("/Type", OH::newName("/Font"));
    simple.replaceKey("/Subtype", OH::newName("/TrueType"));
    simple.replaceKey("/BaseFont", OH::newName("/SYMCMP+LiberationSans"));
    simple.replaceKey("/FirstChar", OH::newInteger(32));
    simple.replaceKey("/LastChar", OH::newInteger(126));
    simple.replaceKey("/Widths", widths);
    simple.replaceKey("/FontDescriptor",
                      symbolic.descriptor(document, "SYMCMP+LiberationSans", 4, "/FontFile2",
                                          embeddedProgram(document, symbolic.data())));
    simple = document.qpdf().makeIndirectObject(simple);

    CompositeFont plain;
    plain.baseFont = "CIDCMP+LiberationSans";
    for (const char32_t c : charactersOf(compositeLines)) {
        plain.glyphByCid[c] = subset.glyphOf(c);
    }
    OH plainFont = embedComposite(document, subset, plain);

    ContentWriter content;
    showLines(content, "F1", 720, simpleLines);
    const auto own = [](char32_t c) { return static_cast<unsigned>(c); };
    content.textAt("F2", 12, 72, 660, codesOf(compositeLines[0], own));
    content.textAt("F2", 12, 72, 636, codesOf(compositeLines[1], own));
    document.addPage(PageBox{}, document.fontResources({{"F1", simple}, {"F2", plainFont}}),
                     content.data());
    document.write(path);
}

// The first CID of each character in a collection's table (poppler-data's cidToUnicode).
std::map<char32_t, unsigned> cidsOfCollection(const std::string& collection) {
    const std::string table = readBinaryFile(kCidToUnicodeFolder + collection);
    std::map<char32_t, unsigned> cidOf;
    unsigned cid = 0;
    std::size_t pos = 0;
    while (pos < table.size()) {
        std::size_t end = table.find('\n', pos);
        if (end == std::string::npos) end = table.size();
        const char32_t c =
            static_cast<char32_t>(std::stoul(table.substr(pos, end - pos), nullptr, 16));
        if (c != 0) cidOf.emplace(c, cid);
        ++cid;
        pos = end + 1;
    }
    return cidOf;
}

// One composite font of a CJK collection, without /ToUnicode, Identity-H codes being the
// collection's CIDs; the lines are shown from `y` downwards.
OH collectionFont(KitDocument& document, const std::string& ordering, int supplement,
                  const std::string& baseFont, const std::vector<std::string>& lines,
                  std::vector<std::string>& codeLines) {
    const std::map<char32_t, unsigned> cidOf = cidsOfCollection("Adobe-" + ordering);
    const OutlineFont program(
        subsetProgram(readBinaryFile(kDroidSansFallback), charactersOf(lines)));
    CompositeFont wanted;
    wanted.baseFont = baseFont;
    wanted.ordering = ordering;
    wanted.supplement = supplement;
    wanted.withoutCmap = true;
    const auto cid = [&cidOf](char32_t c) {
        const auto found = cidOf.find(c);
        if (found == cidOf.end()) {
            throw std::runtime_error("no CID for U+" + std::to_string(c));
        }
        return found->second;
    };
    for (const char32_t c : charactersOf(lines)) {
        wanted.glyphByCid[cid(c)] = program.glyphOf(c);
    }
    for (const auto& line : lines) {
        codeLines.push_back(codesOf(line, cid));
    }
    return embedComposite(document, program, wanted);
}

void writeCidCollections(const std::string& path) {
    KitDocument document;
    std::vector<std::string> japanese;
    std::vector<std::string> chinese;
    OH japan1 = collectionFont(document, "Japan1", 6, "JAPONE+DroidSansFallbackFull",
                               {"請求書番号の一覧", "日本語のテキスト"}, japanese);
    OH gb1 = collectionFont(document, "GB1", 5, "CHINSE+DroidSansFallbackFull",
                            {"中文文本 简体字", "发票号码 清单"}, chinese);
    ContentWriter content;
    showLines(content, "F1", 720, japanese);
    showLines(content, "F2", 660, chinese);
    document.addPage(PageBox{}, document.fontResources({{"F1", japan1}, {"F2", gb1}}),
                     content.data());
    document.write(path);
}

}  // namespace

void writeFontCases(const std::string& dir) {
    writeToUnicodeIdentity(dir + "/tounicode_identity.pdf");
    writeType3NumberedNames(dir + "/type3_numbered_names.pdf");
    writeType3UniNames(dir + "/type3_uni_names.pdf");
    writeTrueTypeCmapOnly(dir + "/truetype_cmap_only.pdf");
    writeCidCollections(dir + "/cid_collections.pdf");
}
