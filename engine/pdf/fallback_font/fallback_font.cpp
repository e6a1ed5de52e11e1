#include "pdf/fallback_font/fallback_font.h"

#include <exception>
#include <utility>

#include "pdf/basics/utf8.h"

namespace relettra::pdf {

namespace {

// The Debian package that holds a font of the chain, for the message of a missing one.
std::string packageHint(const std::string& family) {
    if (family == "DejaVu Sans") return " (package fonts-dejavu-core)";
    if (family == "Droid Sans Fallback") return " (package fonts-droid-fallback)";
    return "";
}

}  // namespace

FallbackFont::FallbackFont() = default;
FallbackFont::~FallbackFont() = default;
FallbackFont::FallbackFont(FallbackFont&&) noexcept = default;
FallbackFont& FallbackFont::operator=(FallbackFont&&) noexcept = default;

bool FallbackFont::load(const std::filesystem::path& file, std::string& error) {
    faces_.clear();
    chainLoaded_ = false;
    chainProblems_.clear();
    lastError_.clear();
    try {
        auto first = std::make_unique<FallbackFace>();
        if (!first->load(file, error)) {
            return false;
        }
        faces_.push_back(std::move(first));
        return true;
    } catch (const std::exception& e) {
        faces_.clear();
        error = std::string("fallback font: ") + e.what();
        return false;
    }
}

bool FallbackFont::isLoaded() const {
    return !faces_.empty();
}

void FallbackFont::loadChain() const {
    if (chainLoaded_ || faces_.empty()) {
        return;
    }
    chainLoaded_ = true;
    try {
        for (const ChainFontFile& member : locateFallbackChainFiles()) {
            auto face = std::make_unique<FallbackFace>();
            std::string error;
            if (member.file.empty()) {
                chainProblems_.push_back(member.family + ": not found" +
                                         packageHint(member.family));
            } else if (!face->load(member.file, error, member.family)) {
                chainProblems_.push_back(member.family + ": " + error);
            } else {
                faces_.push_back(std::move(face));
            }
        }
    } catch (const std::exception& e) {
        chainProblems_.push_back(std::string("fallback fonts: ") + e.what());
    }
}

std::optional<std::size_t> FallbackFont::faceFor(char32_t c) const {
    for (std::size_t index = 0; index < faces_.size(); ++index) {
        if (faces_[index]->covers(c)) {
            return index;
        }
    }
    if (!chainLoaded_ && !faces_.empty()) {
        const std::size_t before = faces_.size();
        loadChain();
        for (std::size_t index = before; index < faces_.size(); ++index) {
            if (faces_[index]->covers(c)) {
                return index;
            }
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

double FallbackFont::advance(const std::string& utf8) const {
    double total = 0.0;
    for (const Run& run : runs(utf8)) {
        total += faces_[run.face]->advance(run.text);
    }
    return total;
}

double FallbackFont::ascent() const {
    return faces_.empty() ? 0.0 : faces_.front()->ascent();
}

double FallbackFont::descent() const {
    return faces_.empty() ? 0.0 : faces_.front()->descent();
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
