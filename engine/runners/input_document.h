#pragma once

#include <string>

#include "pdf/pdf_api.h"

// The one way the runners open their input: a new document with the engine's error callback and
// top-down page coordinates, the input's pages imported, its output going to `outputPath`
// (null or empty: given later with pdfOpenOutputFileA). Null when the input cannot be opened:
// not a regular file (reported here, before the PDF layer would read a device for ever), not a
// PDF, needs an open password, or its permissions forbid changes (reported by the PDF layer).
PdfHandle OpenInputDocument(const std::string& inputPath, const char* outputPath);
