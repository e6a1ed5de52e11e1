#pragma once

#include <string>
#include <vector>

#include "pdf/basics/text_look.h"

namespace relettra::pdf {

// One family of fonts that the fallback chain may write in, with the files of its Debian
// package: `regular`, `bold`, `italic`, `boldItalic` are file names in `folder` (empty where the
// family has no such style).
struct FontFamilyFiles {
    std::string family;  // as fontconfig names it: "Liberation Serif", "Noto Sans Thai"
    std::string folder;
    std::string regular;
    std::string bold;
    std::string italic;
    std::string boldItalic;
    std::string package;  // the Debian package that installs it
};

// The styles of a family to try for a look, best first: the look's own (bold italic, say), then
// without italics, then without bold, then regular; only those the family has.
std::vector<std::string> filesForLook(const FontFamilyFiles& family, const TextLook& look);

// The metric-compatible family of the look (fonts-liberation2): Liberation Sans (Arial,
// Helvetica), Liberation Serif (Times), Liberation Mono (Courier).
FontFamilyFiles metricCompatibleFamily(LetterForm form);

// DejaVu's family of the look: DejaVu Sans, DejaVu Serif, DejaVu Sans Mono (fonts-dejavu-core,
// the italics in fonts-dejavu-extra).
FontFamilyFiles dejaVuFamily(LetterForm form);

// The family written for a character of a script that the families above lack, chosen by the
// Unicode block it lies in: Noto's family of the script (fonts-noto-core), its serif form for
// a serif look where Noto has one (and the other form where it has only one), Nanum for Hangul
// (fonts-nanum: NanumGothic, NanumMyeongjo, NanumGothicCoding). False for a character of no
// listed block.
bool scriptFamilyFor(char32_t c, LetterForm form, FontFamilyFiles& family);

// The families tried last, for every look, in order: DejaVu Sans (its many symbols), Droid
// Sans Fallback (Chinese, Japanese; fonts-droid-fallback), Noto Sans Symbols 2, Noto Sans
// Symbols and Noto Sans Math (fonts-noto-core).
const std::vector<FontFamilyFiles>& lastResortFamilies();

}  // namespace relettra::pdf
