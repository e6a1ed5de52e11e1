#include "pdf/forms/field_value_edit.h"

#include <qpdf/Constants.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "pdf/basics/utf8.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/forms/default_appearance.h"
#include "pdf/forms/fallback_appearance_font.h"
#include "pdf/forms/field_appearance.h"
#include "pdf/forms/field_layout.h"
#include "pdf/forms/field_tree.h"

namespace relettra::pdf {

namespace {

// The text of a field's value: a string's characters, a name's without its slash.
std::optional<std::string> valueText(QPDFObjectHandle value) {
    if (value.isString()) return value.getUTF8Value();
    if (value.isName()) return value.getName().substr(1);
    return std::nullopt;
}

bool isShown(QPDFObjectHandle annotation) {
    QPDFObjectHandle flags = annotation.getKey("/F");
    return !flags.isInteger() || (flags.getIntValue() & (an_hidden | an_no_view)) == 0;
}

QPDFObjectHandle::Rectangle ordered(const QPDFObjectHandle::Rectangle& r) {
    return QPDFObjectHandle::Rectangle(std::min(r.llx, r.urx), std::min(r.lly, r.ury),
                                       std::max(r.llx, r.urx), std::max(r.lly, r.ury));
}

struct Candidate {
    QPDFObjectHandle widget;
    QPDFObjectHandle field;
    std::string value;
    bool valueIsString = false;
    double overlap = 0;
};

// The shown widget on the page whose field's value holds `find` and that overlaps the area
// most.
std::optional<Candidate> widgetAt(const FieldEditPlace& place, const std::string& find) {
    std::optional<Candidate> best;
    QPDFObjectHandle page = place.page;
    QPDFObjectHandle annots = page.getKey("/Annots");
    if (!annots.isArray()) return best;
    for (QPDFObjectHandle widget : annots.getArrayAsVector()) {
        if (!widget.isDictionary() || !isShown(widget)) continue;
        QPDFObjectHandle subtype = widget.getKey("/Subtype");
        if (!subtype.isName() || subtype.getName() != "/Widget") continue;
        QPDFObjectHandle rectObject = widget.getKey("/Rect");
        if (!rectObject.isRectangle()) continue;
        const QPDFObjectHandle::Rectangle r =
            ordered(place.userToUpright.transformRectangle(rectObject.getArrayAsRectangle()));
        const double w = std::min(r.urx, place.area[2]) - std::max(r.llx, place.area[0]);
        const double h = std::min(r.ury, place.area[3]) - std::max(r.lly, place.area[1]);
        if (w <= 0 || h <= 0) continue;
        QPDFObjectHandle field = terminalField(widget);
        QPDFObjectHandle value = inheritedAttribute(field, "/V");
        const std::optional<std::string> text = valueText(value);
        if (!text || text->find(find) == std::string::npos) continue;
        if (!best || w * h > best->overlap) {
            best = Candidate{widget, field, *text, value.isString(), w * h};
        }
    }
    return best;
}

QPDFObjectHandle formDictionary(QPDF& pdf) {
    return pdf.getRoot().getKey("/AcroForm");
}

QPDFObjectHandle formFonts(QPDF& pdf) {
    QPDFObjectHandle form = formDictionary(pdf);
    if (!form.isDictionary()) return QPDFObjectHandle();
    QPDFObjectHandle dr = form.getKey("/DR");
    return dr.isDictionary() && dr.getKey("/Font").isDictionary() ? dr.getKey("/Font")
                                                                  : QPDFObjectHandle();
}

QPDFObjectHandle fontIn(QPDFObjectHandle resources, const std::string& name) {
    if (!resources.isDictionary()) return QPDFObjectHandle();
    QPDFObjectHandle fonts = resources.getKey("/Font");
    if (!fonts.isDictionary()) return QPDFObjectHandle();
    QPDFObjectHandle font = fonts.getKey("/" + name);
    return font.isDictionary() ? font : QPDFObjectHandle();
}

// The font a /DA names: in the form's /DR, else a /DR of the field (some producers put one
// there), else the resources of the widget's old appearance. `inForm` tells whether the form's
// /DR holds it.
QPDFObjectHandle fontNamed(QPDF& pdf, QPDFObjectHandle widget, const std::string& name,
                           bool& inForm) {
    inForm = false;
    QPDFObjectHandle form = formDictionary(pdf);
    if (form.isDictionary()) {
        QPDFObjectHandle font = fontIn(form.getKey("/DR"), name);
        if (font.isInitialized()) {
            inForm = true;
            return font;
        }
    }
    QPDFObjectHandle font = fontIn(inheritedAttribute(widget, "/DR"), name);
    if (font.isInitialized()) return font;
    QPDFObjectHandle ap = widget.getKey("/AP");
    QPDFObjectHandle normal = ap.isDictionary() ? ap.getKey("/N") : QPDFObjectHandle();
    if (normal.isStream()) return fontIn(normal.getDict().getKey("/Resources"), name);
    return QPDFObjectHandle();
}

// The widget's /DA as inherited, else the form's; nullopt when there is none.
std::optional<std::string> defaultAppearanceOf(QPDF& pdf, QPDFObjectHandle widget) {
    QPDFObjectHandle da = inheritedAttribute(widget, "/DA");
    if (!da.isString()) {
        QPDFObjectHandle form = formDictionary(pdf);
        da = form.isDictionary() ? form.getKey("/DA") : QPDFObjectHandle();
    }
    if (!da.isString()) return std::nullopt;
    return da.getStringValue();
}

int quaddingOf(QPDF& pdf, QPDFObjectHandle widget) {
    QPDFObjectHandle q = inheritedAttribute(widget, "/Q");
    if (!q.isInteger()) {
        QPDFObjectHandle form = formDictionary(pdf);
        q = form.isDictionary() ? form.getKey("/Q") : QPDFObjectHandle();
    }
    return q.isInteger() ? static_cast<int>(std::clamp<long long>(q.getIntValue(), 0, 2)) : 0;
}

// The characters of a value that glyphs show: line breaks and other control characters are none.
std::string shownCharacters(const std::string& utf8) {
    std::string shown;
    for (char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x20) shown += c;
    }
    return shown;
}

std::size_t characterCount(const std::string& utf8) {
    return decodeUtf8(utf8).size();
}

// One widget as its appearance will be written: the font its /DA names (when the form or the
// widget holds it), the /DA read, and how the value is laid out in its box.
struct WidgetPlan {
    QPDFObjectHandle widget;
    DefaultAppearance da;
    bool hasDa = false;
    std::unique_ptr<FormResourceFont> ownFont;
    bool fontInForm = false;
    WidgetLook look;
    FieldLayoutStyle style;
};

WidgetPlan planWidget(QPDF& pdf, FontCache& fonts, QPDFObjectHandle widget, long long flags) {
    WidgetPlan plan;
    plan.widget = widget;
    if (const std::optional<std::string> da = defaultAppearanceOf(pdf, widget)) {
        plan.da = parseDefaultAppearance(*da);
        plan.hasDa = !plan.da.fontName.empty();
    }
    if (plan.hasDa) {
        QPDFObjectHandle dict = fontNamed(pdf, widget, plan.da.fontName, plan.fontInForm);
        if (dict.isInitialized()) {
            plan.ownFont =
                std::make_unique<FormResourceFont>(plan.da.fontName, dict, fonts.get(dict));
        }
    }
    plan.look = widgetLook(widget);
    plan.style.width = plan.look.width;
    plan.style.height = plan.look.height;
    plan.style.padding = textPadding(plan.look) + 1;
    plan.style.quadding = quaddingOf(pdf, widget);
    plan.style.multiline = (flags & kFieldMultiline) != 0;
    plan.style.fontSize = plan.da.fontSize;
    if ((flags & kFieldComb) != 0 && (flags & (kFieldMultiline | kFieldPassword)) == 0) {
        QPDFObjectHandle maxLen = inheritedAttribute(widget, "/MaxLen");
        if (maxLen.isInteger() && maxLen.getIntValue() > 0 && maxLen.getIntValue() <= 1000) {
            plan.style.combCells = static_cast<int>(maxLen.getIntValue());
        }
    }
    return plan;
}

void useFontMetrics(FieldLayoutStyle& style, const AppearanceFont& font) {
    style.ascent = font.ascent();
    style.descent = font.descent();
}

// The offsets of the occurrences of `find` in `value`, left to right, none overlapping.
std::vector<std::size_t> occurrencesOf(const std::string& value, const std::string& find) {
    std::vector<std::size_t> offsets;
    for (std::size_t at = value.find(find); at != std::string::npos;
         at = value.find(find, at + find.size())) {
        offsets.push_back(at);
    }
    return offsets;
}

// Those occurrences whose middle stands in the rule's area where the widget shows the old value.
std::vector<std::size_t> occurrencesAtPlace(const Candidate& candidate, const WidgetPlan& plan,
                                            const AppearanceFont& font, const FieldEditPlace& place,
                                            const std::string& find) {
    std::vector<std::size_t> atPlace;
    FieldLayoutStyle style = plan.style;
    useFontMetrics(style, font);
    const TextAdvance advance = [&font](const std::string& text) { return font.advance(text); };
    const FieldLayout layout = layOutFieldValue(candidate.value, style, advance);
    QPDFObjectHandle widget = candidate.widget;
    const QPDFObjectHandle::Rectangle rect = ordered(widget.getKey("/Rect").getArrayAsRectangle());
    QPDFMatrix toUpright = place.userToUpright;
    toUpright.concat(QPDFMatrix(1, 0, 0, 1, rect.llx, rect.lly));
    toUpright.concat(plan.look.matrix);
    const double slack = layout.fontSize / 2;
    for (std::size_t offset : occurrencesOf(candidate.value, find)) {
        double box[4];
        if (!textBoxInLayout(layout, style, offset, offset + find.size(), advance, box)) continue;
        double x = 0;
        double y = 0;
        toUpright.transform((box[0] + box[2]) / 2, (box[1] + box[3]) / 2, x, y);
        if (x >= place.area[0] && x <= place.area[2] && y >= place.area[1] - slack &&
            y <= place.area[3] + slack) {
            atPlace.push_back(offset);
        }
    }
    return atPlace;
}

std::string replaced(const std::string& value, const std::string& find, const std::string& replace,
                     const std::vector<std::size_t>& offsets) {
    std::string result;
    std::size_t from = 0;
    for (std::size_t offset : offsets) {
        result += value.substr(from, offset - from) + replace;
        from = offset + find.size();
    }
    return result + value.substr(from);
}

std::optional<FieldEditStatus> refusalOf(QPDF& pdf, QPDFObjectHandle field) {
    if (documentIsSigned(pdf)) return FieldEditStatus::Signed;
    QPDFObjectHandle type = inheritedAttribute(field, "/FT");
    const std::string name = type.isName() ? type.getName() : std::string();
    if (name == "/Sig") return FieldEditStatus::Signed;
    if (name == "/Btn") return FieldEditStatus::Button;
    if (name == "/Ch") return FieldEditStatus::Choice;
    if (name != "/Tx") return FieldEditStatus::NotText;
    const long long flags = fieldFlags(field);
    if ((flags & kFieldReadOnly) != 0) return FieldEditStatus::ReadOnly;
    if ((flags & kFieldPassword) != 0) return FieldEditStatus::Password;
    if ((flags & kFieldRichText) != 0 || inheritedAttribute(field, "/RV").isInitialized()) {
        return FieldEditStatus::RichText;
    }
    return std::nullopt;
}

}  // namespace

FieldEditOutcome prepareFieldEdit(QPDF& pdf, FontCache& fonts, const FieldEditPlace& place,
                                  const std::string& find, const std::string& replace,
                                  FallbackRuns& fallback, FieldChange& change) {
    FieldEditOutcome outcome;
    const std::optional<Candidate> candidate = widgetAt(place, find);
    if (!candidate) return outcome;
    // Only a text field's value can be told to stand in the area: other kinds take a rule only
    // when the page's own text has nothing there.
    QPDFObjectHandle type = inheritedAttribute(candidate->field, "/FT");
    if (place.occurrenceInArea &&
        (!candidate->valueIsString || !type.isName() || type.getName() != "/Tx")) {
        return outcome;
    }
    const long long flags = fieldFlags(candidate->field);

    // The occurrences the rule points at, where the clicked widget shows them.
    WidgetPlan clicked = planWidget(pdf, fonts, candidate->widget, flags);
    std::unique_ptr<FallbackAppearanceFont> fallbackFont;
    const auto fallbackAppearance = [&]() -> FallbackAppearanceFont* {
        if (!fallbackFont)
            fallbackFont = std::make_unique<FallbackAppearanceFont>(fallback, formFonts(pdf));
        return fallbackFont.get();
    };
    std::vector<std::size_t> offsets;
    if (clicked.ownFont || fallback.available()) {
        const AppearanceFont& measure = clicked.ownFont
                                            ? static_cast<const AppearanceFont&>(*clicked.ownFont)
                                            : *fallbackAppearance();
        offsets = occurrencesAtPlace(*candidate, clicked, measure, place, find);
    }
    if (offsets.empty()) {
        if (place.occurrenceInArea) return outcome;
        offsets = occurrencesOf(candidate->value, find);
    }
    if (const std::optional<FieldEditStatus> refusal = refusalOf(pdf, candidate->field)) {
        outcome.status = *refusal;
        return outcome;
    }
    if (!candidate->valueIsString) {
        outcome.status = FieldEditStatus::NotText;
        return outcome;
    }
    const std::string newValue = replaced(candidate->value, find, replace, offsets);

    QPDFObjectHandle maxLen = inheritedAttribute(candidate->field, "/MaxLen");
    if (maxLen.isInteger() && maxLen.getIntValue() >= 0 &&
        characterCount(newValue) > static_cast<std::size_t>(maxLen.getIntValue())) {
        outcome.status = FieldEditStatus::TooLong;
        outcome.newLength = characterCount(newValue);
        outcome.maxLength = static_cast<std::size_t>(maxLen.getIntValue());
        return outcome;
    }

    // Every widget of the field shows the new value, the clicked one among them.
    std::vector<QPDFObjectHandle> widgets = widgetsOf(candidate->field);
    if (std::none_of(widgets.begin(), widgets.end(),
                     [&](QPDFObjectHandle w) { return w.isSameObjectAs(candidate->widget); })) {
        widgets.push_back(candidate->widget);
    }
    FieldChange prepared;
    prepared.field_ = candidate->field;
    prepared.value_ = newValue;
    bool usedFallback = false;
    const std::string shown = shownCharacters(newValue);
    for (QPDFObjectHandle widget : widgets) {
        WidgetPlan plan = widget.isSameObjectAs(candidate->widget)
                              ? std::move(clicked)
                              : planWidget(pdf, fonts, widget, flags);
        AppearanceFont* font = plan.ownFont.get();
        std::string missing;
        if (font == nullptr || !font->canShow(shown, &missing)) {
            if (!usedFallback) {
                outcome.noDefaultAppearance = !plan.hasDa;
                outcome.fontNotInForm = plan.hasDa && !plan.ownFont;
                outcome.fontName = plan.ownFont ? plan.ownFont->displayName() : plan.da.fontName;
                outcome.character = missing;
            }
            if (!fallback.available()) {
                outcome.status = FieldEditStatus::FallbackUnavailable;
                return outcome;
            }
            std::string fallbackMissing;
            if (!fallback.canShow(shown, &fallbackMissing)) {
                outcome.status = FieldEditStatus::FallbackMissingGlyph;
                outcome.fallbackCharacter = fallbackMissing;
                return outcome;
            }
            font = fallbackAppearance();
            usedFallback = true;
        } else if (!plan.fontInForm) {
            // A font that only the old appearance held goes into the form, where /DA looks.
            prepared.formFonts_[plan.da.fontName] = plan.ownFont->fontObject();
        }
        useFontMetrics(plan.style, *font);
        const TextAdvance advance = [font](const std::string& text) { return font->advance(text); };
        const FieldLayout layout = layOutFieldValue(newValue, plan.style, advance);
        AppearanceFontNames names;
        const std::string content = textFieldAppearance(plan.look, layout, plan.da.colour,
                                                        plan.style.combCells, *font, names);
        prepared.appearances_.emplace_back(widget,
                                           newAppearanceStream(pdf, plan.look, content, names));
        if (font != plan.ownFont.get()) {
            for (const auto& [name, object] : names) prepared.formFonts_[name] = object;
            DefaultAppearance da = plan.da;
            da.fontName = font->resourceName();
            if (da.colour.empty()) da.colour = "0 g";  // as the appearance draws it
            const std::string written = formatDefaultAppearance(da);
            prepared.defaultAppearances_.emplace_back(candidate->field, written);
            if (!widget.isSameObjectAs(candidate->field) && widget.hasKey("/DA")) {
                prepared.defaultAppearances_.emplace_back(widget, written);
            }
        }
    }
    prepared.fallback_ = usedFallback ? &fallback : nullptr;
    outcome.status = usedFallback ? FieldEditStatus::ChangedInFallback : FieldEditStatus::Changed;
    change = std::move(prepared);
    return outcome;
}

void FieldChange::apply(QPDF& pdf) {
    field_.replaceKey("/V", QPDFObjectHandle::newUnicodeString(value_));
    for (auto& [widget, stream] : appearances_) {
        QPDFObjectHandle ap = QPDFObjectHandle::newDictionary();
        ap.replaceKey("/N", stream);
        widget.replaceKey("/AP", ap);
    }
    for (auto& [dict, da] : defaultAppearances_) {
        dict.replaceKey("/DA", QPDFObjectHandle::newString(da));
    }
    QPDFObjectHandle form = formDictionary(pdf);
    if (!formFonts_.empty() && form.isDictionary()) {
        QPDFObjectHandle dr = form.getKey("/DR");
        if (!dr.isDictionary()) {
            dr = QPDFObjectHandle::newDictionary();
            form.replaceKey("/DR", dr);
        }
        QPDFObjectHandle fonts = dr.getKey("/Font");
        if (!fonts.isDictionary()) {
            fonts = QPDFObjectHandle::newDictionary();
            dr.replaceKey("/Font", fonts);
        }
        for (const auto& [name, font] : formFonts_) {
            if (!fonts.hasKey("/" + name)) fonts.replaceKey("/" + name, font);
        }
    }
    if (fallback_ != nullptr) fallback_->written();
}

}  // namespace relettra::pdf
