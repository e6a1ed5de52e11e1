#include "pdf/forms/fallback_appearance_font.h"

#include "pdf/basics/pdf_number.h"
#include "pdf/content/content_lexer.h"
#include "pdf/forms/default_appearance.h"

namespace relettra::pdf {

FallbackAppearanceFont::FallbackAppearanceFont(FallbackRuns& runs, QPDFObjectHandle formFonts)
    : runs_(runs), formFonts_(formFonts) {}

bool FallbackAppearanceFont::canShow(const std::string& utf8, std::string* missing) const {
    return runs_.canShow(utf8, missing);
}

std::string FallbackAppearanceFont::nameFor(QPDFObjectHandle font) {
    auto known = names_.find(font.getObjGen());
    if (known != names_.end()) return known->second;
    std::string name;
    const bool haveForm = formFonts_.isDictionary();
    if (haveForm) {
        for (const std::string& key : formFonts_.getKeys()) {
            if (formFonts_.getKey(key).isSameObjectAs(font)) {
                name = key.substr(1);
                break;
            }
        }
    }
    for (int n = 1; name.empty(); ++n) {
        const std::string candidate = "RelF" + std::to_string(n);
        bool taken = haveForm && formFonts_.hasKey("/" + candidate);
        for (const auto& [id, used] : names_) taken = taken || used == candidate;
        if (!taken) name = candidate;
    }
    names_.emplace(font.getObjGen(), name);
    return name;
}

std::string FallbackAppearanceFont::show(const std::string& utf8, double size,
                                         AppearanceFontNames& names) {
    std::string shown;
    for (const FallbackRuns::Run& run : runs_.encode(utf8)) {
        if (!run.font.isInitialized() || run.codes.empty()) continue;
        const std::string name = nameFor(run.font);
        if (firstName_.empty()) firstName_ = name;
        names[name] = run.font;
        if (!shown.empty()) shown += ' ';
        shown += nameToken(name) + " " + formatPdfNumber(size) + " Tf " +
                 encodeStringToken(run.codes) + " Tj";
    }
    return shown;
}

}  // namespace relettra::pdf
