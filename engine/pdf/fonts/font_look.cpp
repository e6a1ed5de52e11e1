#include "pdf/fonts/font_look.h"

#include <cctype>
#include <cmath>
#include <exception>
#include <string>

#include "pdf/fonts/pdf_object_access.h"

namespace relettra::pdf {

namespace {

// Font descriptor flags.
constexpr long long kFlagFixedPitch = 1;
constexpr long long kFlagSerif = 2;
constexpr long long kFlagItalic = 64;
constexpr long long kFlagForceBold = 1 << 18;

// Family words, searched in the name reduced to lower-case letters and digits. Monospaced
// families are looked for first ("Letter Gothic" is monospaced), then sans-serif ones ("Sans
// Serif" is sans-serif), then serif ones.
constexpr std::string_view kMonospaceWords[] = {"courier",     "mono",
                                                "typewriter",  "consol",
                                                "menlo",       "monaco",
                                                "fixed",       "lettergothic",
                                                "ocra",        "ocrb",
                                                "sourcecode",  "firacode",
                                                "inconsolata", "nanumgothiccoding"};
constexpr std::string_view kSansSerifWords[] = {
    "sans",   "arial",    "helvetica",   "verdana", "tahoma", "calibri", "segoe",
    "gothic", "frutiger", "futura",      "univers", "gill",   "myriad",  "roboto",
    "lato",   "ubuntu",   "trebuchet",   "candara", "corbel", "grotesk", "grotesque",
    "avenir", "dotum",    "gulim",       "simhei",  "heiti",  "swiss",   "franklin",
    "optima", "geneva",   "lucidagrande"};
constexpr std::string_view kSerifWords[] = {
    "serif",    "times",        "roman",    "georgia",   "garamond",   "cambria",    "palatino",
    "palladio", "bookman",      "antiqua",  "century",   "schoolbook", "minion",     "baskerville",
    "caslon",   "didot",        "bodoni",   "utopia",    "charter",    "constantia", "batang",
    "myeongjo", "mincho",       "simsun",   "songti",    "nimbusrom",  "termes",     "pagella",
    "bonum",    "schola",       "dutch",    "plantin",   "sabon",      "perpetua",   "cochin",
    "hoefler",  "merriweather", "crimson",  "cormorant", "bembo",      "janson",     "goudy",
    "sylfaen",  "elephant",     "rockwell", "clarendon", "egyptienne"};
constexpr std::string_view kBoldWords[] = {"bold", "black", "heavy", "demi", "extrabd", "ultrabd"};
constexpr std::string_view kItalicWords[] = {"italic", "oblique", "slant", "kursiv", "inclined"};

bool containsAny(const std::string& text, const std::string_view* words, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (text.find(words[i]) != std::string::npos) return true;
    }
    return false;
}

template <std::size_t N>
bool containsAny(const std::string& text, const std::string_view (&words)[N]) {
    return containsAny(text, words, N);
}

// The name without a subset tag ("ABCDEF+"), in lower case, letters and digits only; `styleTail`
// receives the part after the last '-' or ',' (the style of "Minion-BoldIt", "Arial,Bold").
std::string reducedName(std::string_view name, std::string& styleTail) {
    if (name.size() > 7 && name[6] == '+') {
        bool tag = true;
        for (std::size_t i = 0; i < 6; ++i) tag = tag && name[i] >= 'A' && name[i] <= 'Z';
        if (tag) name.remove_prefix(7);
    }
    std::string reduced;
    styleTail.clear();
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '-' || c == ',') {
            styleTail.clear();
        } else if (std::isalnum(u) != 0) {
            const char lower = static_cast<char>(std::tolower(u));
            reduced.push_back(lower);
            styleTail.push_back(lower);
        }
    }
    return reduced;
}

// TeX's fonts are named by a code: cmr10, cmbx12, cmti10, cmtt10, cmss10 (Computer Modern),
// sfrm1000, sfbx1000 (its Type 1 versions for the EC encodings). True when the name is one.
bool readTexName(const std::string& name, NamedLook& look) {
    std::string code;
    if (name.rfind("cm", 0) == 0 && name.size() > 2) {
        code = name.substr(2);
    } else if (name.rfind("sf", 0) == 0 && name.size() > 2) {
        code = name.substr(2);
    } else {
        return false;
    }
    // The code's letters up to the design size, which all these names end with.
    std::size_t end = 0;
    while (end < code.size() && std::isalpha(static_cast<unsigned char>(code[end])) != 0) ++end;
    if (end == 0 || end == code.size() || end > 6) return false;
    const std::string letters = code.substr(0, end);
    static constexpr std::string_view kKnown[] = {
        "r",   "bx",   "b",  "ti",   "sl",  "csc",  "mi", "mib", "bxti", "bxsl", "tt",
        "itt", "sltt", "ss", "ssbx", "ssi", "ssdc", "u",  "rm",  "it",   "sc",   "ssbxo"};
    bool known = false;
    for (const std::string_view k : kKnown) known = known || letters == k;
    if (!known) return false;
    look.formKnown = true;
    if (letters.find("tt") != std::string::npos) {
        look.form = LetterForm::Monospace;
    } else if (letters.rfind("ss", 0) == 0) {
        look.form = LetterForm::SansSerif;
    } else {
        look.form = LetterForm::Serif;
    }
    look.bold = letters.find('b') != std::string::npos;
    look.italic = letters.find("ti") != std::string::npos ||
                  letters.find("sl") != std::string::npos ||
                  letters.find("mi") != std::string::npos || letters == "it" || letters == "itt" ||
                  letters == "ssi" || letters == "ssbxo";
    return true;
}

}  // namespace

NamedLook lookOfFontName(std::string_view name) {
    NamedLook look;
    std::string styleTail;
    std::string reduced = reducedName(name, styleTail);
    // The foundry's name ("Monotype Corsiva") says nothing of the letters.
    for (std::size_t at = reduced.find("monotype"); at != std::string::npos;
         at = reduced.find("monotype")) {
        reduced.erase(at, 8);
    }
    if (reduced.empty()) return look;
    if (readTexName(reduced, look)) return look;
    if (containsAny(reduced, kMonospaceWords)) {
        look.formKnown = true;
        look.form = LetterForm::Monospace;
    } else if (containsAny(reduced, kSansSerifWords)) {
        look.formKnown = true;
        look.form = LetterForm::SansSerif;
    } else if (containsAny(reduced, kSerifWords)) {
        look.formKnown = true;
        look.form = LetterForm::Serif;
    }
    look.bold = containsAny(reduced, kBoldWords);
    // "It" alone as the style ("Minion-It", "Minion-BoldIt") is italic too.
    const bool shortItalic = styleTail.size() >= 2 && styleTail.size() < reduced.size() &&
                             styleTail.compare(styleTail.size() - 2, 2, "it") == 0;
    look.italic = containsAny(reduced, kItalicWords) || shortItalic;
    return look;
}

TextLook lookOfFont(QPDFObjectHandle fontDict) {
    TextLook look;
    try {
        if (!fontDict.isDictionary()) return look;
        QPDFObjectHandle descriptor = dictEntry(fontDict, "/FontDescriptor");
        if (nameOf(dictEntry(fontDict, "/Subtype")) == "Type0") {
            QPDFObjectHandle descendants = dictEntry(fontDict, "/DescendantFonts");
            if (descendants.isArray() && descendants.getArrayNItems() > 0) {
                descriptor = dictEntry(descendants.getArrayItem(0), "/FontDescriptor");
            }
        }
        NamedLook named = lookOfFontName(nameOf(dictEntry(fontDict, "/BaseFont")));
        const NamedLook described = lookOfFontName(nameOf(dictEntry(descriptor, "/FontName")));
        if (!named.formKnown && described.formKnown) {
            named.formKnown = true;
            named.form = described.form;
        }
        named.bold = named.bold || described.bold;
        named.italic = named.italic || described.italic;

        const long long flags = integerOf(dictEntry(descriptor, "/Flags"), 0);
        if (named.formKnown) {
            look.form = named.form;
        } else if ((flags & kFlagFixedPitch) != 0) {
            look.form = LetterForm::Monospace;
        } else if ((flags & kFlagSerif) != 0) {
            look.form = LetterForm::Serif;
        }
        const double weight = numberOf(dictEntry(descriptor, "/FontWeight"), 0);
        const double italicAngle = numberOf(dictEntry(descriptor, "/ItalicAngle"), 0);
        look.bold = named.bold || weight >= 600 || (flags & kFlagForceBold) != 0;
        look.italic = named.italic || (flags & kFlagItalic) != 0 || std::fabs(italicAngle) >= 1.0;
    } catch (const std::exception&) {
        // A font whose dictionaries cannot be read looks like none in particular.
    }
    return look;
}

}  // namespace relettra::pdf
