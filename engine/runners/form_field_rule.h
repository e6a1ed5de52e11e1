#pragma once

#include <string>

#include "pdf/pdf_api.h"
#include "runners/rule_result.h"

// A rule whose place shows a text field's value: the value changes, and what the field's
// widgets show with it (see pdfReplaceFormFieldText). Called on the open page once the find
// text was found nowhere in the page's own content at the place (`page` open, as
// ReplaceMatchingText leaves it); the page is closed after.
// Returns what ApplyTextRule does (1 changed, 0 not, -1 when the document is not fit to be
// saved), or nothing (`handled` false, the page still open) when no field stands there.
// With `occurrenceInArea` only a field whose value shows the find text within the rule's area
// takes the rule; without it, one whose widget overlaps the area does.
int ApplyFormFieldRule(PDF* pdf, int page, int left, int top, int width, int height,
                       const std::string& find, const std::string& replace, bool occurrenceInArea,
                       RuleResult& result, bool& handled);

// Why a field change was not made, or why it was made in the fallback fonts.
std::string FormFieldReason(const TPDFFieldChange& change);
