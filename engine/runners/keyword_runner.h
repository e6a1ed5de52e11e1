#pragma once

// "-piall": finds `keyword` on every page and writes a copy of the document with the image
// stamped where the keyword stands, at most once per page. Returns the number of stamps, or a
// negative code (see exit_codes.h).
int MarqelByKeyword(const char* inputPath, const char* outputPath, const char* keyword,
                    const char* imageBytes, int imageLength, double width, double height,
                    const char* ownerPassword);
