#include "pdf/fonts/cid_data.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <system_error>

#include "pdf/fonts/cmap_parser.h"

namespace relettra::pdf {

namespace fs = std::filesystem;

namespace {

constexpr const char* kEnvironmentVariable = "RELETTRA_CID_DATA";
constexpr const char* kPackageHint = "package poppler-data";
constexpr int kMostUsedCMaps = 8;  // a usecmap chain longer than this is broken

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool isFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

fs::path searchSystem() {
    for (const char* candidate : {"/usr/share/poppler", "/usr/local/share/poppler"}) {
        if (isFolder(fs::path(candidate) / "cMap")) return candidate;
    }
    return {};
}

bool readWholeFile(const fs::path& file, std::string& text) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// A name that can stand for a file in the data folder: no path, nothing hidden.
bool isPlainFileName(const std::string& name) {
    if (name.empty() || name.size() > 64 || name[0] == '.') return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_' || c == '.';
    });
}

std::string missingFileMessage(const fs::path& file) {
    if (file.empty()) {
        return std::string("no folder of CID data found (") + kPackageHint + ", or set " +
               kEnvironmentVariable + ")";
    }
    return "cannot read " + file.u8string() + " (" + kPackageHint + ")";
}

// One value per line, hexadecimal; a line that is no number counts as no character.
std::vector<char32_t> parseCidTextTable(const std::string& text) {
    std::vector<char32_t> byCid;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        char32_t value = 0;
        bool valid = end > pos;
        for (std::size_t i = pos; i < end && valid; ++i) {
            const char c = text[i];
            if (c == '\r') break;
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            valid = digit >= 0 && value < 0x110000;
            value = value * 16 + static_cast<char32_t>(std::max(digit, 0));
        }
        byCid.push_back(valid && value < 0x110000 ? value : 0);
        pos = end + 1;
    }
    return byCid;
}

std::mutex gMutex;

}  // namespace

fs::path locateCidDataFolder() {
    try {
        if (const char* fromEnvironment = std::getenv(kEnvironmentVariable);
            fromEnvironment != nullptr && *fromEnvironment != '\0') {
            return fs::u8path(fromEnvironment);
        }
        static const fs::path found = searchSystem();
        return found;
    } catch (...) {
        // A path that cannot be built is a folder that cannot be found.
    }
    return {};
}

bool hasCidTextTable(const std::string& collection) {
    return collection == "Adobe-Japan1" || collection == "Adobe-GB1" ||
           collection == "Adobe-CNS1" || collection == "Adobe-Korea1";
}

std::shared_ptr<const CidTextTable> cidTextTable(const std::string& collection,
                                                 std::string& problem) {
    if (!hasCidTextTable(collection)) return nullptr;
    try {
        const fs::path folder = locateCidDataFolder();
        const fs::path file = folder.empty() ? fs::path() : folder / "cidToUnicode" / collection;
        std::lock_guard<std::mutex> lock(gMutex);
        static std::map<fs::path, std::shared_ptr<const CidTextTable>> tables;
        const auto known = tables.find(file);
        if (known != tables.end()) {
            if (!known->second) problem = missingFileMessage(file);
            return known->second;
        }
        std::string text;
        std::shared_ptr<const CidTextTable> table;
        if (!file.empty() && readWholeFile(file, text)) {
            table = std::make_shared<const CidTextTable>(parseCidTextTable(text));
        } else {
            problem = missingFileMessage(file);
        }
        tables.emplace(file, table);
        return table;
    } catch (const std::exception&) {
        problem = "cannot read the CID data of " + collection;
        return nullptr;
    }
}

namespace {

// The CMap file `name` in `collection`'s folder, else in the first other folder that has it.
fs::path findCMapFile(const fs::path& cmapFolder, const std::string& name,
                      const std::string& collection, std::string& foundIn) {
    if (isPlainFileName(collection) && isFile(cmapFolder / collection / name)) {
        foundIn = collection;
        return cmapFolder / collection / name;
    }
    std::vector<fs::path> folders;
    std::error_code ec;
    for (fs::directory_iterator it(cmapFolder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec)) folders.push_back(it->path());
    }
    std::sort(folders.begin(), folders.end());
    for (const fs::path& folder : folders) {
        if (isFile(folder / name)) {
            foundIn = folder.filename().u8string();
            return folder / name;
        }
    }
    return {};
}

// Parses a CMap file and the CMaps it uses; callers hold gMutex.
std::shared_ptr<const CMap> loadCMapChain(const fs::path& cmapFolder, const std::string& name,
                                          const std::string& collection, int depth,
                                          std::string& foundIn, std::string& problem) {
    const fs::path file = findCMapFile(cmapFolder, name, collection, foundIn);
    std::string text;
    if (file.empty() || !readWholeFile(file, text)) {
        problem = "the CMap " + name + " is not installed: no file " +
                  (cmapFolder / (collection.empty() ? "*" : collection) / name).u8string() + " (" +
                  kPackageHint + ")";
        return nullptr;
    }
    auto cmap = std::make_shared<CMap>(CMap::parse(text));
    const std::string& used = cmap->useCMap();
    if (!used.empty() && !cmap->isIdentity()) {
        std::string usedIn;
        if (depth >= kMostUsedCMaps || !isPlainFileName(used)) {
            problem = "the CMap " + name + " builds on a CMap that cannot be read: " + used;
            return nullptr;
        }
        auto base = loadCMapChain(cmapFolder, used, foundIn, depth + 1, usedIn, problem);
        if (!base) return nullptr;
        cmap->use(std::move(base));
    }
    return cmap;
}

}  // namespace

PredefinedCMap predefinedCMap(const std::string& name, const std::string& collection,
                              std::string& problem) {
    if (!isPlainFileName(name)) return {};
    try {
        const fs::path folder = locateCidDataFolder();
        if (folder.empty()) {
            problem = "the CMap " + name + " cannot be read: " + missingFileMessage({});
            return {};
        }
        const fs::path cmapFolder = folder / "cMap";
        std::lock_guard<std::mutex> lock(gMutex);
        struct Entry {
            PredefinedCMap result;
            std::string problem;
        };
        static std::map<std::pair<fs::path, std::string>, Entry> loaded;
        const auto key = std::make_pair(cmapFolder, name);
        auto known = loaded.find(key);
        if (known == loaded.end()) {
            Entry entry;
            entry.result.cmap = loadCMapChain(cmapFolder, name, collection, 0,
                                              entry.result.collection, entry.problem);
            known = loaded.emplace(key, std::move(entry)).first;
        }
        problem = known->second.problem;
        return known->second.result;
    } catch (const std::exception&) {
        problem = "the CMap " + name + " cannot be read";
        return {};
    }
}

}  // namespace relettra::pdf
