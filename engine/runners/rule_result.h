#pragma once

#include <string>

// What became of one rule of a rule file.
enum class RuleOutcome { OwnFont, FallbackFont, ImagePlaced, NotDone };

struct RuleResult {
    RuleOutcome outcome = RuleOutcome::NotDone;
    // The rule changed, or would have changed, a form field's value instead of the page's text.
    bool formField = false;
    // Why the fallback font was used or nothing was done; empty otherwise.
    std::string reason;
    // The fonts a fallback wrote the text in ("Liberation Serif Bold"); empty otherwise.
    std::string writtenIn;
};

// The line printed for a rule (see marqel/rule_result.h), without the line end; a fallback's
// line ends in "; written in <fonts>" after its reason.
std::string RuleResultLine(const RuleResult& result);

// `the font <name> has no glyph for "<character>" (U+XXXX)`; "the fallback font …" without a name.
std::string MissingGlyphReason(const std::string& fontName, const std::string& character);

// "page <n> does not exist"
std::string MissingPageReason(int page);
