#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace relettra::pdf {

// The Liberation Sans Regular font file, the first font of the fallback chain for text the
// page's own font cannot show (metric-compatible with Arial).
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

// A font of the fallback chain after its first: its family and where it was found (empty when
// not found).
struct ChainFontFile {
    std::string family;
    std::filesystem::path file;
};

// The fonts that follow Liberation Sans in the fallback chain, in order: DejaVu Sans (Greek,
// Cyrillic, Hebrew, Arabic and many symbols; package fonts-dejavu-core), then Droid Sans
// Fallback (Chinese, Japanese, Korean; package fonts-droid-fallback). Each is searched like
// Liberation Sans (fontconfig, then the Debian package paths). The environment variable
// RELETTRA_FALLBACK_CHAIN, when set, replaces the list: font files separated by the platform's
// path-list separator (':' or ';'), each taken as it stands. Never throws.
std::vector<ChainFontFile> locateFallbackChainFiles();

}  // namespace relettra::pdf
