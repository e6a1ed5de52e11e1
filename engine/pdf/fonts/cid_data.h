#pragma once
// The data that composite fonts of the Chinese, Japanese and Korean character collections need
// when they carry no /ToUnicode map: each collection's CID-to-Unicode table and the predefined
// CMaps that a font's /Encoding may name, as Debian's poppler-data installs them
// (<folder>/cidToUnicode/<collection>, <folder>/cMap/<collection>/<CMap name>).
//
// The folder is searched like the fallback font: the environment variable RELETTRA_CID_DATA
// when set and not empty (its value as it stands, so that a wrong setting is reported), else
// /usr/share/poppler and /usr/local/share/poppler. Files are read on first use and kept for the
// process; every function is safe to call from several threads and never throws.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace relettra::pdf {

class CMap;

// The folder that holds cidToUnicode/ and cMap/; empty when none is found.
std::filesystem::path locateCidDataFolder();

// Whether a collection ("Adobe-Japan1") is one whose CIDs have a table of their text:
// Adobe-Japan1, Adobe-GB1, Adobe-CNS1, Adobe-Korea1.
bool hasCidTextTable(const std::string& collection);

// The characters of one collection's CIDs.
class CidTextTable {
  public:
    explicit CidTextTable(std::vector<char32_t> byCid) : byCid_(std::move(byCid)) {}
    // The character of a CID, 0 when it has none.
    char32_t characterOf(std::uint32_t cid) const { return cid < byCid_.size() ? byCid_[cid] : 0; }
    std::uint32_t size() const { return static_cast<std::uint32_t>(byCid_.size()); }

  private:
    std::vector<char32_t> byCid_;
};

// The table of a collection; null when the collection has none, or (with `problem` set to a
// message naming the file and the package) when its file is missing or unreadable.
std::shared_ptr<const CidTextTable> cidTextTable(const std::string& collection,
                                                 std::string& problem);

struct PredefinedCMap {
    std::shared_ptr<const CMap> cmap;  // null when it cannot be had
    std::string collection;            // the folder it was found in, "Adobe-Japan1"
};

// The predefined CMap `name` (its usecmap chain followed), looked up in the folder of
// `collection` first, then in every other collection's; `problem` says why it is null when the
// name is one a CMap file could have.
PredefinedCMap predefinedCMap(const std::string& name, const std::string& collection,
                              std::string& problem);

}  // namespace relettra::pdf
