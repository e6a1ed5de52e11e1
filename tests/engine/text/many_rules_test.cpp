// Many rules on one page in one run: a table of rules per kit file (in-font edits wider and
// narrower, occurrences over several records, fallbacks, rules on the text that earlier rules
// wrote) gives the output recorded in tests/data/reference/many_rules_reference.txt, which the
// engine wrote when it read its page anew for every rule (and again, for two lines, when the
// rest of a line began to follow a change of width).

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "text_test_support.h"

namespace {

using testsupport::TempDir;
using testsupport::Word;
using namespace texttest;
namespace fs = std::filesystem;

struct ReferenceRun {
    std::string file;
    std::vector<std::string> rules;
    std::vector<std::string> results;
    std::vector<Word> words;
    std::vector<std::string> fonts;
};

std::vector<ReferenceRun> readReference() {
    std::ifstream in(testsupport::kitDir().parent_path() / "reference" /
                     "many_rules_reference.txt");
    std::vector<ReferenceRun> runs;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t space = line.find(' ');
        const std::string kind = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        if (kind == "file") {
            runs.push_back({rest, {}, {}, {}, {}});
        } else if (runs.empty()) {
            continue;
        } else if (kind == "rule") {
            runs.back().rules.push_back(rest);
        } else if (kind == "result") {
            runs.back().results.push_back(rest);
        } else if (kind == "font") {
            runs.back().fonts.push_back(rest);
        } else if (kind == "word") {
            std::istringstream fields(rest);
            Word w;
            fields >> w.page >> w.xMin >> w.yMin >> w.xMax >> w.yMax;
            fields.get();
            std::getline(fields, w.text);
            runs.back().words.push_back(w);
        }
    }
    return runs;
}

// A pdffonts row as the reference writes it: name, encoding, embedded, subset, ToUnicode. The
// six letters of a subset's tag are left out: they name the glyphs the subset holds.
std::string fontRow(const testsupport::FontRow& row) {
    const bool tagged = row.name.size() > 7 && row.name[6] == '+';
    return (tagged ? row.name.substr(7) : row.name) + " " + row.encoding + " " +
           (row.embedded ? "yes" : "no") + " " + (row.subset ? "yes" : "no") + " " +
           (row.toUnicode ? "yes" : "no");
}

std::string untagged(const std::string& row) {
    return row.size() > 7 && row[6] == '+' ? row.substr(7) : row;
}

TEST(ManyRulesOnOnePage, tableOfRulesInOneRun_givesTheOutputOfTheRuleByRuleEngine) {
    const std::vector<ReferenceRun> runs = readReference();
    ASSERT_GE(runs.size(), 5u);
    for (const ReferenceRun& reference : runs) {
        SCOPED_TRACE(reference.file);
        TempDir dir;
        std::string rules;
        for (const std::string& rule : reference.rules) rules += rule + "\r\n";
        const EngineRun run = runTextRuleFile(dir, testsupport::kitDir() / reference.file, rules);
        EXPECT_EQ(run.ruleResults(), reference.results) << run.result.output;
        std::map<int, bool> rulePages;
        for (const Word& w : reference.words) rulePages[w.page] = true;
        std::vector<Word> words;
        for (const Word& w : testsupport::extractWords(run.output)) {
            if (rulePages.count(w.page) != 0) words.push_back(w);
        }
        ASSERT_EQ(words.size(), reference.words.size()) << pageWords(words, 1);
        for (std::size_t i = 0; i < words.size(); ++i) {
            const Word& got = words[i];
            const Word& want = reference.words[i];
            EXPECT_EQ(got.text, want.text);
            EXPECT_EQ(got.page, want.page) << want.text;
            EXPECT_NEAR(got.xMin, want.xMin, 0.02) << want.text;
            EXPECT_NEAR(got.yMin, want.yMin, 0.02) << want.text;
            EXPECT_NEAR(got.xMax, want.xMax, 0.02) << want.text;
            EXPECT_NEAR(got.yMax, want.yMax, 0.02) << want.text;
        }
        std::vector<std::string> fonts;
        for (const testsupport::FontRow& row : testsupport::listFonts(run.output)) {
            fonts.push_back(fontRow(row));
        }
        std::vector<std::string> wanted;
        for (const std::string& row : reference.fonts) wanted.push_back(untagged(row));
        EXPECT_EQ(fonts, wanted);
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

}  // namespace
