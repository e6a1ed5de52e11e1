#include "runners/text_rule_apply.h"

#include <cstdio>

#include "runners/text_record_match.h"
#include "runners/text_rules_runner.h"

int ReplaceMatchingText(PDF* pdf, int page, int, int top, int width, int height,
                        const std::string& find, const std::string& replace) {
    if (find.empty() || page < 1 || page > pdfGetPageCount(pdf) || pdfEditPage(pdf, page) != 1) {
        return 0;
    }
    const double pageHeight = pdfGetPageHeight(pdf);
    TPDFStack record;
    int replaced = 0;
    if (pdfInitStack(pdf, &record) == 1) {
        while (pdfGetPageText(pdf, &record) == 1) {
            if (record.text.find(find) == std::string::npos) {
                continue;
            }
            if (!RecordMatchesRule(MeasureRecord(record), pageHeight, top, width, height)) {
                continue;
            }
            std::printf("strtext is :%s\n", record.text.c_str());
            // A record whose font cannot show the new text stays as it is.
            if (pdfReplacePageTextA(pdf, ReplaceAll(record.text, find, replace).c_str(), &record) ==
                1) {
                replaced = 1;
            }
        }
        if (replaced != 0) {
            pdfFlushPageContent(pdf, &record);
        }
    }
    pdfEndPage(pdf);
    return replaced;
}

int OverwriteRuleArea(PDF* pdf, int page, int left, int top, int width, int height,
                      const std::string& replace) {
    if (page < 1 || page > pdfGetPageCount(pdf) || pdfEditPage(pdf, page) != 1) {
        return 0;
    }
    // The font comes first: without it the page is left as it was.
    if (pdfSetFontA(pdf, "Arial", 0, height, 1, 2) != 1) {
        pdfEndPage(pdf);
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
                  const std::string& find, const std::string& replace) {
    PDF* pdf = context.document.get();
    if (ReplaceMatchingText(pdf, page, left, top, width, height, find, replace) == 1) {
        return 1;
    }
    return OverwriteRuleArea(pdf, page, left, top, width, height, replace);
}
