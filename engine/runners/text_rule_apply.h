#pragma once

#include <string>
#include <vector>

#include "pdf/pdf_api.h"
#include "runners/rule_result.h"
#include "runners/text_record_match.h"

// What the in-font attempt of a rule found at the rule's place, for the fallback: the glyphs of
// the find text it could not edit there, and the direction and size of the text standing there.
struct TextAtRule {
    std::vector<TPDFTextSpan> word;
    int direction = 0;      // WritingDirection: 0, 90, 180 or 270
    double size = 0;        // 0 when no text of the find text stood at the place
    RecordGeometry line{};  // the record of the first of them
};

// Replaces `find` inside the text records of the page that stand at the rule's place, in their
// own fonts. 1 when at least one record was replaced, 0 otherwise; then `whyNot` (when given)
// says why: an empty find text, a missing page, the find text nowhere at the place, or the
// character a record's font has no glyph for. A record matches by its size and top; of its
// occurrences of `find`, those whose glyphs stood within the rule's left and width (top and
// height for text running up or down) are replaced, or every one in every matching record when
// the rule points at none. Where no record holds an occurrence at the place, an occurrence that
// a producer drew over several records of one line is taken (a record of it at the rule's size
// and top, its glyphs over the rule's left and width): the replacement goes into its records in
// order, each keeping its font, or else whole into the first record whose font can show it,
// the others losing their part. The text after a replaced occurrence on its line
// follows its change of width. The page stays open, its text read, for the rules after it (the
// caller writes it with pdfEndPage); when nothing was replaced, `found` (when given) tells
// OverwriteRuleArea what stood there.
int ReplaceMatchingText(PDF* pdf, int page, int left, int top, int width, int height,
                        const std::string& find, const std::string& replace,
                        std::string* whyNot = nullptr, TextAtRule* found = nullptr);

// Clears the rule's area (its text removed from the page content, together with every glyph of
// `found->word`, and the area painted white) and writes `replace` there in the fallback fonts,
// in the look of the text it replaces (serif, sans-serif or monospace, bold, italic: that of
// its font), on its baseline from where its glyphs started, in its direction and at its size:
// those of `found->word`, else of the text removed from the area (from the rule's left or top
// edge), else across the page with its em box's top at the rule's top and the rule's height as
// its size. A new text wider than the old one (than the rule, where none was found) is
// condensed horizontally to its width, so that it never runs over the text that follows; see
// FallbackPlacement. 1 when done, `writtenIn` (when given) naming the fonts it was written in;
// 0 (the page unchanged) when the page does not exist, the font cannot be loaded or lacks a
// character of `replace`; `whyNot` (when given) says which. -1 when the old text was removed but
// the new one could not be drawn or the page not written: the document is then not fit to be
// saved. The page stays open.
int OverwriteRuleArea(PDF* pdf, int page, int left, int top, int width, int height,
                      const std::string& replace, std::string* whyNot = nullptr,
                      const TextAtRule* found = nullptr, std::string* writtenIn = nullptr);
