#pragma once
// CMaps as they occur in PDF files: /ToUnicode maps (codespaces, bfchar, bfrange) and
// embedded /Encoding CMaps of composite fonts (codespaces, cidchar, cidrange, WMode), and the
// predefined CMap files that a usecmap line or a font's /Encoding name refers to.

#include <cstdint>
#include <functional>
#include <memory>
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

    // CID of a code by cidchar/cidrange (or identity), then by the CMap this one uses;
    // nullopt when unmapped.
    std::optional<std::uint32_t> cidFor(std::uint32_t code) const;

    // Every (code, CID) pair of the cid sections, this CMap's own first, then those of the CMap
    // it uses (a code may come twice; the first pair is the one cidFor gives). Ranges are
    // expanded up to a total of about a million codes; an identity map gives none.
    void forEachCid(const std::function<void(std::uint32_t, std::uint32_t)>& fn) const;

    // Makes `used` the CMap this one builds on (its usecmap): codes this one does not map are
    // looked up there, and its codespaces serve when this one declares none.
    void use(std::shared_ptr<const CMap> used);

    const std::vector<CodespaceRange>& codespaces() const { return codespaces_; }
    bool isVertical() const { return wMode_ == 1; }
    void setVertical(bool vertical) { wMode_ = vertical ? 1 : 0; }
    bool hasCidMappings() const {
        return !cidSingles_.empty() || !cidRanges_.empty() || (used_ && used_->hasCidMappings());
    }
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
    std::optional<std::uint32_t> ownCidFor(std::uint32_t code) const;
    void forEachCid(const std::function<void(std::uint32_t, std::uint32_t)>& fn,
                    std::size_t& budget) const;

    std::vector<CodespaceRange> codespaces_;
    std::unordered_map<std::uint32_t, std::string> bfSingles_;  // code -> UTF-8
    std::vector<BfRange> bfRanges_;                             // sorted by low
    std::unordered_map<std::uint32_t, std::uint32_t> cidSingles_;
    std::vector<CidRange> cidRanges_;  // sorted by low
    int wMode_ = 0;
    bool identity_ = false;
    std::string useCMap_;
    std::shared_ptr<const CMap> used_;
};

}  // namespace relettra::pdf
