#include "pdf/fonts/standard_fonts.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "pdf/fonts/glyph_names.h"

namespace relettra::pdf {
namespace {

std::string lowerWithoutSpaces(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == ' ') continue;
        out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return out;
}

const fontdata::StandardFontMetrics* byName(std::string_view name) {
    for (std::size_t i = 0; i < fontdata::kStandardFontsSize; ++i) {
        if (name == fontdata::kStandardFonts[i].fontName) return &fontdata::kStandardFonts[i];
    }
    return nullptr;
}

const fontdata::GlyphWidth* findWidth(const fontdata::StandardFontMetrics& font,
                                      std::string_view glyphName) {
    const auto* end = font.widths + font.widthCount;
    const auto* it = std::lower_bound(font.widths, end, glyphName,
                                      [](const fontdata::GlyphWidth& w, std::string_view n) {
                                          return std::string_view(w.name) < n;
                                      });
    if (it != end && std::string_view(it->name) == glyphName) return it;
    return nullptr;
}

// Unicode text -> width, per standard font, built on first use.
const std::unordered_map<std::string, double>& widthsByUnicode(
    const fontdata::StandardFontMetrics& font) {
    static std::mutex mutex;
    static std::unordered_map<const fontdata::StandardFontMetrics*,
                              std::unordered_map<std::string, double>>
        tables;
    std::lock_guard<std::mutex> lock(mutex);
    auto [it, inserted] = tables.try_emplace(&font);
    if (inserted) {
        const bool dingbats = std::string_view(font.fontName) == "ZapfDingbats";
        for (std::size_t i = 0; i < font.widthCount; ++i) {
            const std::string text = glyphNameToUnicode(font.widths[i].name, dingbats);
            if (!text.empty()) it->second.emplace(text, font.widths[i].width);
        }
    }
    return it->second;
}

}  // namespace

std::string_view stripSubsetTag(std::string_view name) {
    if (name.size() > 7 && name[6] == '+' &&
        std::all_of(name.begin(), name.begin() + 6, [](char c) { return c >= 'A' && c <= 'Z'; }))
        return name.substr(7);
    return name;
}

const fontdata::StandardFontMetrics* findStandardFont(std::string_view baseFont) {
    const std::string name(stripSubsetTag(baseFont));
    if (const auto* exact = byName(name)) return exact;

    const std::string lower = lowerWithoutSpaces(name);
    const auto split = lower.find_first_of(",-");
    const std::string family = lower.substr(0, split);
    const std::string style = split == std::string::npos ? std::string() : lower.substr(split);

    std::string base;
    if (family == "helvetica" || family == "arial" || family == "arialmt") {
        base = "Helvetica";
    } else if (family == "times" || family == "timesroman" || family == "timesnewroman" ||
               family == "timesnewromanps" || family == "timesnewromanpsmt") {
        base = "Times";
    } else if (family == "courier" || family == "couriernew" || family == "couriernewps" ||
               family == "couriernewpsmt") {
        base = "Courier";
    } else if (family == "symbol" || family == "symbolmt") {
        return byName("Symbol");
    } else if (family == "zapfdingbats" || family == "itczapfdingbats" || family == "dingbats") {
        return byName("ZapfDingbats");
    } else {
        return nullptr;
    }
    const bool bold =
        style.find("bold") != std::string::npos || style.find("black") != std::string::npos;
    const bool italic =
        style.find("italic") != std::string::npos || style.find("oblique") != std::string::npos;
    std::string full = base;
    if (base == "Times") {
        full += bold ? (italic ? "-BoldItalic" : "-Bold") : (italic ? "-Italic" : "-Roman");
    } else if (bold || italic) {
        full += bold ? (italic ? "-BoldOblique" : "-Bold") : "-Oblique";
    }
    return byName(full);
}

std::optional<double> standardGlyphWidth(const fontdata::StandardFontMetrics& font,
                                         std::string_view glyphName) {
    if (const auto* entry = findWidth(font, glyphName)) return entry->width;
    // A suffixed name ("a.sc", "one.oldstyle") asks for a variant the metrics do not list.
    if (glyphName.find('.') != std::string_view::npos) return std::nullopt;
    const bool dingbats = std::string_view(font.fontName) == "ZapfDingbats";
    const std::string text = glyphNameToUnicode(glyphName, dingbats);
    if (text.empty()) return std::nullopt;
    const auto& table = widthsByUnicode(font);
    const auto it = table.find(text);
    if (it == table.end()) return std::nullopt;
    return it->second;
}

bool standardFontHasGlyph(const fontdata::StandardFontMetrics& font, std::string_view glyphName) {
    return standardGlyphWidth(font, glyphName).has_value();
}

}  // namespace relettra::pdf
