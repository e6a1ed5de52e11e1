#include "text_test_support.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace texttest {

namespace fs = std::filesystem;
using testsupport::FontRow;
using testsupport::Word;

int topOf(int baseline) {
    return 792 - baseline - 12;
}

int pointsToPixels(int points) {
    // ceil(points * 150 / 72): truncating pixels * 72 / 150 gives the points back.
    return (points * 150 + 71) / 72;
}

std::string ruleLine(const PointRule& rule) {
    std::ostringstream line;
    line << rule.page << "-" << pointsToPixels(rule.left) << "-" << pointsToPixels(rule.top) << "-"
         << pointsToPixels(rule.width) << "-" << pointsToPixels(rule.height) << ":" << rule.find
         << ":" << rule.replace << "\r\n";
    return line.str();
}

PointRule ruleOverWord(const Word& word, int size, const std::string& find,
                       const std::string& replace) {
    PointRule rule;
    rule.page = word.page;
    rule.left = static_cast<int>(std::floor(word.xMin));
    rule.width = static_cast<int>(std::ceil(word.xMax)) - rule.left;
    const double baseline = word.yMax - 0.21 * size;
    rule.top = static_cast<int>(std::lround(baseline - size));
    rule.height = size;
    rule.find = find;
    rule.replace = replace;
    return rule;
}

PointRule ruleForBox(const Word& w, const std::string& find, const std::string& replace) {
    const double width = w.xMax - w.xMin;
    const double height = w.yMax - w.yMin;
    const bool vertical = height > 2 * width;
    const double size = vertical ? width / 1.1 : height / 1.1;
    PointRule rule;
    rule.page = w.page;
    rule.left = static_cast<int>(std::floor(w.xMin));
    rule.top = static_cast<int>(std::lround(vertical ? w.yMin : w.yMin - 0.08 * size));
    rule.width = static_cast<int>(std::lround(vertical ? size : width));
    rule.height = static_cast<int>(std::lround(vertical ? height : size));
    rule.find = find;
    rule.replace = replace;
    return rule;
}

int EngineRun::matchedRecords() const {
    int count = 0;
    for (size_t p = 0; (p = result.output.find("strtext is :", p)) != std::string::npos; ++p) {
        ++count;
    }
    return count;
}

std::vector<int> EngineRun::changeResults() const {
    std::vector<int> results;
    static const std::regex change(R"(change success\? (-?\d+))");
    for (auto it = std::sregex_iterator(result.output.begin(), result.output.end(), change);
         it != std::sregex_iterator(); ++it) {
        results.push_back(std::stoi((*it)[1]));
    }
    return results;
}

std::vector<std::string> EngineRun::ruleResults() const {
    std::vector<std::string> results;
    static const std::regex line(R"(Rule result: ([^\r\n]*))");
    for (auto it = std::sregex_iterator(result.output.begin(), result.output.end(), line);
         it != std::sregex_iterator(); ++it) {
        results.push_back((*it)[1]);
    }
    return results;
}

EngineRun runTextRuleFile(const testsupport::TempDir& dir, const fs::path& input,
                          const std::string& ruleFileContent) {
    const fs::path rules = dir / "rules.txt";
    testsupport::writeFile(rules, ruleFileContent);
    EngineRun run;
    run.output = dir / "out.pdf";
    fs::remove(run.output);
    run.result = testsupport::run(testsupport::marqelPath(),
                                  {input.string(), "-tesome", run.output.string(), rules.string()});
    return run;
}

EngineRun runTextRules(const testsupport::TempDir& dir, const fs::path& input,
                       const std::vector<PointRule>& rules) {
    std::string content;
    for (const PointRule& rule : rules) content += ruleLine(rule);
    return runTextRuleFile(dir, input, content);
}

std::vector<Word> wordsNamed(const std::vector<Word>& words, int page, const std::string& text) {
    std::vector<Word> found;
    for (const Word& w : words) {
        if (w.page == page && w.text == text) found.push_back(w);
    }
    return found;
}

std::optional<Word> uniqueWord(const std::vector<Word>& words, int page, const std::string& text) {
    std::vector<Word> found = wordsNamed(words, page, text);
    if (found.size() != 1) return std::nullopt;
    return found.front();
}

std::string pageWords(const std::vector<Word>& words, int page) {
    std::string text;
    for (const Word& w : words) {
        if (w.page != page) continue;
        if (!text.empty()) text += ' ';
        text += w.text;
    }
    return text;
}

std::string fontKey(const FontRow& row) {
    return row.name + "|" + row.type + "|" + row.encoding + "|" + (row.embedded ? "emb" : "-") +
           (row.subset ? "sub" : "-") + (row.toUnicode ? "uni" : "-");
}

std::vector<FontRow> addedFonts(const std::vector<FontRow>& before,
                                const std::vector<FontRow>& after) {
    std::map<std::string, int> remaining;
    for (const FontRow& row : before) ++remaining[fontKey(row)];
    std::vector<FontRow> added;
    for (const FontRow& row : after) {
        int& left = remaining[fontKey(row)];
        if (left > 0) {
            --left;
        } else {
            added.push_back(row);
        }
    }
    return added;
}

bool isFallbackFontRow(const FontRow& row) {
    static const std::regex subsetName(
        R"([A-Z]{6}\+Liberation(Sans|Serif|Mono)(-(Bold|Italic|BoldItalic))?)");
    return std::regex_match(row.name, subsetName) && row.embedded && row.subset && row.toUnicode;
}

std::string uncompressedObjects(const fs::path& pdf) {
    return testsupport::runTool("qpdf", {"--qdf", "--object-streams=disable", pdf.string(), "-"})
        .output;
}

void writeHelveticaPdf(const fs::path& file, const std::string& content,
                       const std::string& encoding) {
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 5 0 R "
        "/F2 6 0 R >> >> /Contents 4 0 R >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding " + encoding + " >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    testsupport::writeFile(file, pdf);
    if (!testsupport::qpdfCheckPasses(file)) {
        throw std::runtime_error("the hand-made test PDF does not pass qpdf --check: " +
                                 file.string());
    }
}

}  // namespace texttest
