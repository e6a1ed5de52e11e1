#include "pdf/fallback_font/font_families.h"

#include <algorithm>
#include <iterator>

namespace relettra::pdf {

namespace {

constexpr const char* kNotoFolder = "/usr/share/fonts/truetype/noto";
constexpr const char* kNotoPackage = "fonts-noto-core";

// A Noto family, its files named after it without spaces: "Noto Sans Thai" is
// NotoSansThai-Regular.ttf and NotoSansThai-Bold.ttf (a family without a bold file is written
// in its regular one).
FontFamilyFiles notoFamily(const std::string& family) {
    std::string stem;
    std::copy_if(family.begin(), family.end(), std::back_inserter(stem),
                 [](char c) { return c != ' '; });
    return {family, kNotoFolder, stem + "-Regular.ttf", stem + "-Bold.ttf", "", "", kNotoPackage};
}

FontFamilyFiles nanumFamily(LetterForm form) {
    const std::string family = form == LetterForm::Serif       ? "NanumMyeongjo"
                               : form == LetterForm::Monospace ? "NanumGothicCoding"
                                                               : "NanumGothic";
    return {family,
            "/usr/share/fonts/truetype/nanum",
            family + ".ttf",
            family + "Bold.ttf",
            "",
            "",
            "fonts-nanum"};
}

// A Unicode block and the Noto families of its script ("" where Noto has none of that form).
struct ScriptBlock {
    char32_t first;
    char32_t last;
    const char* sans;
    const char* serif;
};

constexpr const char* kHangul = "Hangul";  // Nanum's, not Noto's

// In order of their first character, none overlapping.
constexpr ScriptBlock kScriptBlocks[] = {
    {0x0530, 0x058F, "Noto Sans Armenian", "Noto Serif Armenian"},
    {0x0590, 0x05FF, "Noto Sans Hebrew", "Noto Serif Hebrew"},
    {0x0600, 0x06FF, "Noto Sans Arabic", "Noto Naskh Arabic"},
    {0x0700, 0x074F, "Noto Sans Syriac", ""},
    {0x0750, 0x077F, "Noto Sans Arabic", "Noto Naskh Arabic"},
    {0x0780, 0x07BF, "Noto Sans Thaana", ""},
    {0x07C0, 0x07FF, "Noto Sans NKo", ""},
    {0x0800, 0x083F, "Noto Sans Samaritan", ""},
    {0x0840, 0x085F, "Noto Sans Mandaic", ""},
    {0x0860, 0x086F, "Noto Sans Syriac", ""},
    {0x08A0, 0x08FF, "Noto Sans Arabic", "Noto Naskh Arabic"},
    {0x0900, 0x097F, "Noto Sans Devanagari", "Noto Serif Devanagari"},
    {0x0980, 0x09FF, "Noto Sans Bengali", "Noto Serif Bengali"},
    {0x0A00, 0x0A7F, "Noto Sans Gurmukhi", "Noto Serif Gurmukhi"},
    {0x0A80, 0x0AFF, "Noto Sans Gujarati", "Noto Serif Gujarati"},
    {0x0B00, 0x0B7F, "Noto Sans Oriya", ""},
    {0x0B80, 0x0BFF, "Noto Sans Tamil", "Noto Serif Tamil"},
    {0x0C00, 0x0C7F, "Noto Sans Telugu", "Noto Serif Telugu"},
    {0x0C80, 0x0CFF, "Noto Sans Kannada", "Noto Serif Kannada"},
    {0x0D00, 0x0D7F, "Noto Sans Malayalam", "Noto Serif Malayalam"},
    {0x0D80, 0x0DFF, "Noto Sans Sinhala", "Noto Serif Sinhala"},
    {0x0E00, 0x0E7F, "Noto Sans Thai", "Noto Serif Thai"},
    {0x0E80, 0x0EFF, "Noto Sans Lao", "Noto Serif Lao"},
    {0x0F00, 0x0FFF, "", "Noto Serif Tibetan"},
    {0x1000, 0x109F, "Noto Sans Myanmar", "Noto Serif Myanmar"},
    {0x10A0, 0x10FF, "Noto Sans Georgian", "Noto Serif Georgian"},
    {0x1100, 0x11FF, kHangul, kHangul},
    {0x1200, 0x139F, "Noto Sans Ethiopic", "Noto Serif Ethiopic"},
    {0x13A0, 0x13FF, "Noto Sans Cherokee", ""},
    {0x1400, 0x167F, "Noto Sans Canadian Aboriginal", ""},
    {0x1680, 0x169F, "Noto Sans Ogham", ""},
    {0x16A0, 0x16FF, "Noto Sans Runic", ""},
    {0x1700, 0x171F, "Noto Sans Tagalog", ""},
    {0x1720, 0x173F, "Noto Sans Hanunoo", ""},
    {0x1740, 0x175F, "Noto Sans Buhid", ""},
    {0x1760, 0x177F, "Noto Sans Tagbanwa", ""},
    {0x1780, 0x17FF, "Noto Sans Khmer", "Noto Serif Khmer"},
    {0x1800, 0x18AF, "Noto Sans Mongolian", ""},
    {0x18B0, 0x18FF, "Noto Sans Canadian Aboriginal", ""},
    {0x1900, 0x194F, "Noto Sans Limbu", ""},
    {0x1950, 0x197F, "Noto Sans Tai Le", ""},
    {0x1980, 0x19DF, "Noto Sans New Tai Lue", ""},
    {0x19E0, 0x19FF, "Noto Sans Khmer", "Noto Serif Khmer"},
    {0x1A00, 0x1A1F, "Noto Sans Buginese", ""},
    {0x1A20, 0x1AAF, "Noto Sans Tai Tham", ""},
    {0x1B00, 0x1B7F, "Noto Sans Balinese", "Noto Serif Balinese"},
    {0x1B80, 0x1BBF, "Noto Sans Sundanese", ""},
    {0x1BC0, 0x1BFF, "Noto Sans Batak", ""},
    {0x1C00, 0x1C4F, "Noto Sans Lepcha", ""},
    {0x1C50, 0x1C7F, "Noto Sans Ol Chiki", ""},
    {0x1C90, 0x1CBF, "Noto Sans Georgian", "Noto Serif Georgian"},
    {0x1CC0, 0x1CCF, "Noto Sans Sundanese", ""},
    {0x2C00, 0x2C5F, "Noto Sans Glagolitic", ""},
    {0x2C80, 0x2CFF, "Noto Sans Coptic", ""},
    {0x2D00, 0x2D2F, "Noto Sans Georgian", "Noto Serif Georgian"},
    {0x2D30, 0x2D7F, "Noto Sans Tifinagh", ""},
    {0x2D80, 0x2DDF, "Noto Sans Ethiopic", "Noto Serif Ethiopic"},
    {0x3130, 0x318F, kHangul, kHangul},
    {0xA000, 0xA4CF, "Noto Sans Yi", ""},
    {0xA4D0, 0xA4FF, "Noto Sans Lisu", ""},
    {0xA500, 0xA63F, "Noto Sans Vai", ""},
    {0xA6A0, 0xA6FF, "Noto Sans Bamum", ""},
    {0xA800, 0xA82F, "Noto Sans Syloti Nagri", ""},
    {0xA840, 0xA87F, "Noto Sans PhagsPa", ""},
    {0xA880, 0xA8DF, "Noto Sans Saurashtra", ""},
    {0xA8E0, 0xA8FF, "Noto Sans Devanagari", "Noto Serif Devanagari"},
    {0xA900, 0xA92F, "Noto Sans Kayah Li", ""},
    {0xA930, 0xA95F, "Noto Sans Rejang", ""},
    {0xA960, 0xA97F, kHangul, kHangul},
    {0xA980, 0xA9DF, "Noto Sans Javanese", ""},
    {0xA9E0, 0xA9FF, "Noto Sans Myanmar", "Noto Serif Myanmar"},
    {0xAA00, 0xAA5F, "Noto Sans Cham", ""},
    {0xAA60, 0xAA7F, "Noto Sans Myanmar", "Noto Serif Myanmar"},
    {0xAA80, 0xAADF, "Noto Sans Tai Viet", ""},
    {0xAAE0, 0xAAFF, "Noto Sans Meetei Mayek", ""},
    {0xAB00, 0xAB2F, "Noto Sans Ethiopic", "Noto Serif Ethiopic"},
    {0xAB70, 0xABBF, "Noto Sans Cherokee", ""},
    {0xABC0, 0xABFF, "Noto Sans Meetei Mayek", ""},
    {0xAC00, 0xD7FF, kHangul, kHangul},
    {0xFB1D, 0xFB4F, "Noto Sans Hebrew", "Noto Serif Hebrew"},
    {0xFB50, 0xFDFF, "Noto Sans Arabic", "Noto Naskh Arabic"},
    {0xFE70, 0xFEFF, "Noto Sans Arabic", "Noto Naskh Arabic"},
    {0xFFA0, 0xFFDC, kHangul, kHangul},
    {0x10000, 0x100FF, "Noto Sans Linear B", ""},
    {0x10280, 0x1029F, "Noto Sans Lycian", ""},
    {0x102A0, 0x102DF, "Noto Sans Carian", ""},
    {0x10300, 0x1032F, "Noto Sans Old Italic", ""},
    {0x10330, 0x1034F, "Noto Sans Gothic", ""},
    {0x10380, 0x1039F, "Noto Sans Ugaritic", ""},
    {0x103A0, 0x103DF, "Noto Sans Old Persian", ""},
    {0x10400, 0x1044F, "Noto Sans Deseret", ""},
    {0x10450, 0x1047F, "Noto Sans Shavian", ""},
    {0x10480, 0x104AF, "Noto Sans Osmanya", ""},
    {0x104B0, 0x104FF, "Noto Sans Osage", ""},
    {0x10800, 0x1083F, "Noto Sans Cypriot", ""},
    {0x10900, 0x1091F, "Noto Sans Phoenician", ""},
    {0x10A00, 0x10A5F, "Noto Sans Kharoshthi", ""},
    {0x10D00, 0x10D3F, "Noto Sans Hanifi Rohingya", ""},
    {0x11000, 0x1107F, "Noto Sans Brahmi", ""},
    {0x11100, 0x1114F, "Noto Sans Chakma", ""},
    {0x11400, 0x1147F, "Noto Sans Newa", ""},
    {0x11D00, 0x11D5F, "Noto Sans Masaram Gondi", ""},
    {0x11D60, 0x11DAF, "Noto Sans Gunjala Gondi", ""},
    {0x12000, 0x1254F, "Noto Sans Cuneiform", ""},
    {0x13000, 0x1342F, "Noto Sans Egyptian Hieroglyphs", ""},
    {0x16A40, 0x16A6F, "Noto Sans Mro", ""},
    {0x16B00, 0x16B8F, "Noto Sans Pahawh Hmong", ""},
    {0x16E40, 0x16E9F, "Noto Sans Medefaidrin", ""},
    {0x16F00, 0x16F9F, "Noto Sans Miao", ""},
    {0x1E100, 0x1E14F, "", "Noto Serif Nyiakeng Puachue Hmong"},
    {0x1E2C0, 0x1E2FF, "Noto Sans Wancho", ""},
    {0x1E800, 0x1E8DF, "Noto Sans Mende Kikakui", ""},
    {0x1E900, 0x1E95F, "Noto Sans Adlam", ""},
};

}  // namespace

std::vector<std::string> filesForLook(const FontFamilyFiles& family, const TextLook& look) {
    std::vector<std::string> files;
    const auto add = [&files](const std::string& file) {
        if (!file.empty() && std::find(files.begin(), files.end(), file) == files.end()) {
            files.push_back(file);
        }
    };
    if (look.bold && look.italic) add(family.boldItalic);
    if (look.bold) add(family.bold);
    if (look.italic) add(family.italic);
    add(family.regular);
    return files;
}

FontFamilyFiles metricCompatibleFamily(LetterForm form) {
    const std::string stem = form == LetterForm::Serif       ? "Serif"
                             : form == LetterForm::Monospace ? "Mono"
                                                             : "Sans";
    const std::string file = "Liberation" + stem;
    return {"Liberation " + stem,  "/usr/share/fonts/truetype/liberation2",
            file + "-Regular.ttf", file + "-Bold.ttf",
            file + "-Italic.ttf",  file + "-BoldItalic.ttf",
            "fonts-liberation2"};
}

FontFamilyFiles dejaVuFamily(LetterForm form) {
    const std::string folder = "/usr/share/fonts/truetype/dejavu";
    if (form == LetterForm::Serif) {
        return {"DejaVu Serif",           folder,
                "DejaVuSerif.ttf",        "DejaVuSerif-Bold.ttf",
                "DejaVuSerif-Italic.ttf", "DejaVuSerif-BoldItalic.ttf",
                "fonts-dejavu-core"};
    }
    const std::string stem = form == LetterForm::Monospace ? "DejaVuSansMono" : "DejaVuSans";
    return {form == LetterForm::Monospace ? "DejaVu Sans Mono" : "DejaVu Sans",
            folder,
            stem + ".ttf",
            stem + "-Bold.ttf",
            stem + "-Oblique.ttf",
            stem + "-BoldOblique.ttf",
            "fonts-dejavu-core"};
}

bool scriptFamilyFor(char32_t c, LetterForm form, FontFamilyFiles& family) {
    const auto after = std::upper_bound(
        std::begin(kScriptBlocks), std::end(kScriptBlocks), c,
        [](char32_t value, const ScriptBlock& block) { return value < block.first; });
    if (after == std::begin(kScriptBlocks)) return false;
    const ScriptBlock& block = *std::prev(after);
    if (c > block.last) return false;
    if (block.sans == kHangul) {
        family = nanumFamily(form);
        return true;
    }
    const bool serif = form == LetterForm::Serif;
    const char* name = serif && *block.serif != '\0' ? block.serif : block.sans;
    if (*name == '\0') name = block.serif;
    family = notoFamily(name);
    return true;
}

const std::vector<FontFamilyFiles>& lastResortFamilies() {
    static const std::vector<FontFamilyFiles> families = {
        dejaVuFamily(LetterForm::SansSerif),
        {"Droid Sans Fallback", "/usr/share/fonts/truetype/droid", "DroidSansFallbackFull.ttf", "",
         "", "", "fonts-droid-fallback"},
        notoFamily("Noto Sans Symbols2"),
        notoFamily("Noto Sans Symbols"),
        notoFamily("Noto Sans Math"),
    };
    return families;
}

}  // namespace relettra::pdf
