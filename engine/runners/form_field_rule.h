#pragma once

#include <string>

#include "pdf/pdf_api.h"
#include "runners/rule_result.h"

// A rule whose place shows a text field's value: the value changes, and what the field's
// widgets show with it (see pdfReplaceFormFieldText). With `occurrenceInArea` only a field whose
// value shows the find text within the rule's area takes the rule (tried before the page's own
// text); without it, one whose widget overlaps the area does (tried once the page's own text
// held no occurrence at the place). Opens the rule's page, and closes it when a field took the
// rule. Returns what ApplyTextRule does (1 changed, 0 not, -1 when the document is not fit to be
// saved), or 0 with `handled` false (the page still open) when no field stands there.
int ApplyFormFieldRule(PDF* pdf, int page, int left, int top, int width, int height,
                       const std::string& find, const std::string& replace, bool occurrenceInArea,
                       RuleResult& result, bool& handled);

// Why a field change was not made, or why it was made in the fallback fonts.
std::string FormFieldReason(const TPDFFieldChange& change);
