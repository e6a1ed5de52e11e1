#include "pdf/forms/appearance_font.h"

#include <algorithm>

#include "pdf/basics/pdf_number.h"
#include "pdf/basics/utf8.h"
#include "pdf/content/content_lexer.h"
#include "pdf/forms/default_appearance.h"

namespace relettra::pdf {

namespace {

// The font's /FontDescriptor (a composite font's is its descendant's).
QPDFObjectHandle descriptorOf(QPDFObjectHandle font) {
    QPDFObjectHandle descendants = font.getKey("/DescendantFonts");
    if (descendants.isArray() && descendants.getArrayNItems() > 0 &&
        descendants.getArrayItem(0).isDictionary()) {
        font = descendants.getArrayItem(0);
    }
    return font.getKey("/FontDescriptor");
}

}  // namespace

FormResourceFont::FormResourceFont(std::string resourceName, QPDFObjectHandle dictionary,
                                   std::shared_ptr<const PdfFont> font)
    : name_(std::move(resourceName)), dictionary_(dictionary), font_(std::move(font)) {
    // Ascent and descent from the descriptor where it gives sensible ones; the standard fonts
    // that have none are near these.
    QPDFObjectHandle descriptor = descriptorOf(dictionary_);
    if (descriptor.isDictionary()) {
        QPDFObjectHandle a = descriptor.getKey("/Ascent");
        QPDFObjectHandle d = descriptor.getKey("/Descent");
        if (a.isNumber() && d.isNumber() && a.getNumericValue() > 0 && a.getNumericValue() < 2000 &&
            d.getNumericValue() <= 0 && d.getNumericValue() > -1000) {
            ascent_ = a.getNumericValue() / 1000;
            descent_ = d.getNumericValue() / 1000;
        }
    }
}

bool FormResourceFont::canShow(const std::string& utf8, std::string* missing) const {
    std::u32string characters = decodeUtf8(utf8);
    // Spaces last: many fonts draw the gaps between words as moves and lack a space glyph.
    std::stable_partition(characters.begin(), characters.end(),
                          [](char32_t c) { return c != U' '; });
    for (char32_t c : characters) {
        if (!font_->canEncode(c)) {
            if (missing != nullptr) *missing = toUtf8(c);
            return false;
        }
    }
    return true;
}

double FormResourceFont::advanceOf(char32_t c) const {
    auto known = advances_.find(c);
    if (known != advances_.end()) return known->second;
    double advance = font_->spaceAdvance();
    if (const std::optional<std::string> codes = font_->encode(toUtf8(c))) {
        advance = 0;
        for (const DecodedGlyph& glyph : font_->decode(*codes)) advance += glyph.advance;
    }
    advances_.emplace(c, advance);
    return advance;
}

double FormResourceFont::advance(const std::string& utf8) const {
    double total = 0;
    for (char32_t c : decodeUtf8(utf8)) total += advanceOf(c);
    return total;
}

std::string FormResourceFont::show(const std::string& utf8, double size,
                                   AppearanceFontNames& names) {
    const std::optional<std::string> codes = font_->encode(utf8);
    if (!codes || codes->empty()) {
        return std::string();
    }
    names[name_] = dictionary_;
    return nameToken(name_) + " " + formatPdfNumber(size) + " Tf " + encodeStringToken(*codes) +
           " Tj";
}

std::string FormResourceFont::displayName() const {
    return font_->baseFont().empty() ? name_ : font_->baseFont();
}

}  // namespace relettra::pdf
