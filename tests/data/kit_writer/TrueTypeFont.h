#pragma once

#include <map>
#include <memory>
#include <string>

#include "KitDocument.h"

// Code -> glyph name replacements applied on top of WinAnsiEncoding.
using Differences = std::map<int, std::string>;

// A TrueType font file embedded whole (not subset) as a simple font with
// WinAnsiEncoding, optionally changed by /Differences. Widths and descriptor
// values are read from the font program itself.
class TrueTypeFont {
  public:
    explicit TrueTypeFont(const std::string& path);
    ~TrueTypeFont();
    TrueTypeFont(const TrueTypeFont&) = delete;
    TrueTypeFont& operator=(const TrueTypeFont&) = delete;

    // Builds the font dictionary (with descriptor and FontFile2) in the document.
    QPDFObjectHandle embed(KitDocument& document, const Differences& differences = {}) const;

  private:
    struct Face;

    int widthOfCode(int code, const Differences& differences) const;
    int toThousandths(long fontUnits) const;

    std::string path_;
    std::unique_ptr<Face> face_;
};
