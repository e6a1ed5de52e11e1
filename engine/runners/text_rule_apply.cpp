#include "runners/text_rule_apply.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <vector>

#include "runners/fallback_placement.h"
#include "runners/form_field_rule.h"
#include "runners/text_record_match.h"
#include "runners/text_rules_runner.h"

namespace {

// Prints a matched record's text on one line: page text holding a line break must not pass for
// another line of the engine's report (a "Rule result:" line, say) to those who read it.
void printRecordText(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    std::printf("strtext is :%s\n", text.c_str());
}

void explain(std::string* whyNot, std::string reason) {
    if (whyNot != nullptr) {
        *whyNot = std::move(reason);
    }
}

}  // namespace

namespace {

// A record that stands at the rule's place and holds the find text.
struct MatchedRecord {
    TPDFStack record;
    RecordGeometry geometry;
    std::vector<size_t> occurrences;  // every one, byte offsets into record.text
    std::vector<size_t> atPlace;      // those whose glyphs lie at the rule's place
};

// The records of the open page that stand at the rule's place and hold `find`, each with the
// occurrences that stood at the rule's place on the page the rule was written against.
// `onPage` tells whether any record holds `find`.
std::vector<MatchedRecord> matchRecords(PDF* pdf, int left, int top, int width, int height,
                                        const std::string& find, bool& onPage) {
    const double pageHeight = pdfGetPageHeight(pdf);
    std::vector<MatchedRecord> matches;
    std::vector<size_t> holding;
    if (pdfFindRecordsHolding(pdf, find.c_str(), &holding) <= 0) {
        return matches;
    }
    onPage = true;
    for (size_t index : holding) {
        TPDFStack record;
        if (pdfGetPageRecord(pdf, index, &record) != 1) continue;
        const RecordGeometry geometry = MeasureRecord(record);
        // Slanted text is found by the boxes of its occurrences as the page shows them.
        const bool slanted = RunsSlanted(geometry);
        const bool recordAtRule = RecordMatchesRule(geometry, pageHeight, top, width, height);
        if (!recordAtRule && !slanted) {
            continue;
        }
        MatchedRecord match{record, geometry, FindOccurrences(record.text, find), {}};
        for (size_t offset : match.occurrences) {
            double box[4];
            if (pdfGetTextBox(pdf, &record, offset, offset + find.size(), 1, box) == 1 &&
                (slanted ? SlantedOccurrenceAtRule(box, left, top, width, height)
                         : OccurrenceAtRule(geometry, box, left, top, width, height))) {
                match.atPlace.push_back(offset);
            }
        }
        if (!recordAtRule && match.atPlace.empty()) {
            continue;
        }
        matches.push_back(std::move(match));
    }
    return matches;
}

// An occurrence of the find text that a producer drew over several records, one of which stands
// at the rule's place.
struct MatchedOverRecords {
    TPDFTextOverRecords text;
    std::vector<TPDFStack> records;  // one per span
    RecordGeometry line;             // the record at the rule's place
    bool middleAtRule = false;
};

// The occurrences of `find` over several records of the open page at the rule's place: a record
// of each at the rule's size and top, its glyphs over the rule's left and width (top and height
// for text running up or down). Those whose middle lies within the rule win over those that
// only reach into it. `onPage` is set when there is any such occurrence on the page.
std::vector<MatchedOverRecords> matchOverRecords(PDF* pdf, int left, int top, int width, int height,
                                                 const std::string& find, bool& onPage) {
    std::vector<TPDFTextOverRecords> found;
    std::vector<MatchedOverRecords> matches;
    if (pdfFindTextOverRecords(pdf, find.c_str(), &found) <= 0) {
        return matches;
    }
    onPage = true;
    const double pageHeight = pdfGetPageHeight(pdf);
    for (TPDFTextOverRecords& text : found) {
        MatchedOverRecords match;
        bool atPlace = false;
        for (const TPDFTextSpan& span : text.spans) {
            TPDFStack record;
            if (pdfGetPageRecord(pdf, span.record, &record) != 1) break;
            const RecordGeometry geometry = MeasureRecord(record);
            if (!atPlace && (RecordMatchesRule(geometry, pageHeight, top, width, height) ||
                             (RunsSlanted(geometry) &&
                              SlantedOccurrenceAtRule(text.box, left, top, width, height)))) {
                atPlace = true;
                match.line = geometry;
            }
            match.records.push_back(std::move(record));
        }
        const bool slanted = atPlace && RunsSlanted(match.line);
        if (!atPlace || match.records.size() != text.spans.size() ||
            !(slanted ? SlantedOccurrenceAtRule(text.box, left, top, width, height)
                      : OverlapsRule(match.line, text.box, left, top, width, height))) {
            continue;
        }
        match.middleAtRule = slanted
                                 ? SlantedOccurrenceAtRule(text.box, left, top, width, height)
                                 : OccurrenceAtRule(match.line, text.box, left, top, width, height);
        match.text = std::move(text);
        matches.push_back(std::move(match));
    }
    const bool anyMiddle = std::any_of(matches.begin(), matches.end(),
                                       [](const MatchedOverRecords& m) { return m.middleAtRule; });
    if (anyMiddle) {
        matches.erase(std::remove_if(matches.begin(), matches.end(),
                                     [](const MatchedOverRecords& m) { return !m.middleAtRule; }),
                      matches.end());
    }
    return matches;
}

// Replaces an occurrence drawn over several records: the replacement goes into the records in
// order, each part in its record's font (one-glyph records so keep their glyphs' places; where a
// font cannot show its share, the cuts move to where each part can show its piece), or else
// whole into the first record whose font can show it while the other records lose their part;
// the text after the occurrence follows the new text. False when neither can be done;
// `missingGlyph` then says why (when still empty).
bool replaceOverRecords(PDF* pdf, const MatchedOverRecords& match, const std::string& replace,
                        std::string& missingGlyph) {
    const std::vector<TPDFTextSpan>& spans = match.text.spans;
    std::vector<size_t> lengths;
    for (size_t j = 0; j < spans.size(); ++j) {
        const std::string& text = match.records[j].text;
        lengths.push_back(
            CharacterCount(text.substr(spans[j].begin, spans[j].end - spans[j].begin)));
    }
    auto shows = [&](size_t part, const std::string& piece) {
        return piece.empty() || pdfCanShowText(pdf, &match.records[part], piece.c_str()) == 1;
    };
    std::vector<std::string> pieces = SplitOverParts(replace, lengths);
    bool eachHolds = true;
    for (size_t j = 0; j < spans.size(); ++j) eachHolds = eachHolds && shows(j, pieces[j]);
    // Where a part's font cannot show its share, the cuts move to where each part can.
    if (!eachHolds) {
        pieces = FitOverParts(replace, lengths, shows);
        eachHolds = !pieces.empty();
    }
    std::vector<TPDFTextEdit> edits;
    for (size_t j = 0; j < spans.size(); ++j) {
        edits.push_back({spans[j], eachHolds ? pieces[j] : std::string(), false});
    }
    if (eachHolds && pdfReplaceTextSpans(pdf, edits, 0) == 1) {
        return true;
    }
    for (size_t j = 0; j < spans.size(); ++j) {
        if (!shows(j, replace)) {
            continue;
        }
        for (size_t k = 0; k < spans.size(); ++k) {
            edits[k] = k == j ? TPDFTextEdit{spans[k], replace, false}
                              : TPDFTextEdit{spans[k], std::string(), false};
        }
        if (pdfReplaceTextSpans(pdf, edits, 0) == 1) {
            return true;
        }
    }
    std::string character;
    std::string fontName;
    if (missingGlyph.empty() && pdfGetMissingGlyph(pdf, &match.records.front(), replace.c_str(),
                                                   &character, &fontName) == 1) {
        missingGlyph = MissingGlyphReason(fontName, character);
    }
    return false;
}

// Notes the direction and size of text found at the rule's place, the first that was found.
void noteLine(TextAtRule& found, const RecordGeometry& geometry) {
    if (found.size <= 0) {
        found.direction = WritingDirection(geometry);
        found.size = geometry.size;
        found.line = geometry;
    }
}

}  // namespace

int ReplaceMatchingText(PDF* pdf, int page, int left, int top, int width, int height,
                        const std::string& find, const std::string& replace, std::string* whyNot,
                        TextAtRule* found) {
    if (find.empty()) {
        explain(whyNot, "the find text is empty");
        return 0;
    }
    if (page < 1 || page > pdfGetPageCount(pdf) || pdfEditPage(pdf, page) != 1) {
        explain(whyNot, MissingPageReason(page));
        return 0;
    }
    TPDFStack record;
    int replaced = 0;
    bool onPage = false;
    std::vector<MatchedOverRecords> deferred;
    std::string missingGlyph;
    TextAtRule seen;
    if (pdfInitStack(pdf, &record) == 1) {
        std::vector<MatchedRecord> matches =
            matchRecords(pdf, left, top, width, height, find, onPage);
        bool anyAtPlace = false;
        for (const MatchedRecord& match : matches) {
            anyAtPlace = anyAtPlace || !match.atPlace.empty();
        }
        // Where no record holds the find text at the place, a text drawn over several records
        // may stand there.
        std::vector<MatchedOverRecords> overRecords;
        if (!anyAtPlace) {
            overRecords = matchOverRecords(pdf, left, top, width, height, find, onPage);
        }
        // Records whose text changed: another occurrence in one of them is found again once
        // the others are replaced, in the records as they read then.
        std::set<size_t> editedRecords;
        for (const MatchedOverRecords& match : overRecords) {
            if (std::any_of(match.text.spans.begin(), match.text.spans.end(),
                            [&](const TPDFTextSpan& s) { return editedRecords.count(s.record); })) {
                deferred.push_back(match);
                continue;
            }
            for (const TPDFStack& part : match.records) {
                printRecordText(part.text);
            }
            if (replaceOverRecords(pdf, match, replace, missingGlyph)) {
                replaced = 1;
                for (const TPDFTextSpan& span : match.text.spans) editedRecords.insert(span.record);
                continue;
            }
            noteLine(seen, match.line);
            seen.word.insert(seen.word.end(), match.text.spans.begin(), match.text.spans.end());
        }
        if (!overRecords.empty()) {
            matches.clear();
        }
        // The occurrences the rule points at; a rule that points at none changes every one.
        for (MatchedRecord& match : matches) {
            const std::vector<size_t>& offsets = anyAtPlace ? match.atPlace : match.occurrences;
            if (offsets.empty()) {
                continue;
            }
            printRecordText(match.record.text);
            const std::string newText =
                ReplaceOccurrences(match.record.text, find, replace, offsets);
            // A record whose font cannot show the new text stays as it is.
            if (pdfReplacePageTextA(pdf, newText.c_str(), &match.record) == 1) {
                replaced = 1;
                continue;
            }
            noteLine(seen, match.geometry);
            for (size_t offset : match.atPlace) {
                seen.word.push_back({match.record.record, offset, offset + find.size()});
            }
            std::string character;
            std::string fontName;
            if (missingGlyph.empty() && pdfGetMissingGlyph(pdf, &match.record, newText.c_str(),
                                                           &character, &fontName) == 1) {
                missingGlyph = MissingGlyphReason(fontName, character);
            }
        }
    }
    if (replaced != 0) {
        // Each occurrence put off is taken by a rule narrowed to where it stood along its line.
        for (const MatchedOverRecords& later : deferred) {
            int narrowLeft = left, narrowTop = top, narrowWidth = width, narrowHeight = height;
            if (WritingDirection(later.line) % 180 == 0) {
                narrowLeft = static_cast<int>(std::floor(later.text.box[0]));
                narrowWidth = static_cast<int>(std::ceil(later.text.box[2])) - narrowLeft;
            } else {
                narrowTop = static_cast<int>(std::floor(later.text.box[1]));
                narrowHeight = static_cast<int>(std::ceil(later.text.box[3])) - narrowTop;
            }
            ReplaceMatchingText(pdf, page, narrowLeft, narrowTop, narrowWidth, narrowHeight, find,
                                replace);
        }
        return replaced;
    }
    // The page stays open, its records read, for the fallback.
    if (!missingGlyph.empty()) {
        explain(whyNot, missingGlyph);
    } else {
        explain(whyNot,
                onPage ? "the find text is not at this place" : "the find text is not on the page");
    }
    if (found != nullptr) {
        *found = std::move(seen);
    }
    return replaced;
}

namespace {

// The old text a fallback replaces: where its glyphs stand and the look of its font.
struct OldText {
    bool placed = false;  // `placement` holds its baseline, size and room
    FallbackPlacement placement;
    const char* fontFamily = "sans-serif";
    int fontStyle = 0;
};

// The text of `found` as it stands on the open page, before it is removed.
OldText describeFoundText(PDF* pdf, const TextAtRule& found) {
    OldText old;
    TPDFStack record;
    if (!found.word.empty() && pdfGetPageRecord(pdf, found.word.front().record, &record) == 1) {
        old.fontFamily = record.fontFamily;
        old.fontStyle = record.fontStyle;
    }
    double box[4];
    old.placed = BoxOfSpans(pdf, found.word, box) &&
                 PlaceOnLine(found.line, box, pdfGetPageHeight(pdf), old.placement);
    return old;
}

// The record that lost the most glyphs from the rule's area, the replacement starting at the
// rule's edge where such text starts.
OldText describeRemovedText(const TPDFStack& removed, double pageHeight, int left, int top,
                            int width, int height) {
    OldText old;
    old.fontFamily = removed.fontFamily;
    old.fontStyle = removed.fontStyle;
    const double ruleBox[4] = {static_cast<double>(left), static_cast<double>(top),
                               static_cast<double>(left) + width,
                               static_cast<double>(top) + height};
    old.placed = PlaceOnLine(MeasureRecord(removed), ruleBox, pageHeight, old.placement);
    return old;
}

// Selects the fallback font in the old text's look at `size`, or in the regular sans-serif look
// when that look cannot show all of `replace` (its chain may lack what the other has). False
// when no font can be loaded.
bool selectFontLike(PDF* pdf, const OldText& old, double size, const std::string& replace) {
    if (pdfSetFontA(pdf, old.fontFamily, old.fontStyle, size, 1, 2) != 1) {
        return false;
    }
    // The regular sans-serif look is the one whose chain was asked already.
    const bool regularSans = std::string(old.fontFamily) == "sans-serif" && old.fontStyle == 0;
    if (regularSans || pdfGetMissingGlyph(pdf, nullptr, replace.c_str(), nullptr, nullptr) == 0) {
        return true;
    }
    return pdfSetFontA(pdf, "Arial", 0, size, 1, 2) == 1;
}

}  // namespace

int OverwriteRuleArea(PDF* pdf, int page, int left, int top, int width, int height,
                      const std::string& replace, std::string* whyNot, const TextAtRule* found,
                      std::string* writtenIn) {
    if (page < 1 || page > pdfGetPageCount(pdf) || pdfEditPage(pdf, page) != 1) {
        explain(whyNot, MissingPageReason(page));
        return 0;
    }
    // The new text takes the look, direction and size of the text it replaces, and its place.
    const bool knownLine = found != nullptr && found->size > 0;
    int direction = knownLine ? found->direction : 0;
    double size = knownLine ? found->size : height;
    OldText old = knownLine ? describeFoundText(pdf, *found) : OldText{};
    // The font comes first, and it must show the whole text: without it the page is left as it
    // was, rather than losing its old text and showing a part of the new one or nothing.
    if (pdfSetFontA(pdf, "Arial", 0, size, 1, 2) != 1) {
        explain(whyNot, "the fallback font cannot be loaded");
        return 0;
    }
    std::string character;
    if (pdfGetMissingGlyph(pdf, nullptr, replace.c_str(), &character, nullptr) == 1) {
        explain(whyNot, MissingGlyphReason(std::string(), character));
        return 0;
    }
    const double pageHeight = pdfGetPageHeight(pdf);
    // The old text goes from the content, not only out of sight: what lies in the area, and
    // every glyph of the text the rule found, wherever it stands.
    TPDFStack removed;
    const int removedCount = pdfRemoveTextInAreaAndSpans(
        pdf, left, top, width, height, knownLine ? &found->word : nullptr, &removed);
    if (removedCount < 0) {
        explain(whyNot, "the old text could not be removed");
        return -1;
    }
    if (!knownLine && removedCount > 0) {
        const RecordGeometry geometry = MeasureRecord(removed);
        direction = WritingDirection(geometry);
        size = geometry.size;
        old = describeRemovedText(removed, pageHeight, left, top, width, height);
    }
    if (old.placed) {
        size = old.placement.size;
    }
    // Each font of the chain showed the text above; one of the old text's look shows it too,
    // else the regular look does.
    if (!selectFontLike(pdf, old, size, replace)) {
        pdfEndPage(pdf);
        explain(whyNot, "the fallback font cannot be loaded");
        return -1;
    }
    pdfSetFillColor(pdf, 0xFFFFFF);
    bool drawn = pdfRectangle(pdf, left, top, width, height, 3) == 1;
    pdfSetFillColor(pdf, 0);
    // The room the new text may take: the old text's width (the rule's where none stood).
    const double ruleRoom = direction % 180 == 0 ? width : height;
    if (old.placed) {
        drawn = drawn &&
                pdfWriteTextOnBaselineA(pdf, old.placement.x, old.placement.y, old.placement.angle,
                                        old.placement.room, replace.c_str()) == 1;
    } else if (direction == 0) {
        drawn = drawn && pdfWriteTextA(pdf, left, top, replace.c_str(), ruleRoom) == 1;
    } else {
        drawn = drawn && pdfWriteTurnedTextA(pdf, left, top, width, height, direction,
                                             replace.c_str(), ruleRoom) == 1;
    }
    // The old text is gone from the content by now: a new text that is not drawn, or a page that
    // is not written, would lose it, so the run must not go on to write the document.
    if (!drawn) {
        explain(whyNot, "the new text could not be written");
        return -1;
    }
    if (writtenIn != nullptr) {
        pdfGetWritingFonts(pdf, replace.c_str(), writtenIn);
    }
    return 1;
}

int ApplyTextRule(EditContext& context, int page, int left, int top, int width, int height,
                  const std::string& findText, const std::string& replace, RuleResult* result) {
    PDF* pdf = context.document.get();
    // The page's text reads ligatures as their letters; so does the find text.
    const std::string find = pdfSpellOutLigatures(findText);
    RuleResult outcome;
    // A form field's value is drawn above the page: a field that shows the find text within
    // the rule's area takes the rule before the page's own text on its line does.
    bool isField = false;
    int changed = ApplyFormFieldRule(pdf, page, left, top, width, height, find, replace, true,
                                     outcome, isField);
    if (isField) {
        if (result != nullptr) *result = std::move(outcome);
        return changed;
    }
    std::string whyNotInFont;
    TextAtRule found;
    changed = ReplaceMatchingText(pdf, page, left, top, width, height, find, replace, &whyNotInFont,
                                  &found);
    if (changed < 0) {
        outcome.reason = whyNotInFont;
    } else if (changed == 1) {
        outcome.outcome = RuleOutcome::OwnFont;
    } else {
        // Where a field's widget overlaps the area with the find text in its value, the field
        // takes the rule: a fallback written into the page there would stay hidden under it.
        changed = ApplyFormFieldRule(pdf, page, left, top, width, height, find, replace, false,
                                     outcome, isField);
        if (!isField) {
            std::string whyNotOverwritten;
            std::string writtenIn;
            changed = OverwriteRuleArea(pdf, page, left, top, width, height, replace,
                                        &whyNotOverwritten, &found, &writtenIn);
            if (changed == 1) {
                outcome.outcome = RuleOutcome::FallbackFont;
                outcome.reason = whyNotInFont;
                outcome.writtenIn = writtenIn;
            } else if (changed < 0) {
                outcome.reason = whyNotOverwritten;
            } else if (whyNotOverwritten == whyNotInFont) {
                outcome.reason = whyNotOverwritten;
            } else {
                outcome.reason = whyNotInFont + "; " + whyNotOverwritten;
            }
        }
    }
    if (result != nullptr) {
        *result = std::move(outcome);
    }
    return changed;
}
