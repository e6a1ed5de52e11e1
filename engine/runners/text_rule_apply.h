#pragma once

#include <string>

#include "pdf/pdf_api.h"

// Replaces `find` inside the text records of the page that stand at the rule's place, in their
// own fonts. 1 when at least one record was replaced, 0 otherwise. `left` takes no part: a
// record matches by its size and top.
int ReplaceMatchingText(PDF* pdf, int page, int left, int top, int width, int height,
                        const std::string& find, const std::string& replace);

// Clears the rule's area (its text removed from the page content, the area painted white) and
// writes `replace` there in the fallback font, its size the rule's height. 1 when done, 0 when
// the page does not exist or the font cannot be loaded.
int OverwriteRuleArea(PDF* pdf, int page, int left, int top, int width, int height,
                      const std::string& replace);
