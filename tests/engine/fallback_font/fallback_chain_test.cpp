// The chain of fallback fonts: Liberation Sans, then DejaVu Sans, then the script fonts, then the
// last resorts (Droid Sans Fallback), each character in the first font that has it, each font
// embedded as a subset of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "pdf/fallback_font/fallback_font.h"
#include "scoped_environment.h"
#include "test_support.h"

namespace relettra::pdf {
namespace {

namespace fs = std::filesystem;

// A PDF hex string of the bytes.
std::string hexString(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "<";
    for (const unsigned char b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0xF]);
    }
    return out + ">";
}

constexpr std::size_t kLiberation = 0;
constexpr std::size_t kDejaVu = 1;
constexpr std::size_t kDroid = 2;
constexpr std::size_t kThirdRead = 2;  // the font read after Liberation Sans and DejaVu Sans

FallbackFont loadedChain() {
    FallbackFont chain;
    std::string error;
    EXPECT_TRUE(chain.load(locateFallbackFontFile(), error)) << error;
    return chain;
}

std::vector<std::pair<std::size_t, std::string>> runsOf(const FallbackFont& chain,
                                                        const std::string& text) {
    std::vector<std::pair<std::size_t, std::string>> runs;
    for (const FallbackFont::Run& run : chain.runs(text)) runs.emplace_back(run.face, run.text);
    return runs;
}

TEST(FallbackChain, eachCharacter_isWrittenInTheFirstFontThatHasIt) {
    struct Case {
        const char* text;
        std::vector<std::pair<std::size_t, std::string>> runs;
    };
    const Case cases[] = {
        {"Grüße Ωμέγα Жук", {{kLiberation, "Grüße Ωμέγα Жук"}}},
        {"שלום", {{kLiberation, "שלום"}}},    // Liberation Sans 2 has Hebrew
        {"سلام", {{kDejaVu, "سلام"}}},        // Arabic: not in Liberation Sans
        {"ქართული", {{kDejaVu, "ქართული"}}},  // Georgian
        {"日本語", {{kDroid, "日本語"}}},
        {"Tokyo 東京 2024", {{kLiberation, "Tokyo "}, {kDroid, "東京"}, {kLiberation, " 2024"}}},
        {"Aक B", {{kLiberation, "A"}, {kThirdRead, "क"}, {kLiberation, " B"}}},  // Devanagari
        {"\uE000A", {{kLiberation, "A"}}},  // private use: in no font, left out
    };
    for (const Case& c : cases) {
        FallbackFont chain = loadedChain();
        EXPECT_EQ(runsOf(chain, c.text), c.runs) << c.text;
    }
}

TEST(FallbackChain, textTheFirstFontShows_readsNoOtherFont) {
    FallbackFont chain = loadedChain();
    EXPECT_TRUE(chain.coversAll("Grüße Ωμέγα Жук"));
    EXPECT_EQ(chain.faceCount(), 1u);
    EXPECT_TRUE(chain.covers(U'中'));
    EXPECT_EQ(chain.faceCount(), 3u);
}

TEST(FallbackChain, characterNoFontHas_isNotCovered) {
    FallbackFont chain = loadedChain();
    for (const char32_t c : {U'\uE000', U'\U0010FFFD', U'\u0378'}) {
        EXPECT_FALSE(chain.covers(c)) << std::hex << unsigned(c);
    }
    EXPECT_FALSE(chain.coversAll("Namaste \uE000"));
    EXPECT_TRUE(chain.coversAll("Grüße سلام 中文"));
    EXPECT_TRUE(chain.chainProblems().empty());
}

TEST(FallbackChain, writtenText_extractsAgainWithEachFontAnEmbeddedSubsetWithToUnicode) {
    const std::string line = "Price 12 € سلام 東京";
    FallbackFont chain = loadedChain();
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
    std::string content = "BT 72 700 Td ";
    for (const FallbackFont::Run& run : chain.runs(line)) {
        const std::string name = "/F" + std::to_string(run.face);
        fonts.replaceKey(name, chain.face(run.face).fontObject(pdf));
        content += name + " 12 Tf " + hexString(chain.face(run.face).encode(run.text)) + " Tj ";
    }
    content += "ET\n";
    QPDFObjectHandle page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>");
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/Font", fonts);
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", pdf.newStream(content));
    QPDFPageDocumentHelper(pdf).addPage(pdf.makeIndirectObject(page), false);
    chain.finish(pdf);
    EXPECT_EQ(chain.lastError(), "");
    testsupport::TempDir dir;
    const std::string out = (dir / "chain.pdf").string();
    QPDFWriter writer(pdf, out.c_str());
    writer.write();

    std::vector<std::string> words;
    for (const testsupport::Word& word : testsupport::extractWords(out)) words.push_back(word.text);
    // The word boxes list glyphs left to right: the Arabic word, drawn right to left, shows its
    // last letter first there, and reads as written in the extracted text.
    EXPECT_EQ(words, (std::vector<std::string>{"Price", "12", "€", "مالس", "東京"}));
    EXPECT_NE(testsupport::extractText(out).find("سلام"), std::string::npos);
    std::set<std::string> families;
    for (const testsupport::FontRow& row : testsupport::listFonts(out)) {
        EXPECT_EQ(row.type, "CID TrueType") << row.name;
        EXPECT_TRUE(row.embedded && row.subset && row.toUnicode) << row.name;
        families.insert(row.name.substr(row.name.find('+') + 1));
    }
    EXPECT_EQ(families,
              (std::set<std::string>{"LiberationSans", "DejaVuSans", "DroidSansFallback"}));
    EXPECT_TRUE(testsupport::qpdfCheckPasses(out));
}

TEST(FallbackChain, fontOfTheChainMissing_isLeftOutAndNamed) {
    const std::string missing =
        (fs::temp_directory_path() / "relettra_no_such_chain_font.ttf").string();
    testsupport::ScopedEnvironment env("RELETTRA_FALLBACK_CHAIN", missing.c_str());
    FallbackFont chain = loadedChain();
    EXPECT_TRUE(chain.covers(U'A'));
    EXPECT_FALSE(chain.covers(U'\u0633'));  // Arabic, from DejaVu Sans only
    ASSERT_EQ(chain.chainProblems().size(), 1u);
    EXPECT_NE(chain.chainProblems()[0].find(missing), std::string::npos)
        << chain.chainProblems()[0];
}

}  // namespace
}  // namespace relettra::pdf

namespace relettra::pdf {
namespace {

TEST(FallbackChain, eachLook_writesInItsFamiliesAndStyles) {
    struct Case {
        TextLook look;
        const char* text;
        std::vector<std::string> fonts;
    };
    const Case cases[] = {
        {{LetterForm::Serif, true, false}, "Total", {"Liberation Serif Bold"}},
        {{LetterForm::Monospace, false, true}, "THE", {"Liberation Mono Italic"}},
        {{LetterForm::SansSerif, true, true}, "Ωμέγα", {"Liberation Sans Bold Italic"}},
        // Hangul: Nanum's sans-serif and serif families; no italic, the bold kept.
        {{LetterForm::SansSerif, false, false}, "친구들", {"NanumGothic"}},
        {{LetterForm::Serif, true, true},
         "A 친구",
         {"Liberation Serif Bold Italic", "NanumMyeongjoBold"}},
        // Scripts of Noto's families, their serif forms for a serif look.
        {{LetterForm::SansSerif, false, false}, "สวัสดี", {"Noto Sans Thai"}},
        {{LetterForm::Serif, false, false}, "नमस्ते", {"Noto Serif Devanagari"}},
        {{LetterForm::SansSerif, false, false}, "ሰላም", {"Noto Sans Ethiopic"}},
        {{LetterForm::SansSerif, false, false}, "বাংলা", {"Noto Sans Bengali"}},
    };
    for (const Case& c : cases) {
        FallbackFont chain = loadedChain();
        chain.selectLook(c.look);
        EXPECT_TRUE(chain.coversAll(c.text)) << c.text;
        std::vector<std::string> fonts = chain.fontNames(c.text);
        for (std::string& name : fonts) {
            // Noto's regular fonts name themselves with or without "Regular".
            const std::string regular = " Regular";
            if (name.size() > regular.size() &&
                name.compare(name.size() - regular.size(), regular.size(), regular) == 0)
                name.erase(name.size() - regular.size());
        }
        EXPECT_EQ(fonts, c.fonts) << c.text;
        EXPECT_TRUE(chain.chainProblems().empty()) << c.text;
    }
}

TEST(FallbackChain, scriptCharacter_readsOnlyItsScriptsFont) {
    FallbackFont chain = loadedChain();
    EXPECT_TRUE(chain.covers(U'\uD55C'));  // 한
    // Liberation Sans, DejaVu Sans and NanumGothic; none of the other script fonts.
    EXPECT_EQ(chain.faceCount(), 3u);
    EXPECT_TRUE(chain.covers(U'\u0E01'));  // Thai
    EXPECT_EQ(chain.faceCount(), 4u);
}

}  // namespace
}  // namespace relettra::pdf
