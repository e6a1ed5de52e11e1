// The keyword search in process: the line builder of PageTextCollector, the whole-word test,
// KeywordFinder's early stop, and FindKeywordHits / StampImageAtHits with their return codes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "keyword/keyword_finder.h"
#include "keyword/page_text_collector.h"
#include "keyword_images_support.h"
#include "pdf/pdf_api.h"
#include "runners/keyword_runner.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::kitDir;

std::string narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

// Records every finished line and never stops the parsing.
class LineRecorder : public PageTextCollector {
  public:
    using PageTextCollector::PageTextCollector;
    bool LineFinished(const std::u16string& line) override {
        lines.push_back(narrow(line));
        return false;
    }
    // The finished lines plus the line still open at the end of the page.
    std::vector<std::string> allLines() const {
        std::vector<std::string> all = lines;
        if (!currentLine().empty()) all.push_back(narrow(currentLine()));
        return all;
    }
    std::vector<std::string> lines;
};

// A document opened for reading pages, as the keyword search opens it.
class OpenDocument {
  public:
    explicit OpenDocument(const fs::path& file) : pdf_(pdfNewPDF()) {
        pdfSetPageCoords(pdf_, 1);
        pdfCreateNewPDFA(pdf_, nullptr);
        opened_ = pdfOpenImportFileA(pdf_, file.c_str(), 0, nullptr) == 0 &&
                  pdfImportPDFFile(pdf_, 1, 1.0, 1.0) >= 0;
        pdfCloseImportFile(pdf_);
    }
    ~OpenDocument() { pdfDeletePDF(pdf_); }
    OpenDocument(const OpenDocument&) = delete;
    OpenDocument& operator=(const OpenDocument&) = delete;

    bool opened() const { return opened_; }
    PDF* pdf() { return pdf_; }
    // pdfParseContent's result for the page: 1 parsed through, 0 stopped by a callback.
    int parse(int page, PageTextCollector& collector) {
        if (pdfEditPage(pdf_, page) != 1) return -100;
        int result = pdfParseContent(pdf_, &collector, &PageTextCollector::callbacks(), 1);
        pdfEndPage(pdf_);
        return result;
    }

  private:
    PDF* pdf_;
    bool opened_ = false;
};

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    for (const auto& l : lines) {
        if (l == line) return true;
    }
    return false;
}

TEST(PageTextCollectorTest, PiecesOfOnePageBecomeItsLinesInContentOrder) {
    OpenDocument doc(kitDir() / "multipage.pdf");
    ASSERT_TRUE(doc.opened());
    LineRecorder recorder(doc.pdf());
    EXPECT_EQ(doc.parse(1, recorder), 1);
    EXPECT_EQ(recorder.allLines(),
              (std::vector<std::string>{"Section Alpha overview", "Please STAMPME here",
                                        "Notes for page one", "Again STAMPME appears later"}));
}

TEST(PageTextCollectorTest, TwoStringsShownOneAfterTheOtherJoinWithoutSpace) {
    OpenDocument doc(kitDir() / "multipage.pdf");
    ASSERT_TRUE(doc.opened());
    LineRecorder recorder(doc.pdf());
    doc.parse(2, recorder);
    EXPECT_TRUE(contains(recorder.allLines(), "Find SPLITWORD now"))
        << ::testing::PrintToString(recorder.allLines());
}

TEST(PageTextCollectorTest, GapOfExactlyHalfASpaceJoinsWithoutSpaceAndWiderGapWithOne) {
    OpenDocument doc(kitDir() / "multipage.pdf");
    ASSERT_TRUE(doc.opened());
    LineRecorder recorder(doc.pdf());
    doc.parse(3, recorder);
    const std::vector<std::string> lines = recorder.allLines();
    EXPECT_TRUE(contains(lines, "bong0001")) << ::testing::PrintToString(lines);
    EXPECT_TRUE(contains(lines, "hypo 0002")) << ::testing::PrintToString(lines);
}

TEST(PageTextCollectorTest, InsertedSpaceIsARunOfItsOwnAndPiecesKeepTheirStart) {
    OpenDocument doc(kitDir() / "multipage.pdf");
    ASSERT_TRUE(doc.opened());
    LineRecorder recorder(doc.pdf());
    doc.parse(3, recorder);
    // "hypo" at x = 100, the inserted space, "0002" at x = 117.5, all on y = 280.
    const auto& runs = recorder.runs();
    size_t hypo = runs.size();
    for (size_t i = 0; i < runs.size(); ++i) {
        if (runs[i].text == u"hypo") hypo = i;
    }
    ASSERT_LT(hypo + 2, runs.size());
    EXPECT_DOUBLE_EQ(runs[hypo].x, 100.0);
    EXPECT_DOUBLE_EQ(runs[hypo].y, 280.0);
    EXPECT_DOUBLE_EQ(runs[hypo].state.fontSize, 8.0);
    EXPECT_EQ(runs[hypo + 1].text, u" ");
    EXPECT_EQ(runs[hypo + 2].text, u"0002");
    EXPECT_DOUBLE_EQ(runs[hypo + 2].x, 117.5);
    EXPECT_DOUBLE_EQ(runs[hypo + 2].y, 280.0);
}

struct WholeWordCase {
    const char16_t* line;
    const char16_t* keyword;
    bool expected;
};

TEST(ContainsWholeWordTest, KeywordMustBeFollowedByAWordEnd) {
    const WholeWordCase cases[] = {
        {u"Please STAMPME here", u"STAMPME", true},
        {u"STAMPME", u"STAMPME", true},              // end of the line
        {u"Please STAMPMEhere", u"STAMPME", false},  // followed by a letter
        {u"STAMPME2", u"STAMPME", false},            // followed by a digit
        {u"STAMPME.", u"STAMPME", false},            // "." is not a word end
        {u"STAMPME,", u"STAMPME", false},
        {u"STAMPME\tx", u"STAMPME", true},  // control character
        {u"STAMPME(x", u"STAMPME", true},
        {u"STAMPME)x", u"STAMPME", true},
        {u"STAMPME[x", u"STAMPME", true},
        {u"STAMPME]x", u"STAMPME", true},
        {u"STAMPME<x", u"STAMPME", true},
        {u"STAMPME>x", u"STAMPME", true},
        {u"STAMPME/x", u"STAMPME", true},
        {u"STAMPME%x", u"STAMPME", true},
        {u"STAMPME{x", u"STAMPME", true},
        {u"STAMPME}x", u"STAMPME", true},
        {u"XSTAMPME here", u"STAMPME", true},         // what stands before is not examined
        {u"STAMPMEX and STAMPME", u"STAMPME", true},  // a later candidate counts
        {u"STAMPMEX and STAMPMEY", u"STAMPME", false},
        {u"STAMP ME", u"STAMPME", false},
        {u"stampme", u"STAMPME", false},  // case matters
        {u"", u"STAMPME", false},
        {u"anything", u"", false},
        {u"Caf\u00e9 cr\u00e8me", u"Caf\u00e9", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ContainsWholeWord(c.line, c.keyword), c.expected)
            << "line \"" << narrow(c.line) << "\", keyword \"" << narrow(c.keyword) << "\"";
    }
}

TEST(KeywordFinderTest, ParsingStopsAtTheFirstFinishedLineHoldingTheKeyword) {
    OpenDocument doc(kitDir() / "multipage.pdf");
    ASSERT_TRUE(doc.opened());
    KeywordFinder finder(doc.pdf(), u"STAMPME");
    EXPECT_EQ(doc.parse(1, finder), 0);  // stopped by the callback
    EXPECT_TRUE(finder.found());
    for (const TextRun& run : finder.runs()) {
        EXPECT_EQ(run.text.find(u"Again"), std::u16string::npos) << "parsed past the hit";
    }
    size_t offset = 99;
    const TextRun* run = finder.FirstRunWithKeyword(offset);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->text, u"Please STAMPME here");
    EXPECT_EQ(offset, 7u);
    EXPECT_DOUBLE_EQ(run->y, 690.0);
}

TEST(KeywordFinderTest, KeywordFollowedByALetterDoesNotStopParsingButItsRunStillMatches) {
    OpenDocument doc(kitDir() / "multipage.pdf");
    ASSERT_TRUE(doc.opened());
    KeywordFinder finder(doc.pdf(), u"Pleas");
    EXPECT_EQ(doc.parse(1, finder), 1);  // parsed to the end
    EXPECT_FALSE(finder.found());
    bool sawLastLine = false;
    for (const TextRun& run : finder.runs()) {
        sawLastLine = sawLastLine || run.text == u"Again STAMPME appears later";
    }
    EXPECT_TRUE(sawLastLine);
    size_t offset = 99;
    const TextRun* run = finder.FirstRunWithKeyword(offset);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->text, u"Please STAMPME here");
    EXPECT_EQ(offset, 0u);
}

TEST(KeywordFinderTest, KeywordSplitOverTwoStringsStandsInTheLineTextButInNoRun) {
    // "Find SPLIT" and "WORD now" are the last pieces of page 2, so their line is still open
    // when the content ends.
    OpenDocument doc(kitDir() / "multipage.pdf");
    ASSERT_TRUE(doc.opened());
    KeywordFinder finder(doc.pdf(), u"SPLITWORD");
    EXPECT_EQ(doc.parse(2, finder), 1);
    EXPECT_EQ(narrow(finder.currentLine()), "Find SPLITWORD now");
    EXPECT_TRUE(ContainsWholeWord(finder.currentLine(), u"SPLITWORD"));
    size_t offset = 0;
    EXPECT_EQ(finder.FirstRunWithKeyword(offset), nullptr);
}

TEST(FindKeywordHitsTest, KeywordOnEveryPageGivesOneHitPerPageAtTheFirstOccurrence) {
    std::vector<KeywordHit> hits;
    ASSERT_EQ(FindKeywordHits((kitDir() / "multipage.pdf").string(), "STAMPME", hits), 3);
    ASSERT_EQ(hits.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        EXPECT_EQ(hits[i].page, i + 1);
        // "Please " is 40.02 pt of Helvetica 12 after x = 72; baseline 690, so the top is
        // 792 - 690 - 12 = 90 (the second occurrence lies at baseline 400).
        EXPECT_NEAR(hits[i].x, 112.02, 0.001);
        EXPECT_NEAR(hits[i].top, 90.0, 0.001);
    }
}

TEST(FindKeywordHitsTest, KeywordInsideALongerWordStillHitsThroughItsRun) {
    std::vector<KeywordHit> hits;
    ASSERT_EQ(FindKeywordHits((kitDir() / "multipage.pdf").string(), "Pleas", hits), 3);
    EXPECT_NEAR(hits[0].x, 72.0, 0.001);
    EXPECT_NEAR(hits[0].top, 90.0, 0.001);
}

TEST(FindKeywordHitsTest, KeywordSplitOverTwoStringsGivesNoHit) {
    std::vector<KeywordHit> hits;
    EXPECT_EQ(FindKeywordHits((kitDir() / "multipage.pdf").string(), "SPLITWORD", hits), 0);
    EXPECT_TRUE(hits.empty());
}

TEST(FindKeywordHitsTest, KeywordOnATurnedPageIsPlacedOnTheDisplayedPage) {
    // rotate90.pdf: CORNERWORD at (450, 100) in user space, Helvetica 12, /Rotate 90. The
    // displayed page is 792 x 612; the word starts at x = 100 and runs downward from
    // 450 points below the top, so its baseline start is 612 - 450 = 162 from the bottom.
    std::vector<KeywordHit> hits;
    ASSERT_EQ(FindKeywordHits((kitDir() / "rotate90.pdf").string(), "CORNERWORD", hits), 1);
    EXPECT_EQ(hits[0].page, 1);
    EXPECT_NEAR(hits[0].x, 100.0, 0.001);
    EXPECT_NEAR(hits[0].top, 612.0 - 162.0 - 12.0, 0.001);
}

// Hits in other kinds of content: forms, offset and cropped boxes, turned pages, TJ arrays,
// non-ASCII keywords. Expected values: x of the keyword's first letter and
// top = displayed height - baseline - 12 (all these lines are 12 pt), from the kit README.
TEST(FindKeywordHitsTest, HitsStandAtTheKeywordOnTheDisplayedPage) {
    struct Case {
        const char* file;
        const char* keyword;
        std::vector<KeywordHit> expected;
    } cases[] = {
        // Drawn by a form: (82, 530) on page 1, (210, 330) on page 2.
        {"form_xobject.pdf", "Shared", {{1, 82, 792 - 530 - 12}, {2, 210, 792 - 330 - 12}}},
        // MediaBox [100 200 712 992]: (400, 300) is (300, 100) on the displayed page.
        {"offset_mediabox.pdf", "LOWERWORD", {{1, 300, 792 - 100 - 12}}},
        // CropBox [150 250 662 942], displayed 512 x 692: (200, 300) is (50, 50).
        {"offset_mediabox.pdf", "CROPWORD", {{2, 50, 692 - 50 - 12}}},
        // /Rotate 270: (450, 100) is x 792 - 100, 450 up from the bottom of a 612 high page.
        {"rotate270.pdf", "CORNERWORD", {{1, 692, 612 - 450 - 12}}},
        // [(T) 70 (otal) -4000 (amount)] TJ at (72, 696).
        {"tj_kerning.pdf", "Total", {{1, 72, 792 - 696 - 12}}},
        // [(W) 120 (orld) -50 (wide) -278 (shipping)] TJ at (72, 720): "shipping" starts
        // where pdftotext puts it, x 130.5.
        {"tj_kerning.pdf", "shipping", {{1, 130.5, 792 - 720 - 12}}},
        // UTF-8 keyword against WinAnsi bytes: "Caf\351 cr\350me" at (72, 648).
        {"std14_helvetica.pdf", "cr\xc3\xa8me", {{1, 100.68, 792 - 648 - 12}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.keyword);
        std::vector<KeywordHit> hits;
        ASSERT_EQ(FindKeywordHits((kitDir() / c.file).string(), c.keyword, hits),
                  static_cast<int>(c.expected.size()));
        for (size_t i = 0; i < hits.size(); ++i) {
            EXPECT_EQ(hits[i].page, c.expected[i].page);
            EXPECT_NEAR(hits[i].x, c.expected[i].x, 0.01);
            EXPECT_NEAR(hits[i].top, c.expected[i].top, 0.01);
        }
    }
}

TEST(FindKeywordHitsTest, SizeSetByTheTextMatrixCountsForTheTop) {
    // cairo_text.pdf shows its 12 pt text with "1 Tf" and a text matrix "12 0 0 -12 ..." under
    // a flipped CTM; "Invoice" stands at (72, 696) and pdftotext puts the word's top at 85.1.
    // The keyword's top is 792 - 696 - 12 = 84, not 792 - 696 - 1.
    std::vector<KeywordHit> hits;
    ASSERT_EQ(FindKeywordHits((kitDir() / "cairo_text.pdf").string(), "Invoice", hits), 1);
    EXPECT_NEAR(hits[0].x, 72.0, 0.01);
    EXPECT_NEAR(hits[0].top, 84.0, 0.01);
}

TEST(FindKeywordHitsTest, ArgumentFaultsGiveTheirCodes) {
    const std::string multipage = (kitDir() / "multipage.pdf").string();
    struct Case {
        const char* name;
        std::string input;
        std::string keyword;
        int expected;
    } cases[] = {
        {"empty input path", "", "STAMPME", -2},
        {"empty keyword", multipage, "", -1},
        {"missing input", (kitDir() / "no_such_file.pdf").string(), "STAMPME", -3},
        {"not a PDF", (testsupport::imagesDir() / "not_an_image.txt").string(), "STAMPME", -3},
        {"malformed UTF-8 keyword", multipage, "STAMP\xff", -4},
        {"keyword nowhere", multipage, "NOWHEREWORD", 0},
    };
    for (const auto& c : cases) {
        std::vector<KeywordHit> hits;
        EXPECT_EQ(FindKeywordHits(c.input, c.keyword, hits), c.expected) << c.name;
        EXPECT_TRUE(hits.empty()) << c.name;
    }
}

TEST(StampImageAtHitsTest, ArgumentFaultsGiveTheirCodesAndWriteNothing) {
    testsupport::TempDir dir;
    const std::string multipage = (kitDir() / "multipage.pdf").string();
    const std::string image = kwtest::solidBmp(4, 4, 0xFF0000);
    const std::vector<KeywordHit> oneHit{{1, 100, 100}};
    struct Case {
        const char* name;
        std::string input;
        std::string keyword;
        const char* bytes;
        int length;
        std::vector<KeywordHit> hits;
        int expected;
    } cases[] = {
        {"empty input path", "", "K", image.data(), static_cast<int>(image.size()), oneHit, -1},
        {"missing input", (kitDir() / "no_such_file.pdf").string(), "K", image.data(),
         static_cast<int>(image.size()), oneHit, -2},
        {"empty keyword", multipage, "", image.data(), static_cast<int>(image.size()), oneHit, -1},
        {"no image bytes", multipage, "K", nullptr, 10, oneHit, -1},
        {"image length 0", multipage, "K", image.data(), 0, oneHit, -1},
        {"no hits", multipage, "K", image.data(), static_cast<int>(image.size()), {}, 0},
        {"input not a PDF", (testsupport::imagesDir() / "not_an_image.txt").string(), "K",
         image.data(), static_cast<int>(image.size()), oneHit, -3},
    };
    for (const auto& c : cases) {
        const fs::path out = dir / "out.pdf";
        EXPECT_EQ(StampImageAtHits(c.input, out.string(), c.keyword, c.bytes, c.length, 20, 10, "",
                                   c.hits),
                  c.expected)
            << c.name;
        EXPECT_FALSE(fs::exists(out)) << c.name;
    }
}

TEST(StampImageAtHitsTest, OutputInAMissingFolderGivesMinusFive) {
    testsupport::TempDir dir;
    const std::string image = kwtest::solidBmp(4, 4, 0xFF0000);
    EXPECT_EQ(StampImageAtHits((kitDir() / "multipage.pdf").string(),
                               (dir / "missing" / "out.pdf").string(), "STAMPME", image.data(),
                               static_cast<int>(image.size()), 20, 10, "", {{1, 100, 100}}),
              -5);
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

}  // namespace
