#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "pdf/basics/text_look.h"
#include "pdf/fallback_font/font_families.h"

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

// The first font of the fallback chain for text of the given look: the file
// RELETTRA_FALLBACK_FONT names when set (for every look), else the look's style of Liberation
// Sans, Serif or Mono (see locateFamilyFile). The regular sans-serif look is
// locateFallbackFontFile(). Empty when none is found. Never throws.
std::filesystem::path locateFallbackFontFile(const TextLook& look);

// The file of a family for a look: the first of filesForLook() that is in the family's Debian
// folder, else what fontconfig (where available) gives for the family in that style, or with
// less of it (no italics, then regular). Each answer is kept for the process. Empty when the
// family is not installed. Never throws.
std::filesystem::path locateFamilyFile(const FontFamilyFiles& family, const TextLook& look);

// A font of the fallback chain after its first, named by the environment: its name and file.
struct ChainFontFile {
    std::string family;
    std::filesystem::path file;
};

// The fonts that RELETTRA_FALLBACK_CHAIN names, when it is set: font files separated by the
// platform's path-list separator (':' or ';'), each taken as it stands and named by its file
// name. They then follow the first font for every look, in place of the families of
// font_families.h. None when the variable is not set. Never throws.
std::optional<std::vector<ChainFontFile>> fallbackChainFromEnvironment();

}  // namespace relettra::pdf
