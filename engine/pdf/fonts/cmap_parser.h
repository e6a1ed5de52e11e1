#pragma once
// CMaps as they occur in PDF files: /ToUnicode maps (codespaces, bfchar, bfrange) and
// embedded /Encoding CMaps of composite fonts (codespaces, cidchar, cidrange, WMode).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace relettra::pdf {

// A codespace range: codes of `length` bytes whose every byte lies within the bounds of the
// corresponding bytes of low and high.
struct CodespaceRange {
    int length = 1;
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    bool contains(const unsigned char* bytes, int count) const;
};

class CMap {
  public:
    // Parses CMap text. Never throws; whatever could be read is kept.
    static CMap parse(const std::string& text);

    // The 2-byte identity map (Identity-H / Identity-V).
    static CMap identity(bool vertical);

    // Length in bytes (1..4) of the code that starts at bytes[pos] under this codespace.
    // Falls back to the shortest codespace (or `fallback` when none is declared).
    int codeLength(const std::string& bytes, std::size_t pos, int fallback) const;

    // Unicode text (UTF-8) mapped to a code by bfchar/bfrange, "" when none.
    std::string unicodeFor(std::uint32_t code) const;
    bool hasUnicodeMappings() const { return !bfSingles_.empty() || !bfRanges_.empty(); }

    // Every (code, Unicode text) pair the bf sections define; ranges are expanded (up to a
    // total of about a million codes).
    void forEachUnicode(const std::function<void(std::uint32_t, const std::string&)>& fn) const;

    // CID of a code by cidchar/cidrange (or identity), nullopt when unmapped.
    std::optional<std::uint32_t> cidFor(std::uint32_t code) const;

    const std::vector<CodespaceRange>& codespaces() const { return codespaces_; }
    bool isVertical() const { return wMode_ == 1; }
    void setVertical(bool vertical) { wMode_ = vertical ? 1 : 0; }
    bool hasCidMappings() const { return !cidSingles_.empty() || !cidRanges_.empty(); }
    bool isIdentity() const { return identity_; }
    const std::string& useCMap() const { return useCMap_; }

  private:
    struct BfRange {
        std::uint32_t low;
        std::uint32_t high;
        std::string firstUtf16;  // UTF-16BE of `low`; later codes increment the last unit
    };
    struct CidRange {
        std::uint32_t low;
        std::uint32_t high;
        std::uint32_t cid;
    };
    static std::string rangeUnicode(const BfRange& range, std::uint32_t code);
    void finish();

    std::vector<CodespaceRange> codespaces_;
    std::unordered_map<std::uint32_t, std::string> bfSingles_;  // code -> UTF-8
    std::vector<BfRange> bfRanges_;                             // sorted by low
    std::unordered_map<std::uint32_t, std::uint32_t> cidSingles_;
    std::vector<CidRange> cidRanges_;  // sorted by low
    int wMode_ = 0;
    bool identity_ = false;
    std::string useCMap_;
};

}  // namespace relettra::pdf
