#pragma once

#include <string>

// An ordinary text document of the given number of pages: about 40 lines of
// Helvetica text per page, one font and one resource dictionary shared by all
// pages, content streams Flate-compressed. A non-empty keyword stands as a whole
// word on the last line of every page.
void writeBulk(const std::string& path, int pageCount, const std::string& keyword);
