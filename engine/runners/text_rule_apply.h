#pragma once

#include <string>

#include "pdf/pdf_api.h"
#include "runners/rule_result.h"

// Replaces `find` inside the text records of the page that stand at the rule's place, in their
// own fonts. 1 when at least one record was replaced, 0 otherwise; then `whyNot` (when given)
// says why: an empty find text, a missing page, the find text nowhere at the place, or the
// character a record's font has no glyph for. A record matches by its size and top; of its
// occurrences of `find`, those whose glyphs stood within the rule's left and width (top and
// height for text running up or down) are replaced, or every one in every matching record when
// the rule points at none.
int ReplaceMatchingText(PDF* pdf, int page, int left, int top, int width, int height,
                        const std::string& find, const std::string& replace,
                        std::string* whyNot = nullptr);

// Clears the rule's area (its text removed from the page content, the area painted white) and
// writes `replace` there in the fallback font, its size the rule's height. 1 when done, 0 (the
// page unchanged) when the page does not exist, the font cannot be loaded or lacks a character
// of `replace`; `whyNot` (when given) says which.
int OverwriteRuleArea(PDF* pdf, int page, int left, int top, int width, int height,
                      const std::string& replace, std::string* whyNot = nullptr);
