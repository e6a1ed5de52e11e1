#include "pdf/fallback_font/font_locator.h"

#include <cstdlib>
#include <string>
#include <system_error>

#ifdef RELETTRA_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace relettra::pdf {

namespace {

constexpr const char* kFamily = "Liberation Sans";

// The fonts after Liberation Sans, with the files of their Debian packages.
struct ChainMember {
    const char* family;
    const char* debianFile;
};
constexpr ChainMember kChainMembers[] = {
    {"DejaVu Sans", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
    {"Droid Sans Fallback", "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf"},
};

#ifdef _WIN32
constexpr char kPathListSeparator = ';';
#else
constexpr char kPathListSeparator = ':';
#endif

bool isRegularFile(const std::filesystem::path& file) {
    std::error_code ec;
    return !file.empty() && std::filesystem::is_regular_file(file, ec);
}

#ifdef RELETTRA_HAVE_FONTCONFIG
struct FcConfigHolder {
    FcConfig* config = FcInitLoadConfigAndFonts();
    FcConfigHolder() = default;
    FcConfigHolder(const FcConfigHolder&) = delete;
    FcConfigHolder& operator=(const FcConfigHolder&) = delete;
    ~FcConfigHolder() {
        if (config) FcConfigDestroy(config);
    }
};
struct FcPatternHolder {
    FcPattern* pattern;
    ~FcPatternHolder() {
        if (pattern) FcPatternDestroy(pattern);
    }
};

bool hasFamily(FcPattern* pattern, const char* family) {
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(family)) == 0) {
            return true;
        }
    }
    return false;
}

// fontconfig always answers with some font; only a real regular (or book) upright font of the
// family counts.
std::filesystem::path matchWithFontconfig(const FcConfigHolder& holder, const char* family) {
    if (!holder.config) {
        return {};
    }
    FcPatternHolder query{FcPatternCreate()};
    if (!query.pattern) {
        return {};
    }
    FcPatternAddString(query.pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(query.pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(query.pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(holder.config, query.pattern, FcMatchPattern);
    FcDefaultSubstitute(query.pattern);
    FcResult result = FcResultNoMatch;
    FcPatternHolder match{FcFontMatch(holder.config, query.pattern, &result)};
    if (!match.pattern || result != FcResultMatch || !hasFamily(match.pattern, family)) {
        return {};
    }
    int weight = -1;
    int slant = -1;
    FcChar8* file = nullptr;
    if (FcPatternGetInteger(match.pattern, FC_WEIGHT, 0, &weight) != FcResultMatch ||
        FcPatternGetInteger(match.pattern, FC_SLANT, 0, &slant) != FcResultMatch ||
        FcPatternGetString(match.pattern, FC_FILE, 0, &file) != FcResultMatch) {
        return {};
    }
    if (weight < FC_WEIGHT_BOOK || weight > FC_WEIGHT_REGULAR || slant != FC_SLANT_ROMAN) {
        return {};
    }
    const std::filesystem::path path = std::filesystem::u8path(reinterpret_cast<const char*>(file));
    return isRegularFile(path) ? path : std::filesystem::path();
}
#endif

// fontconfig and the fixed paths; looking through fontconfig's caches takes tens of milliseconds.
std::filesystem::path searchSystem() {
#ifdef RELETTRA_HAVE_FONTCONFIG
    if (auto found = matchWithFontconfig(FcConfigHolder{}, kFamily); !found.empty()) {
        return found;
    }
#endif
    for (const char* candidate :
         {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
          "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"}) {
        const std::filesystem::path path(candidate);
        if (isRegularFile(path)) {
            return path;
        }
    }
#ifdef _WIN32
    if (const char* windows = std::getenv("WINDIR"); windows != nullptr && *windows != '\0') {
        const auto path = std::filesystem::path(windows) / "Fonts" / "LiberationSans-Regular.ttf";
        if (isRegularFile(path)) {
            return path;
        }
    }
#endif
    return {};
}

std::vector<ChainFontFile> searchChain() {
#ifdef RELETTRA_HAVE_FONTCONFIG
    const FcConfigHolder holder;  // loaded once for every member: loading is the slow part
#endif
    std::vector<ChainFontFile> chain;
    for (const ChainMember& member : kChainMembers) {
        std::filesystem::path found;
#ifdef RELETTRA_HAVE_FONTCONFIG
        found = matchWithFontconfig(holder, member.family);
#endif
        if (found.empty() && isRegularFile(member.debianFile)) {
            found = member.debianFile;
        }
        chain.push_back({member.family, found});
    }
    return chain;
}

// The files of RELETTRA_FALLBACK_CHAIN, each named by its file name.
std::vector<ChainFontFile> chainFromList(const std::string& list) {
    std::vector<ChainFontFile> chain;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(kPathListSeparator, start);
        if (end == std::string::npos) end = list.size();
        if (end > start) {
            const auto file = std::filesystem::u8path(list.substr(start, end - start));
            chain.push_back({file.filename().u8string(), file});
        }
        start = end + 1;
    }
    return chain;
}

}  // namespace

std::vector<ChainFontFile> locateFallbackChainFiles() {
    try {
        if (const char* fromEnvironment = std::getenv("RELETTRA_FALLBACK_CHAIN");
            fromEnvironment != nullptr) {
            return chainFromList(fromEnvironment);
        }
        // The installed fonts do not change during a run: search once.
        static const std::vector<ChainFontFile> found = searchChain();
        return found;
    } catch (...) {
        // Fonts that cannot be looked up are fonts that are not there.
    }
    return {};
}

std::filesystem::path locateFallbackFontFile() {
    try {
        if (const char* fromEnvironment = std::getenv("RELETTRA_FALLBACK_FONT");
            fromEnvironment != nullptr && *fromEnvironment != '\0') {
            return std::filesystem::u8path(fromEnvironment);
        }
        // The installed fonts do not change during a run: search once.
        static const std::filesystem::path found = searchSystem();
        return found;
    } catch (...) {
        // A path that cannot be built is a font that cannot be found.
    }
    return {};
}

}  // namespace relettra::pdf
