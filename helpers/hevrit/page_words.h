#pragma once

#include <string>
#include <vector>

#include "word_box.h"

namespace poppler {
class page;
}

// One word of a page as the PDF library's text reader finds it, in reading order.
struct PageWord {
    std::string text;  // UTF-8
    WordGeometry geometry;
};

std::vector<PageWord> readPageWords(const poppler::page& page);

// UTF-16 code units (as the library gives a word's text) in UTF-8.
std::string utf16ToUtf8(const std::basic_string<unsigned short>& text);
