#pragma once

#include <string>

// Documents whose pages, page boxes or shared objects are the point of the test.

// Three pages with a keyword on each, a second occurrence, a keyword split over
// two strings and two baselines with exactly known gaps.
void writeMultipage(const std::string& path);
// One page with /Rotate set to the given angle.
void writeRotatedPage(const std::string& path, int rotate, const std::string& marker);
// Page boxes that do not start at the origin, one page with a smaller CropBox.
void writeOffsetMediaBox(const std::string& path);
// One form XObject drawn by two pages, plus text directly on each page.
void writeFormXObject(const std::string& path);
