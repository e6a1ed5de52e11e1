#include "pdf/fonts/ligature_text.h"

namespace relettra::pdf {

namespace {

// U+FB00 to U+FB06, encoded EF AC 80 to EF AC 86.
const char* const kLetters[] = {"ff", "fi", "fl", "ffi", "ffl", "\xC5\xBFt", "st"};

}  // namespace

std::string spellOutLigatures(std::string utf8) {
    if (!hasLigature(utf8)) return utf8;
    std::string out;
    out.reserve(utf8.size() + 4);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto third = i + 2 < utf8.size() ? static_cast<unsigned char>(utf8[i + 2]) : 0;
        if (utf8.compare(i, 2, "\xEF\xAC") == 0 && third >= 0x80 && third <= 0x86) {
            out += kLetters[third - 0x80];
            i += 2;
        } else {
            out.push_back(utf8[i]);
        }
    }
    return out;
}

}  // namespace relettra::pdf
