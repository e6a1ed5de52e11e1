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
// Returns the number of pages stamped (0: the keyword is nowhere and no output is written), or
// (marqel/exit_codes.h): -1 (empty keyword, or an empty image once the keyword was found),
// -2 (empty input path, or an image that cannot be drawn), -3 (input cannot be opened:
// missing, not a PDF, needs an open password, changes not permitted), -4 (keyword not valid
// UTF-8), -5 (output not written), -6 (the engine failed: out of memory, internal error).
// Every failure leaves no output.
MARQEL_API int MarqelByKeyword(const char* inputPath, const char* outputPath, const char* keyword,
                               const char* imageBytes, int imageLength, double width, double height,
                               const char* ownerPassword);

// The engine's command line (see the README); returns the exit code (marqel/exit_codes.h).
// No exception leaves it: one that escapes a mode gives -6.
MARQEL_API int MarqelMain(int argc, const char* const* argv);

#ifdef __cplusplus
}
#endif
