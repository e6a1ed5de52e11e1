#pragma once

#include <string>
#include <vector>

#include "marqel/marqel.h"

// Where the keyword stands on a page: x from the left edge, top from the upper edge (points,
// the displayed page).
struct KeywordHit {
    int page = 0;
    double x = 0;
    double top = 0;
};

// Searches every page; returns the number of hits, or -2 (empty input path), -1 (empty
// keyword), -3 (input not openable), -4 (keyword not convertible), -6 (engine failure).
int FindKeywordHits(const std::string& inputPath, const std::string& keyword,
                    std::vector<KeywordHit>& hits);

// Writes the output with the image at every hit; returns the number of hits, 0 for none,
// -1 (empty input path or keyword, no image), -2 (input missing, or the image cannot be drawn:
// nothing written), -3 (input not openable), -5 (output not written), -6 (engine failure).
int StampImageAtHits(const std::string& inputPath, const std::string& outputPath,
                     const std::string& keyword, const char* imageBytes, int imageLength,
                     double width, double height, const std::string& ownerPassword,
                     const std::vector<KeywordHit>& hits);

// UTF-8 to UTF-16; false for malformed text.
bool KeywordToUtf16(const std::string& keyword, std::u16string& out);
