#pragma once

#include <string>
#include <vector>

#include "word_box.h"

// One word of the text layer: its text (UTF-8) and its rule box.
struct LayerWord {
    std::string text;
    RuleBox box;
};

// The text layer of a page (UTF-8). First one line per word, nothing before the first:
//   <span class="w" style="left:L;top:T;width:W;height:H">WORD</span>
// then a short HTML frame that lays the words over the page image `imageFileName` (left out
// when empty) so the file also opens in a browser. In WORD "&", "<" and ">" are escaped and
// control characters dropped; a word left empty is not written. The front end stops reading
// words at the first line whose left and top both read 0, so no word line has both at 0 and
// every frame line reads as 0 and 0.
std::string formatTextLayer(const std::vector<LayerWord>& words, const std::string& imageFileName);

// A word's text as written in the layer: "&", "<", ">" escaped, control characters (C0, DEL,
// C1) dropped.
std::string escapeWordText(const std::string& utf8);
