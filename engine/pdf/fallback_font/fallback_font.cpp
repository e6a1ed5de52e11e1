#include "pdf/fallback_font/fallback_font.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "pdf/basics/utf8.h"

namespace relettra::pdf {

FallbackFont::FallbackFont() = default;
FallbackFont::~FallbackFont() = default;
FallbackFont::FallbackFont(FallbackFont&&) noexcept = default;
FallbackFont& FallbackFont::operator=(FallbackFont&&) noexcept = default;

bool FallbackFont::load(const std::filesystem::path& file, std::string& error) {
    faces_.clear();
    faceByFile_.clear();
    faceByFamily_.clear();
    environmentChain_.reset();
    environmentRead_ = false;
    chainProblems_.clear();
    look_ = TextLook{};
    firstFaceOfLook_.reset();
    lastError_.clear();
    try {
        auto first = std::make_unique<FallbackFace>();
        if (!first->load(file, error)) {
            return false;
        }
        faces_.push_back(std::move(first));
        faceByFile_.emplace(file, 0);
        return true;
    } catch (const std::exception& e) {
        faces_.clear();
        faceByFile_.clear();
        error = std::string("fallback font: ") + e.what();
        return false;
    }
}

bool FallbackFont::isLoaded() const {
    return !faces_.empty();
}

void FallbackFont::selectLook(const TextLook& look) {
    if (look != look_) {
        firstFaceOfLook_.reset();
    }
    look_ = look;
}

void FallbackFont::noteProblem(const std::string& problem) const {
    if (std::find(chainProblems_.begin(), chainProblems_.end(), problem) == chainProblems_.end()) {
        chainProblems_.push_back(problem);
    }
}

std::optional<std::size_t> FallbackFont::faceOfFile(const std::filesystem::path& file,
                                                    const std::string& name) const {
    if (const auto known = faceByFile_.find(file); known != faceByFile_.end()) {
        return known->second;
    }
    auto face = std::make_unique<FallbackFace>();
    std::string error;
    std::optional<std::size_t> index;
    if (face->load(file, error, name)) {
        faces_.push_back(std::move(face));
        index = faces_.size() - 1;
    } else {
        noteProblem(name + ": " + error);
    }
    faceByFile_.emplace(file, index);
    return index;
}

std::optional<std::size_t> FallbackFont::faceOfFamily(const FontFamilyFiles& family) const {
    const std::string key =
        family.family + (look_.bold ? "|bold" : "|") + (look_.italic ? "|italic" : "|");
    if (const auto known = faceByFamily_.find(key); known != faceByFamily_.end()) {
        return known->second;
    }
    std::optional<std::size_t> index;
    const std::filesystem::path file = locateFamilyFile(family, look_);
    if (file.empty()) {
        noteProblem(family.family + ": not found (package " + family.package + ")");
    } else {
        index = faceOfFile(file, family.family);
    }
    faceByFamily_.emplace(key, index);
    return index;
}

std::size_t FallbackFont::firstFace() const {
    if (look_ == TextLook{}) {
        return 0;
    }
    if (firstFaceOfLook_) {
        return *firstFaceOfLook_;  // asked for every character: kept for the look
    }
    const std::string key = std::string("first|") + char('0' + static_cast<int>(look_.form)) +
                            (look_.bold ? "b" : "") + (look_.italic ? "i" : "");
    if (const auto known = faceByFamily_.find(key); known != faceByFamily_.end()) {
        firstFaceOfLook_ = known->second.value_or(0);
        return *firstFaceOfLook_;
    }
    const FontFamilyFiles family = metricCompatibleFamily(look_.form);
    const std::filesystem::path file = locateFallbackFontFile(look_);
    std::optional<std::size_t> index;
    if (file.empty()) {
        // The regular sans-serif font stands in for it.
        noteProblem(family.family + ": not found (package " + family.package + ")");
    } else {
        index = faceOfFile(file, family.family);
    }
    faceByFamily_.emplace(key, index);
    firstFaceOfLook_ = index.value_or(0);
    return *firstFaceOfLook_;
}

std::optional<std::size_t> FallbackFont::faceForFromEnvironment(char32_t c) const {
    for (const ChainFontFile& member : *environmentChain_) {
        const std::optional<std::size_t> index = faceOfFile(member.file, member.family);
        if (index && faces_[*index]->covers(c)) {
            return index;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> FallbackFont::faceFor(char32_t c) const {
    if (faces_.empty()) {
        return std::nullopt;
    }
    const std::size_t first = firstFace();
    if (faces_[first]->covers(c)) {
        return first;
    }
    if (!environmentRead_) {
        environmentChain_ = fallbackChainFromEnvironment();
        environmentRead_ = true;
    }
    if (environmentChain_) {
        return faceForFromEnvironment(c);
    }
    const auto tryFamily = [this, c](const FontFamilyFiles& family) -> std::optional<std::size_t> {
        const std::optional<std::size_t> index = faceOfFamily(family);
        return index && faces_[*index]->covers(c) ? index : std::nullopt;
    };
    if (auto index = tryFamily(dejaVuFamily(look_.form))) {
        return index;
    }
    FontFamilyFiles script;
    if (scriptFamilyFor(c, look_.form, script)) {
        if (auto index = tryFamily(script)) {
            return index;
        }
    }
    for (const FontFamilyFiles& family : lastResortFamilies()) {
        if (auto index = tryFamily(family)) {
            return index;
        }
    }
    return std::nullopt;
}

bool FallbackFont::covers(char32_t c) const {
    try {
        return faceFor(c).has_value();
    } catch (const std::exception&) {
        return false;
    }
}

bool FallbackFont::coversAll(const std::string& utf8) const {
    try {
        for (const char32_t c : decodeUtf8(utf8)) {
            if (!faceFor(c)) {
                return false;
            }
        }
        return isLoaded();
    } catch (const std::exception&) {
        return false;
    }
}

std::vector<FallbackFont::Run> FallbackFont::runs(const std::string& utf8) const {
    std::vector<Run> result;
    try {
        for (const char32_t c : decodeUtf8(utf8)) {
            const auto index = faceFor(c);
            if (!index) {
                continue;
            }
            if (result.empty() || result.back().face != *index) {
                result.push_back(Run{*index, {}});
            }
            appendUtf8(result.back().text, c);
        }
    } catch (const std::exception&) {
        result.clear();
    }
    return result;
}

std::vector<std::string> FallbackFont::fontNames(const std::string& utf8) const {
    std::vector<std::string> names;
    try {
        for (const Run& run : runs(utf8)) {
            const std::string name = faces_[run.face]->displayName();
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(name);
            }
        }
    } catch (const std::exception&) {
        names.clear();
    }
    return names;
}

double FallbackFont::advance(const std::string& utf8) const {
    double total = 0.0;
    for (const Run& run : runs(utf8)) {
        total += faces_[run.face]->advance(run.text);
    }
    return total;
}

double FallbackFont::ascent() const {
    try {
        return faces_.empty() ? 0.0 : faces_[firstFace()]->ascent();
    } catch (const std::exception&) {
        return 0.0;
    }
}

double FallbackFont::descent() const {
    try {
        return faces_.empty() ? 0.0 : faces_[firstFace()]->descent();
    } catch (const std::exception&) {
        return 0.0;
    }
}

void FallbackFont::finish(QPDF& pdf) {
    lastError_.clear();
    for (const auto& face : faces_) {
        face->finish(pdf);
        if (lastError_.empty()) {
            lastError_ = face->lastError();
        }
    }
}

}  // namespace relettra::pdf
