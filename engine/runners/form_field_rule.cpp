#include "runners/form_field_rule.h"

namespace {

// Why the field's own font did not show the new value.
std::string ownFontReason(const TPDFFieldChange& change) {
    if (change.noDefaultAppearance) {
        return "the form field names no font (it has no default appearance)";
    }
    if (change.fontNotInForm) {
        return "the form holds no font " + change.fontName + ", which the form field names";
    }
    return MissingGlyphReason(change.fontName, change.character);
}

}  // namespace

std::string FormFieldReason(const TPDFFieldChange& change) {
    switch (change.status) {
        case TPDFFieldStatus::Changed:
        case TPDFFieldStatus::NoField:
            return std::string();
        case TPDFFieldStatus::ChangedInFallback:
            return ownFontReason(change);
        case TPDFFieldStatus::Signed:
            return "the document is signed; a change would break its signature";
        case TPDFFieldStatus::Button:
            return "the form field at this place is a check box, radio button or push button, "
                   "which rules do not change";
        case TPDFFieldStatus::Choice:
            return "the form field at this place is a list or combo box, whose value rules do "
                   "not change";
        case TPDFFieldStatus::NotText:
            return "the form field at this place holds no text value that rules can change";
        case TPDFFieldStatus::ReadOnly:
            return "the form field at this place is read-only";
        case TPDFFieldStatus::Password:
            return "the form field at this place is a password field, which hides its value";
        case TPDFFieldStatus::RichText:
            return "the form field at this place holds rich text, which rules do not change";
        case TPDFFieldStatus::TooLong:
            return "the new value has " + std::to_string(change.newLength) +
                   " characters, more than the form field's limit of " +
                   std::to_string(change.maxLength);
        case TPDFFieldStatus::FallbackUnavailable:
            return ownFontReason(change) + "; the fallback font cannot be loaded";
        case TPDFFieldStatus::FallbackMissingGlyph:
            return ownFontReason(change) + "; " +
                   MissingGlyphReason(std::string(), change.fallbackCharacter);
        case TPDFFieldStatus::Failed:
            break;
    }
    return "the form field could not be changed";
}

int ApplyFormFieldRule(PDF* pdf, int page, int left, int top, int width, int height,
                       const std::string& find, const std::string& replace, bool occurrenceInArea,
                       RuleResult& result, bool& handled) {
    handled = false;
    if (page < 1 || page > pdfGetPageCount(pdf) || pdfEditPage(pdf, page) != 1) {
        return 0;
    }
    TPDFFieldChange change;
    const int changed = pdfReplaceFormFieldText(pdf, left, top, width, height, find.c_str(),
                                                replace.c_str(), occurrenceInArea ? 1 : 0, &change);
    handled = changed != 0 || change.status != TPDFFieldStatus::NoField;
    if (!handled) {
        return 0;
    }
    // The field's value is drawn above the page: a fallback written into the page there would
    // stay hidden, so the page itself is left as it is.
    pdfEndPage(pdf);
    result.formField = true;
    result.reason = FormFieldReason(change);
    if (changed == 1) {
        result.outcome = change.status == TPDFFieldStatus::ChangedInFallback
                             ? RuleOutcome::FallbackFont
                             : RuleOutcome::OwnFont;
        return 1;
    }
    result.outcome = RuleOutcome::NotDone;
    return changed < 0 ? -1 : 0;
}
