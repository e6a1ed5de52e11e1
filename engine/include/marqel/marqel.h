#pragma once

// The engine's exported functions (shared library "marqel_engine").

#ifdef _WIN32
#define MARQEL_API __declspec(dllexport)
#else
#define MARQEL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Finds `keyword` (text in the system's narrow encoding, UTF-8 here) on every page of the PDF
// `inputPath` and writes `outputPath`: a copy with the image (the bytes of a JPEG, PNG, BMP or
// GIF file) stamped where the keyword stands, its upper-left corner at the keyword's left and
// top, at most once per page, `width` by `height` points. With a non-empty `ownerPassword` the
// output is encrypted (256-bit AES, no open password).
// Returns the number of stamps (0: the keyword is nowhere and no output is written), or
// -1 (empty input path, keyword or image), -2 (input missing), -3 (input not openable),
// -4 (keyword not convertible), -5 (output not written).
MARQEL_API int MarqelByKeyword(const char* inputPath, const char* outputPath, const char* keyword,
                               const char* imageBytes, int imageLength, double width, double height,
                               const char* ownerPassword);

// The engine's command line (see the README); returns the exit code.
MARQEL_API int MarqelMain(int argc, const char* const* argv);

#ifdef __cplusplus
}
#endif
