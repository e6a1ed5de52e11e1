#include "pdf/form_fallback_runs.h"

#include <algorithm>

#include "pdf/basics/utf8.h"
#include "pdf/fallback_font/fallback_font.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/pdf_document.h"

namespace relettra::pdf {

bool DocumentFallbackRuns::available() {
    // Loaded once: a font that cannot be loaded is reported once.
    if (loaded_ < 0) {
        loaded_ = document_.selectedFont() != nullptr || document_.selectFallbackFont(12) ? 1 : 0;
    }
    return loaded_ == 1 && document_.selectedFont() != nullptr;
}

bool DocumentFallbackRuns::canShow(const std::string& utf8, std::string* missing) {
    FallbackFont* font = available() ? document_.selectedFont() : nullptr;
    if (font == nullptr) return false;
    std::u32string characters = decodeUtf8(utf8);
    std::stable_partition(characters.begin(), characters.end(),
                          [](char32_t c) { return c != U' '; });
    for (char32_t c : characters) {
        if (!font->covers(c)) {
            // A font of the chain that is not installed may be why.
            for (const std::string& problem : font->chainProblems()) {
                document_.errors().report(kErrWarning, 0, "A fallback font is missing: " + problem);
            }
            if (missing != nullptr) *missing = toUtf8(c);
            return false;
        }
    }
    return true;
}

double DocumentFallbackRuns::advance(const std::string& utf8) {
    FallbackFont* font = available() ? document_.selectedFont() : nullptr;
    return font != nullptr ? font->advance(utf8) : 0;
}

double DocumentFallbackRuns::ascent() {
    FallbackFont* font = available() ? document_.selectedFont() : nullptr;
    return font != nullptr ? font->ascent() : 0.8;
}

double DocumentFallbackRuns::descent() {
    FallbackFont* font = available() ? document_.selectedFont() : nullptr;
    return font != nullptr ? font->descent() : -0.2;
}

std::vector<FallbackRuns::Run> DocumentFallbackRuns::encode(const std::string& utf8) {
    std::vector<Run> runs;
    FallbackFont* font = available() ? document_.selectedFont() : nullptr;
    if (font == nullptr) return runs;
    for (const FallbackFont::Run& run : font->runs(utf8)) {
        FallbackFace& face = font->face(run.face);
        QPDFObjectHandle object = face.fontObject(document_.qpdf());
        if (!object.isInitialized()) continue;
        runs.push_back({object, face.encode(run.text)});
        used_.push_back(object);
    }
    return runs;
}

void DocumentFallbackRuns::written() {
    // Widths and Unicode maps brought up to date now, as for text drawn on a page, so that
    // what reads these fonts later in the run sees every glyph used.
    if (FallbackFont* font = document_.selectedFont()) font->finish(document_.qpdf());
    for (const QPDFObjectHandle& object : used_) document_.fonts().forget(object);
    used_.clear();
}

}  // namespace relettra::pdf
