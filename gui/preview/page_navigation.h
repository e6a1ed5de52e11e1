#pragma once

#include <QString>

// The picker's page counter: the spin box holds the page shown, the label beside it "/<count>".

// Whether the previous-page and next-page buttons can be used on `page` of `pageCount` pages.
struct PageButtonStates {
    bool previous = false;
    bool next = false;
};
PageButtonStates pageButtonStates(int page, int pageCount);

// "/5" for 5 pages.
QString pageCountLabel(int pageCount);

// The count the label shows: every "/" removed, the rest read as a decimal number; 0 when it is
// no number.
int pageCountFromLabel(const QString& label);

// The page count the main window passed in as text; 0 when it is no decimal number.
int pageCountFromText(const QString& text);
