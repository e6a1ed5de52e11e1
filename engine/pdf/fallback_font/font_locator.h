#pragma once

#include <filesystem>

namespace relettra::pdf {

// The Liberation Sans Regular font file, the fallback font for text the page's own font cannot
// show (metric-compatible with Arial).
//
// Order of search:
// 1. The environment variable RELETTRA_FALLBACK_FONT, when set and not empty: its value is
//    returned as it stands, even if no file is there, so that loading reports that file.
// 2. fontconfig (where available): the best match for "Liberation Sans" regular, accepted only
//    when its family really is Liberation Sans, upright, regular weight, and the file exists.
// 3. The Debian package paths of fonts-liberation2 and fonts-liberation.
// Steps 2 and 3 run once per process and their answer is kept. An empty path when none of them
// gives a file. Never throws.
std::filesystem::path locateFallbackFontFile();

}  // namespace relettra::pdf
