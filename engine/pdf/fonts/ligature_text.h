#pragma once

#include <string>
#include <string_view>

namespace relettra::pdf {

// `utf8` with every ligature character (U+FB00 ff to U+FB06 st) spelled out in its letters.
// Producers map a ligature glyph to such a character (or name it "fi", which reads as one);
// readers and rule files spell the word out.
std::string spellOutLigatures(std::string utf8);

// Whether `utf8` holds a ligature character: the cheap test before spellOutLigatures.
inline bool hasLigature(std::string_view utf8) {
    return utf8.find("\xEF\xAC") != std::string_view::npos;
}

}  // namespace relettra::pdf
