#include "runners/rule_result.h"

#include <cstdio>

#include "marqel/rule_result.h"
#include "pdf/basics/utf8.h"

std::string RuleResultLine(const RuleResult& result) {
    std::string line = MARQEL_RULE_RESULT_PREFIX;
    switch (result.outcome) {
        case RuleOutcome::OwnFont:
            line += MARQEL_RULE_RESULT_OWN_FONT;
            if (result.formField) line += ": " MARQEL_RULE_RESULT_FORM_FIELD;
            break;
        case RuleOutcome::FallbackFont:
            line += MARQEL_RULE_RESULT_FALLBACK_FONT;
            if (result.formField) line += ": " MARQEL_RULE_RESULT_FORM_FIELD;
            break;
        case RuleOutcome::ImagePlaced:
            line += MARQEL_RULE_RESULT_IMAGE_PLACED;
            break;
        case RuleOutcome::NotDone:
            line += MARQEL_RULE_RESULT_NOT_DONE;
            break;
    }
    if (!result.reason.empty()) {
        line += ": " + result.reason;
    }
    if (result.outcome == RuleOutcome::FallbackFont && !result.writtenIn.empty()) {
        line += MARQEL_RULE_RESULT_WRITTEN_IN + result.writtenIn;
    }
    return line;
}

std::string MissingGlyphReason(const std::string& fontName, const std::string& character) {
    std::string reason = fontName.empty() ? "the fallback font" : "the font " + fontName;
    reason += " has no glyph for \"" + character + "\"";
    const std::u32string codePoints = relettra::pdf::decodeUtf8(character);
    if (!codePoints.empty()) {
        char code[16];
        std::snprintf(code, sizeof code, " (U+%04X)", static_cast<unsigned>(codePoints.front()));
        reason += code;
    }
    return reason;
}

std::string MissingPageReason(int page) {
    return "page " + std::to_string(page) + " does not exist";
}
