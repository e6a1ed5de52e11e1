#include "pdf/fallback_font/font_locator.h"

#include <cstdlib>
#include <map>
#include <string>
#include <system_error>

#ifdef RELETTRA_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace relettra::pdf {

namespace {

constexpr const char* kFamily = "Liberation Sans";

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

// fontconfig always answers with some font; only a real font of the family in the style asked
// for counts: regular (or book) or bold (semibold to black), upright or not.
std::filesystem::path matchWithFontconfig(const FcConfigHolder& holder, const char* family,
                                          bool bold = false, bool italic = false) {
    if (!holder.config) {
        return {};
    }
    FcPatternHolder query{FcPatternCreate()};
    if (!query.pattern) {
        return {};
    }
    FcPatternAddString(query.pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(query.pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(query.pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
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
    const bool weightFits = bold ? weight >= FC_WEIGHT_DEMIBOLD
                                 : weight >= FC_WEIGHT_BOOK && weight <= FC_WEIGHT_REGULAR;
    const bool slantFits = italic ? slant != FC_SLANT_ROMAN : slant == FC_SLANT_ROMAN;
    if (!weightFits || !slantFits) {
        return {};
    }
    const std::filesystem::path path = std::filesystem::u8path(reinterpret_cast<const char*>(file));
    return isRegularFile(path) ? path : std::filesystem::path();
}

// fontconfig's configuration, loaded once when first needed (loading is the slow part).
const FcConfigHolder& sharedFontconfig() {
    static const FcConfigHolder holder;
    return holder;
}
#endif

// Debian's paths first, then fontconfig: loading fontconfig's configuration and caches takes
// tens of milliseconds, more than most runs need for everything else.
std::filesystem::path searchSystem() {
    for (const char* candidate :
         {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
          "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"}) {
        const std::filesystem::path path(candidate);
        if (isRegularFile(path)) {
            return path;
        }
    }
#ifdef RELETTRA_HAVE_FONTCONFIG
    if (auto found = matchWithFontconfig(sharedFontconfig(), kFamily); !found.empty()) {
        return found;
    }
#endif
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

std::optional<std::vector<ChainFontFile>> fallbackChainFromEnvironment() {
    try {
        if (const char* fromEnvironment = std::getenv("RELETTRA_FALLBACK_CHAIN");
            fromEnvironment != nullptr) {
            return chainFromList(fromEnvironment);
        }
    } catch (...) {
        // A list that cannot be read names no font: the chain holds its first font only.
        return std::vector<ChainFontFile>();
    }
    return std::nullopt;
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

std::filesystem::path locateFamilyFile(const FontFamilyFiles& family, const TextLook& look) {
    try {
        // The installed fonts do not change during a run: each file is searched once.
        static std::map<std::string, std::filesystem::path> found;
        const std::string key =
            family.family + (look.bold ? "|bold" : "|") + (look.italic ? "|italic" : "|");
        if (const auto known = found.find(key); known != found.end()) {
            return known->second;
        }
        std::filesystem::path file;
        for (const std::string& name : filesForLook(family, look)) {
            const std::filesystem::path path = std::filesystem::u8path(family.folder) / name;
            if (isRegularFile(path)) {
                file = path;
                break;
            }
        }
#ifdef RELETTRA_HAVE_FONTCONFIG
        // Elsewhere than in Debian's folders, fontconfig may know the family.
        for (const bool bold : {look.bold, false}) {
            for (const bool italic : {look.italic, false}) {
                if (file.empty()) {
                    file = matchWithFontconfig(sharedFontconfig(), family.family.c_str(), bold,
                                               italic);
                }
            }
        }
#endif
        found.emplace(key, file);
        return file;
    } catch (...) {
        // A font that cannot be looked up is a font that is not there.
    }
    return {};
}

std::filesystem::path locateFallbackFontFile(const TextLook& look) {
    if (look == TextLook{}) {
        return locateFallbackFontFile();
    }
    if (const char* fromEnvironment = std::getenv("RELETTRA_FALLBACK_FONT");
        fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return std::filesystem::u8path(fromEnvironment);
    }
    return locateFamilyFile(metricCompatibleFamily(look.form), look);
}

}  // namespace relettra::pdf
