// Words that producers draw in several pieces (a glyph per string, a text object per glyph, two
// fonts, a raised or lowered letter), text turned by the transformation or the text matrix on a
// page without /Rotate, and text that annotation appearances show: each is found where the
// displayed page shows it and edited in its own fonts, or replaced by the fallback without a
// trace of the old word. Outputs are read back with pdftotext, pdffonts and qpdf.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "text_test_support.h"

namespace {

using testsupport::TempDir;
using testsupport::Word;
using namespace texttest;

const char* const kZhe =
    "\xD0\xB6";  // Cyrillic zhe: no font of these pages has it but the fallback

// The word's letters turned by one place ("Mixed" -> "ixedM"): letters the fonts hold, the same
// width in all.
std::string turnedLetters(const std::string& word) {
    return word.substr(1) + word.substr(0, 1);
}

struct Edit {
    const char* file;
    const char* word;
};

struct Outcome {
    EngineRun run;
    std::vector<Word> before;
    std::vector<Word> after;
    std::optional<Word> old;
};

Outcome applyRule(const TempDir& dir, const char* file, const char* word,
                  const std::string& replace) {
    Outcome out;
    const auto input = testsupport::kitDir() / file;
    out.before = testsupport::extractWords(input);
    out.old = uniqueWord(out.before, 1, word);
    if (!out.old) return out;
    out.run = runTextRules(dir, input, {ruleForBox(*out.old, word, replace)});
    out.after = testsupport::extractWords(out.run.output);
    return out;
}

bool fontAdded(const char* file, const Outcome& outcome) {
    return !addedFonts(testsupport::listFonts(testsupport::kitDir() / file),
                       testsupport::listFonts(outcome.run.output))
                .empty();
}

// A true edit: the new word where the old one started, no font added. The same letters in
// another order fill the same box in one font (within `boxTolerance`); in several fonts only the
// start and the line stay (`sameFont` false).
void expectTrueEditInPlace(const char* file, const char* word, bool sameFont = true,
                           double boxTolerance = 0.05) {
    SCOPED_TRACE(std::string(file) + ": " + word);
    TempDir dir;
    const std::string replace = turnedLetters(word);
    Outcome o = applyRule(dir, file, word, replace);
    ASSERT_TRUE(o.old.has_value()) << pageWords(o.before, 1);
    EXPECT_EQ(o.run.ruleResults(), std::vector<std::string>{"own font"}) << o.run.result.output;
    std::optional<Word> now = uniqueWord(o.after, 1, replace);
    ASSERT_TRUE(now.has_value()) << pageWords(o.after, 1);
    EXPECT_NEAR(now->xMin, o.old->xMin, boxTolerance);
    EXPECT_NEAR(now->yMin, o.old->yMin, boxTolerance);
    EXPECT_NEAR(now->yMax, o.old->yMax, boxTolerance);
    if (sameFont) {
        EXPECT_NEAR(now->xMax, o.old->xMax, boxTolerance);
    }
    EXPECT_TRUE(wordsNamed(o.after, 1, word).empty());
    EXPECT_FALSE(fontAdded(file, o));
    EXPECT_TRUE(testsupport::qpdfCheckPasses(o.run.output));
}

TEST(TextOverRecords, wordDrawnInPieces_editedInItsFontsInPlace) {
    const Edit oneFont[] = {
        {"drawn_pieces.pdf", "Condensed"},  // a glyph per string, tightly tracked
        {"drawn_pieces.pdf", "Separate"},   // a text object per glyph, placed by cm
        {"drawn_pieces.pdf", "TEX"},        // a lowered letter
        {"drawn_pieces.pdf", "Raised"},     // a letter lifted by the text rise
        {"drawn_pieces.pdf", "Coloured"},   // a colour change between glyphs
        {"chromium_drawn.pdf", "Rainbowcoloured"},
        {"wkhtmltopdf_drawn.pdf", "Multihued"},
        {"ghostscript_drawn.pdf", "Sunken"},
        {"cairo_drawn.pdf", "Hoisted"},
    };
    for (const Edit& edit : oneFont) expectTrueEditInPlace(edit.file, edit.word);
    const Edit twoFonts[] = {
        {"drawn_pieces.pdf", "Mixed"},  // Helvetica and Times
        {"chromium_drawn.pdf", "Halfserifed"}, {"wkhtmltopdf_drawn.pdf", "boldfaced"},
        {"ghostscript_drawn.pdf", "Hybrid"},   {"cairo_drawn.pdf", "Crossbred"},
    };
    for (const Edit& edit : twoFonts) expectTrueEditInPlace(edit.file, edit.word, false);
}

TEST(TextOverRecords, shareAFontCannotShow_isCutWhereEachPieceFitsItsFont) {
    const Edit edits[] = {
        {"pdflatex_article.pdf", "(x)"},        // brackets upright, the letter in italic
        {"a2ps_listing.pdf", "(\"Kestrel\","},  // the string's letters in another face
        {"chromium_page.pdf", "Office"},        // an ff the fonts hold only as a ligature
    };
    for (const Edit& edit : edits) expectTrueEditInPlace(edit.file, edit.word, false, 0.5);
}

TEST(LigatureFindText, aFindTextWithALigatureCharacterMatchesTheLigatureGlyph) {
    // Extractors give dvipdfmx's "fi" glyph as U+FB01; the engine reads it as "fi".
    const std::string fi = "\xEF\xAC\x81";
    TempDir dir;
    Outcome o = applyRule(dir, "dvipdfmx_article.pdf", (fi + "fth.").c_str(), "fth." + fi);
    EXPECT_EQ(o.run.ruleResults(), std::vector<std::string>{"own font"}) << o.run.result.output;
    EXPECT_TRUE(uniqueWord(o.after, 1, "fth." + fi).has_value()) << pageWords(o.after, 1);
    EXPECT_FALSE(fontAdded("dvipdfmx_article.pdf", o));
}

TEST(TextOverRecords, twoOccurrencesSharingAPiece_areBothReplaced) {
    // "Hello Hello" as (Hel) (lo Hel) (lo), the middle piece bold: it ends one occurrence and
    // starts the next. Each edit must keep the other's change to the shared piece.
    TempDir dir;
    const auto input = dir / "shared.pdf";
    writeHelveticaPdf(input,
                      "BT /F1 12 Tf 100 700 Td (Hel) Tj ET\n"
                      "BT /F2 12 Tf 118 700 Td (lo Hel) Tj ET\n"
                      "BT /F1 12 Tf 150.676 700 Td (lo) Tj ET\n");
    EngineRun run = runTextRules(dir, input, {{1, 100, 80, 62, 12, "Hello", "leHol"}});
    EXPECT_EQ(run.ruleResults(), std::vector<std::string>{"own font"}) << run.result.output;
    const std::vector<Word> after = testsupport::extractWords(run.output);
    EXPECT_EQ(wordsNamed(after, 1, "leHol").size(), 2u) << pageWords(after, 1);
    EXPECT_TRUE(wordsNamed(after, 1, "Hello").empty()) << pageWords(after, 1);
}

TEST(TextOverRecords, partAFontCannotShow_goesWholeIntoAFontThatCanElseTheFallbackTakesAll) {
    // drawn_pieces.pdf: "Ratio" in Helvetica, then an alpha in Symbol, then " value".
    struct Case {
        const char* replace;
        const char* result;
        bool valueFollows;  // "value" follows the new word
        double valueMoves;  // by this much
    };
    const Case cases[] = {
        // Beta in Symbol, in order: 82 thousandths of an em narrower than alpha.
        {"Ratio\xCE\xB2", "own font", true, -0.984},
        // Helvetica takes it whole and the alpha gives way: the text after it follows, s being
        // 131 thousandths of an em narrower than alpha.
        {"Ratios", "own font", true, -1.572},
        {"Ratio\xD0\xB6",
         "fallback font: the font Helvetica has no glyph for \"\xD0\xB6\" (U+0436); "
         "written in Liberation Sans",
         false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replace);
        TempDir dir;
        Outcome o = applyRule(dir, "drawn_pieces.pdf", "Ratio\xCE\xB1", c.replace);
        ASSERT_TRUE(o.old.has_value());
        EXPECT_EQ(o.run.ruleResults(), std::vector<std::string>{c.result}) << o.run.result.output;
        const std::string text = testsupport::extractText(o.run.output, 1);
        EXPECT_EQ(text.find("Ratio\xCE\xB1"), std::string::npos) << text;
        EXPECT_EQ(text.find("\xCE\xB1"), std::string::npos) << text;
        std::optional<Word> now = uniqueWord(o.after, 1, c.replace);
        ASSERT_TRUE(now.has_value()) << pageWords(o.after, 1);
        EXPECT_NEAR(now->xMin, o.old->xMin, 1.0);
        EXPECT_EQ(fontAdded("drawn_pieces.pdf", o), std::string(c.result) != "own font");
        if (c.valueFollows) {
            std::optional<Word> before = uniqueWord(o.before, 1, "value");
            std::optional<Word> after = uniqueWord(o.after, 1, "value");
            ASSERT_TRUE(before && after);
            EXPECT_NEAR(after->xMin - before->xMin, c.valueMoves, 0.01);
        }
        EXPECT_TRUE(testsupport::qpdfCheckPasses(o.run.output));
    }
}

TEST(TurnedText, turnedByEitherMatrix_foundWhereThePageShowsItAndEditedInPlace) {
    for (const char* word : {"DownByCm", "UpByCm", "UpsideByCm", "DownByTm", "UpByTm", "UpsideByTm",
                             "TurnedTwice", "ScaledDown"}) {
        expectTrueEditInPlace("turned_by_matrix.pdf", word);
    }
    // Turned by 2 degrees off a quarter: the letters' own heights tip the box a little.
    for (const char* word : {"NearlyUpside", "SteepDown"}) {
        expectTrueEditInPlace("turned_by_matrix.pdf", word, true, 0.6);
    }
    for (const Edit& edit : std::vector<Edit>{{"wkhtmltopdf_drawn.pdf", "Headstand"},
                                              {"chromium_drawn.pdf", "Clockwise"},
                                              {"ghostscript_drawn.pdf", "Downward"},
                                              {"cairo_drawn.pdf", "Flipped"},
                                              {"cairo_drawn.pdf", "Rising"}}) {
        expectTrueEditInPlace(edit.file, edit.word);
    }
}

TEST(TurnedText, fallbackWritesInTheDirectionAndSizeOfTheOldText) {
    for (const char* word : {"DownByCm", "UpByTm", "UpsideByCm"}) {
        SCOPED_TRACE(word);
        TempDir dir;
        const std::string replace = std::string(kZhe) + (word + 1);
        Outcome o = applyRule(dir, "turned_by_matrix.pdf", word, replace);
        ASSERT_TRUE(o.old.has_value());
        EXPECT_TRUE(fontAdded("turned_by_matrix.pdf", o));
        EXPECT_TRUE(wordsNamed(o.after, 1, word).empty());
        std::optional<Word> now = uniqueWord(o.after, 1, replace);
        ASSERT_TRUE(now.has_value()) << pageWords(o.after, 1);
        // Turned like the old word, at its size (12: Liberation Sans boxes are 1.117 em thick),
        // over the same place.
        const double newThickness = std::min(now->xMax - now->xMin, now->yMax - now->yMin);
        EXPECT_EQ(now->yMax - now->yMin > now->xMax - now->xMin,
                  o.old->yMax - o.old->yMin > o.old->xMax - o.old->xMin);
        EXPECT_NEAR(newThickness, 12 * 1.117, 0.2);
        EXPECT_LT(std::max(now->xMin, o.old->xMin), std::min(now->xMax, o.old->xMax));
        EXPECT_LT(std::max(now->yMin, o.old->yMin), std::min(now->yMax, o.old->yMax));
        EXPECT_TRUE(testsupport::qpdfCheckPasses(o.run.output));
    }
}

TEST(AnnotationText,
     shownAppearanceTextIsEditedInItsStream_hiddenNotesAreNot_fieldValuesChangeInTheirField) {
    for (const char* word : {"Reviewed", "APPROVED"}) {
        expectTrueEditInPlace("annotation_text.pdf", word);
        TempDir dir;
        Outcome o = applyRule(dir, "annotation_text.pdf", word, turnedLetters(word));
        // The page's own text stays where it stood; the annotations stay.
        for (const char* pageWord : {"Page", "text", "under", "the", "notes"}) {
            std::optional<Word> before = uniqueWord(o.before, 1, pageWord);
            std::optional<Word> after = uniqueWord(o.after, 1, pageWord);
            ASSERT_TRUE(before && after) << pageWord;
            EXPECT_NEAR(after->xMin, before->xMin, 0.01) << pageWord;
        }
        const std::string objects = uncompressedObjects(o.run.output);
        EXPECT_NE(objects.find("/Subtype /FreeText"), std::string::npos);
        EXPECT_NE(objects.find("/Subtype /Stamp"), std::string::npos);
    }
    // A fallback writes into the note's appearance, over its yellow ground: dark pixels where
    // the new word stands.
    TempDir fallbackDir;
    const std::string zhuk = "\xD0\x96\xD1\x83\xD0\xBA";
    Outcome fallback = applyRule(fallbackDir, "annotation_text.pdf", "Reviewed", zhuk);
    EXPECT_TRUE(fontAdded("annotation_text.pdf", fallback));
    EXPECT_TRUE(wordsNamed(fallback.after, 1, "Reviewed").empty());
    std::optional<Word> written = uniqueWord(fallback.after, 1, zhuk);
    ASSERT_TRUE(written.has_value()) << pageWords(fallback.after, 1);
    EXPECT_NEAR(written->xMin, fallback.old->xMin, 1.0);
    const testsupport::Raster raster = testsupport::renderPage(fallback.run.output, 1, 72);
    int dark = 0;
    for (int y = static_cast<int>(written->yMin); y < static_cast<int>(written->yMax); ++y) {
        for (int x = static_cast<int>(written->xMin); x < static_cast<int>(written->xMax); ++x) {
            dark += raster.pixel(x, y) < 0x404040 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 10);
    // A text that now reaches past the note (x 300) is shown whole, in the page's font: the
    // appearance grows with it instead of cutting it off.
    const std::pair<std::string, std::string> wideCases[] = {
        {"Reviewed and approved by the board", "Anna"},  // "by Anna" follows the longer text
    };
    for (const auto& [replacement, lastWord] : wideCases) {
        TempDir wideDir;
        Outcome wide = applyRule(wideDir, "annotation_text.pdf", "Reviewed", replacement);
        std::optional<Word> last = uniqueWord(wide.after, 1, lastWord.c_str());
        ASSERT_TRUE(last.has_value()) << pageWords(wide.after, 1);
        ASSERT_GT(last->xMin, 300) << "the case does not reach past the note";
        const testsupport::Raster shown = testsupport::renderPage(wide.run.output, 1, 72);
        int lastDark = 0;
        for (int y = static_cast<int>(last->yMin); y < static_cast<int>(last->yMax); ++y) {
            for (int x = static_cast<int>(last->xMin); x < static_cast<int>(last->xMax); ++x) {
                lastDark += shown.pixel(x, y) < 0x404040 ? 1 : 0;
            }
        }
        EXPECT_GT(lastDark, 10) << lastWord;
        EXPECT_TRUE(testsupport::qpdfCheckPasses(wide.run.output));
    }
    // A fallback much wider than the old word is condensed into the old word's width, inside
    // the note, and still reads as written.
    const std::string beetles = "\xD0\x96\xD1\x83\xD0\xBA ";  // "Жук "
    std::string manyBeetles;
    for (int i = 0; i < 14; ++i) manyBeetles += beetles;
    TempDir condensedDir;
    Outcome condensed = applyRule(condensedDir, "annotation_text.pdf", "Reviewed", manyBeetles);
    ASSERT_TRUE(condensed.old.has_value());
    EXPECT_TRUE(fontAdded("annotation_text.pdf", condensed));
    EXPECT_NE(testsupport::extractText(condensed.run.output, 1).find(beetles + beetles),
              std::string::npos);
    for (const Word& word : condensed.after) {
        if (word.text.find("\xD0\x96") != std::string::npos) {
            EXPECT_GE(word.xMin, condensed.old->xMin - 0.5) << word.text;
            EXPECT_LE(word.xMax, condensed.old->xMax + 0.5) << word.text;
        }
    }
    // The hidden note (its appearance at 76, 408 from the bottom) and the form field's value
    // are not the page's text. Writing under the field would leave its old value on top, so a
    // rule on the value changes the field's value and what its widget shows instead.
    TempDir dir;
    EngineRun run = runTextRules(dir, testsupport::kitDir() / "annotation_text.pdf",
                                 {{1, 76, 792 - 408 - 12, 40, 12, "Hidden", "Shown"}});
    EXPECT_EQ(run.ruleResults(),
              std::vector<std::string>{
                  "fallback font: the find text is not on the page; written in Liberation Sans"});
    TempDir fieldDir;
    Outcome field = applyRule(fieldDir, "annotation_text.pdf", "Field", "Input");
    EXPECT_EQ(field.run.ruleResults(), std::vector<std::string>{"own font: form field"});
    EXPECT_FALSE(fontAdded("annotation_text.pdf", field));
    EXPECT_TRUE(uniqueWord(field.after, 1, "Input").has_value()) << pageWords(field.after, 1);
    EXPECT_TRUE(wordsNamed(field.after, 1, "Field").empty());
}

}  // namespace
