#pragma once

#include <string>

#include "output_names.h"

namespace poppler {
class page;
}

// Writes one page: its image (unless `textOnly`) and its text layer. On failure the page's
// files are removed (stale ones from an earlier run included; with `textOnly` only the text
// layer) and `reason` says why.
bool writePage(const poppler::page& page, const PageFiles& files, bool textOnly,
               std::string& reason);
