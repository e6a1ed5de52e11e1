#pragma once
// Glyph widths of a CIDFont: the /W array (both forms) over the /DW default.

#include <cstdint>
#include <qpdf/QPDFObjectHandle.hh>
#include <vector>

namespace relettra::pdf {

class CidWidths {
  public:
    CidWidths() = default;
    // Reads /DW and /W of a CIDFont dictionary; malformed entries are skipped.
    explicit CidWidths(QPDFObjectHandle cidFont);

    // Width of a CID in 1/1000 em (/DW, 1000 by default, where /W says nothing).
    double width(std::uint32_t cid) const;

  private:
    struct Range {
        std::uint32_t first;
        std::uint32_t last;
        double width;
    };
    std::vector<Range> ranges_;  // sorted by first
    double defaultWidth_ = 1000;
};

}  // namespace relettra::pdf
