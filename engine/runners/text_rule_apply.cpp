#include "runners/text_rule_apply.h"

#include <cstdio>
#include <vector>

#include "runners/text_record_match.h"
#include "runners/text_rules_runner.h"

namespace {

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
    std::vector<size_t> occurrences;  // every one, byte offsets into record.text
    std::vector<size_t> atPlace;      // those whose glyphs lie at the rule's place
};

// The records of the open page that stand at the rule's place and hold `find`, each with the
// occurrences that stood at the rule's place on the page the rule was written against.
// `onPage` tells whether any record holds `find`.
std::vector<MatchedRecord> matchRecords(PDF* pdf, TPDFStack& record, int left, int top, int width,
                                        int height, const std::string& find, bool& onPage) {
    const double pageHeight = pdfGetPageHeight(pdf);
    std::vector<MatchedRecord> matches;
    while (pdfGetPageText(pdf, &record) == 1) {
        if (record.text.find(find) == std::string::npos) {
            continue;
        }
        onPage = true;
        const RecordGeometry geometry = MeasureRecord(record);
        if (!RecordMatchesRule(geometry, pageHeight, top, width, height)) {
            continue;
        }
        MatchedRecord match{record, FindOccurrences(record.text, find), {}};
        for (size_t offset : match.occurrences) {
            double box[4];
            if (pdfGetTextBox(pdf, &record, offset, offset + find.size(), 1, box) == 1 &&
                OccurrenceAtRule(geometry, box, left, top, width, height)) {
                match.atPlace.push_back(offset);
            }
        }
        matches.push_back(std::move(match));
    }
    return matches;
}

}  // namespace

int ReplaceMatchingText(PDF* pdf, int page, int left, int top, int width, int height,
                        const std::string& find, const std::string& replace, std::string* whyNot) {
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
    std::string missingGlyph;
    if (pdfInitStack(pdf, &record) == 1) {
        std::vector<MatchedRecord> matches =
            matchRecords(pdf, record, left, top, width, height, find, onPage);
        bool anyAtPlace = false;
        for (const MatchedRecord& match : matches) {
            anyAtPlace = anyAtPlace || !match.atPlace.empty();
        }
        // The occurrences the rule points at; a rule that points at none changes every one.
        for (MatchedRecord& match : matches) {
            const std::vector<size_t>& offsets = anyAtPlace ? match.atPlace : match.occurrences;
            if (offsets.empty()) {
                continue;
            }
            std::printf("strtext is :%s\n", match.record.text.c_str());
            const std::string newText =
                ReplaceOccurrences(match.record.text, find, replace, offsets);
            // A record whose font cannot show the new text stays as it is.
            if (pdfReplacePageTextA(pdf, newText.c_str(), &match.record) == 1) {
                replaced = 1;
                continue;
            }
            std::string character;
            std::string fontName;
            if (missingGlyph.empty() && pdfGetMissingGlyph(pdf, &match.record, newText.c_str(),
                                                           &character, &fontName) == 1) {
                missingGlyph = MissingGlyphReason(fontName, character);
            }
        }
        if (replaced != 0) {
            pdfFlushPageContent(pdf, &record);
        }
    }
    pdfEndPage(pdf);
    if (replaced == 0) {
        if (!missingGlyph.empty()) {
            explain(whyNot, missingGlyph);
        } else {
            explain(whyNot, onPage ? "the find text is not at this place"
                                   : "the find text is not on the page");
        }
    }
    return replaced;
}

int OverwriteRuleArea(PDF* pdf, int page, int left, int top, int width, int height,
                      const std::string& replace, std::string* whyNot) {
    if (page < 1 || page > pdfGetPageCount(pdf) || pdfEditPage(pdf, page) != 1) {
        explain(whyNot, MissingPageReason(page));
        return 0;
    }
    // The font comes first, and it must show the whole text: without it the page is left as it
    // was, rather than losing its old text and showing a part of the new one or nothing.
    if (pdfSetFontA(pdf, "Arial", 0, height, 1, 2) != 1) {
        pdfEndPage(pdf);
        explain(whyNot, "the fallback font cannot be loaded");
        return 0;
    }
    std::string character;
    if (pdfGetMissingGlyph(pdf, nullptr, replace.c_str(), &character, nullptr) == 1) {
        pdfEndPage(pdf);
        explain(whyNot, MissingGlyphReason(std::string(), character));
        return 0;
    }
    // The old text goes from the content, not only out of sight.
    pdfRemoveTextInArea(pdf, left, top, width, height);
    pdfSetFillColor(pdf, 0xFFFFFF);
    pdfRectangle(pdf, left, top, width, height, 3);
    pdfSetFillColor(pdf, 0);
    pdfWriteTextA(pdf, left, top, replace.c_str());
    pdfEndPage(pdf);
    return 1;
}

int ApplyTextRule(EditContext& context, int page, int left, int top, int width, int height,
                  const std::string& find, const std::string& replace, RuleResult* result) {
    PDF* pdf = context.document.get();
    RuleResult outcome;
    std::string whyNotInFont;
    int changed =
        ReplaceMatchingText(pdf, page, left, top, width, height, find, replace, &whyNotInFont);
    if (changed == 1) {
        outcome.outcome = RuleOutcome::OwnFont;
    } else {
        std::string whyNotOverwritten;
        changed =
            OverwriteRuleArea(pdf, page, left, top, width, height, replace, &whyNotOverwritten);
        if (changed == 1) {
            outcome.outcome = RuleOutcome::FallbackFont;
            outcome.reason = whyNotInFont;
        } else if (whyNotOverwritten == whyNotInFont) {
            outcome.reason = whyNotOverwritten;
        } else {
            outcome.reason = whyNotInFont + "; " + whyNotOverwritten;
        }
    }
    if (result != nullptr) {
        *result = std::move(outcome);
    }
    return changed;
}
