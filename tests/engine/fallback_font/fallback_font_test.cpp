#include "pdf/fallback_font/fallback_font.h"

#include <gtest/gtest.h>
#include <hb.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "pdf/fallback_font/fallback_face.h"
#include "scoped_environment.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace relettra::pdf {
namespace {

namespace fs = std::filesystem;
using testsupport::ScopedEnvironment;

struct CommandResult {
    int exitCode = -1;
    std::string output;
};

CommandResult run(const std::string& command) {
    CommandResult result;
#ifdef _WIN32
    FILE* pipe = _popen(command.c_str(), "r");
#else
    FILE* pipe = popen(command.c_str(), "r");
#endif
    if (!pipe) return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, n);
    }
#ifdef _WIN32
    result.exitCode = _pclose(pipe);
#else
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return result;
}

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0xF]);
    }
    return out;
}

std::string asString(const std::shared_ptr<Buffer>& buffer) {
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

class FallbackFaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fontFile_ = locateFallbackFontFile();
        std::string error;
        ASSERT_TRUE(font_.load(fontFile_, error)) << error;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("relettra_fallback_") + info->name() + "_" +
                                            std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // A one-page PDF with each line drawn in the fallback font at 12 pt, 20 pt apart.
    fs::path writePdf(const std::vector<std::string>& lines, const std::string& name = "out.pdf") {
        QPDF pdf;
        pdf.emptyPDF();
        QPDFObjectHandle fontObject = font_.fontObject(pdf);
        EXPECT_TRUE(fontObject.isInitialized());
        std::string content;
        int y = 700;
        for (const std::string& line : lines) {
            content += "BT /F1 12 Tf 72 " + std::to_string(y) + " Td <" + hex(font_.encode(line)) +
                       "> Tj ET\n";
            y -= 20;
        }
        QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
        fonts.replaceKey("/F1", fontObject);
        QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/Font", fonts);
        QPDFObjectHandle page =
            QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>");
        page.replaceKey("/Resources", resources);
        page.replaceKey("/Contents", pdf.newStream(content));
        QPDFPageDocumentHelper(pdf).addPage(pdf.makeIndirectObject(page), false);
        font_.finish(pdf);
        EXPECT_EQ(font_.lastError(), "");
        const fs::path out = dir_ / name;
        const std::string outName = out.string();  // the writer keeps the pointer
        QPDFWriter writer(pdf, outName.c_str());
        writer.setStreamDataMode(qpdf_s_preserve);
        writer.write();
        return out;
    }

    // The FontFile2 stream of the first page's font /F1.
    static QPDFObjectHandle fontFileOf(QPDF& pdf) {
        QPDFObjectHandle page = QPDFPageDocumentHelper(pdf).getAllPages().at(0).getObjectHandle();
        return page.getKey("/Resources")
            .getKey("/Font")
            .getKey("/F1")
            .getKey("/DescendantFonts")
            .getArrayItem(0)
            .getKey("/FontDescriptor")
            .getKey("/FontFile2");
    }

    fs::path fontFile_;
    FallbackFace font_;
    fs::path dir_;
};

TEST_F(FallbackFaceTest, mixedScriptsWrittenToPdf_extractAgainExactly) {
    const std::vector<std::string> lines = {
        "Grüße Ωμέγα Привет",
        "Ærøskøbing, façon naïve, Łódź, Šťastný, Ğüneş",
        "Ελληνικά ΆΈΉ ϊΰ; ёжик Ґанок Їжак Ўсход",
        "12,50 € – „Zitat“ «citation» № 7 ½ ©",
    };
    const fs::path out = writePdf(lines);
    const CommandResult text = run("pdftotext -enc UTF-8 " + quoted(out) + " -");
    ASSERT_EQ(text.exitCode, 0);
    std::istringstream stream(text.output);
    std::vector<std::string> extracted;
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line != "\f") extracted.push_back(line);
    }
    EXPECT_EQ(extracted, lines);
}

TEST_F(FallbackFaceTest, writtenPdf_hasOneEmbeddedCidTrueTypeSubsetWithToUnicode_andPassesCheck) {
    const fs::path out = writePdf({"Grüße Ωμέγα Привет"});

    const CommandResult fonts = run("pdffonts " + quoted(out));
    ASSERT_EQ(fonts.exitCode, 0) << fonts.output;
    const std::regex row(
        R"(^([A-Z]{6}\+LiberationSans) +CID TrueType +Identity-H +yes +yes +yes +\d+ +0$)");
    std::istringstream stream(fonts.output);
    int fontRows = 0;
    int matchingRows = 0;
    bool pastHeader = false;
    for (std::string line; std::getline(stream, line);) {
        if (line.rfind("----", 0) == 0) {
            pastHeader = true;
        } else if (pastHeader && !line.empty()) {
            ++fontRows;
            if (std::regex_match(line, row)) ++matchingRows;
        }
    }
    EXPECT_EQ(fontRows, 1) << fonts.output;
    EXPECT_EQ(matchingRows, 1) << fonts.output;

    const CommandResult check = run("qpdf --check " + quoted(out) + " 2>&1");
    EXPECT_EQ(check.exitCode, 0) << check.output;
}

TEST_F(FallbackFaceTest, embeddedProgram_isSmallCompressedAndHoldsOnlyUsedGlyphs) {
    const std::string used = "Grüße Ωμέγα Привет";
    const fs::path out = writePdf({used});

    QPDF pdf;
    pdf.processFile(out.string().c_str());
    QPDFObjectHandle fontFile = fontFileOf(pdf);
    ASSERT_TRUE(fontFile.isStream());
    EXPECT_TRUE(fontFile.getDict().getKey("/Filter").isNameAndEquals("/FlateDecode"));
    const std::string raw = asString(fontFile.getRawStreamData());
    const std::string program = asString(fontFile.getStreamData(qpdf_dl_all));
    EXPECT_EQ(fontFile.getDict().getKey("/Length1").getIntValue(),
              static_cast<long long>(program.size()));
    EXPECT_LT(raw.size(), program.size());
    // The whole font is about 400 KB; a handful of glyphs must stay a few KB.
    EXPECT_LT(raw.size(), 8u * 1024) << "compressed font program";
    EXPECT_LT(program.size(), 24u * 1024) << "font program";

    // Glyphs of the text keep their outlines at their original ids; others are empty.
    hb_blob_t* blob = hb_blob_create(program.data(), static_cast<unsigned>(program.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* subset = hb_font_create(face);
    hb_blob_t* fullBlob = hb_blob_create_from_file(fontFile_.string().c_str());
    hb_face_t* fullFace = hb_face_create(fullBlob, 0);
    hb_font_t* full = hb_font_create(fullFace);
    auto hasOutline = [&](char32_t c) {
        hb_codepoint_t glyph = 0;
        EXPECT_TRUE(hb_font_get_nominal_glyph(full, c, &glyph));
        hb_glyph_extents_t extents{};
        hb_font_get_glyph_extents(subset, glyph, &extents);
        return extents.width != 0 && extents.height != 0;
    };
    for (const char32_t c : {U'G', U'ü', U'ß', U'Ω', U'έ', U'П', U'т'}) {
        EXPECT_TRUE(hasOutline(c)) << "used U+" << std::hex << unsigned(c);
    }
    for (const char32_t c : {U'Z', U'Q', U'Ж', U'Ψ', U'é', U'0'}) {
        EXPECT_FALSE(hasOutline(c)) << "unused U+" << std::hex << unsigned(c);
    }
    hb_font_destroy(full);
    hb_face_destroy(fullFace);
    hb_blob_destroy(fullBlob);
    hb_font_destroy(subset);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
}

TEST_F(FallbackFaceTest, highestGlyphIdInFont_stillGivesSmallCompressedProgram) {
    // U+FFFC has the highest glyph id of the cmap (2329 of 2620): glyph ids are kept, so the
    // metrics and location tables span every id below it, which must compress to little.
    const fs::path out = writePdf({"A\uFFFC"});
    QPDF pdf;
    pdf.processFile(out.string().c_str());
    QPDFObjectHandle fontFile = fontFileOf(pdf);
    ASSERT_TRUE(fontFile.isStream());
    EXPECT_LT(asString(fontFile.getRawStreamData()).size(), 6u * 1024);
}

TEST_F(FallbackFaceTest, widthsWritten_matchAdvanceAsMeasuredByExtractor) {
    const std::string word = "Wolkenkratzer";
    const fs::path out = writePdf({word});
    const CommandResult boxes = run("pdftotext -bbox " + quoted(out) + " -");
    ASSERT_EQ(boxes.exitCode, 0);
    const std::regex wordRow(
        R"re(<word xMin="([0-9.]+)" yMin="[0-9.]+" xMax="([0-9.]+)" yMax="[0-9.]+">Wolkenkratzer</word>)re");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(boxes.output, match, wordRow)) << boxes.output;
    const double width = std::stod(match[2]) - std::stod(match[1]);
    EXPECT_NEAR(std::stod(match[1]), 72.0, 0.01);
    EXPECT_NEAR(width, font_.advance(word) * 12.0, 0.01);
    EXPECT_GT(width, 60.0);  // 13 letters at 12 pt: an advance of zero would show here
}

TEST_F(FallbackFaceTest, coverage_trueForCoveredScriptsFalseForMissingCharacters) {
    struct Case {
        char32_t c;
        bool covered;
    };
    const Case cases[] = {
        {U'A', true},       {U'ß', true},   {U'Ω', true},           {U'Ж', true},
        {U'€', true},       {U' ', true},   {U'中', false},         {U'\U0001F600', false},
        {U'\uE000', false}, {U'ア', false}, {U'\U0010FFFF', false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(font_.covers(c.c), c.covered) << "U+" << std::hex << unsigned(c.c);
    }
    EXPECT_TRUE(font_.coversAll("Grüße Ωμέγα Привет"));
    EXPECT_FALSE(font_.coversAll("Grüße 中"));
    EXPECT_FALSE(font_.coversAll("A\xFF"));
}

TEST_F(FallbackFaceTest, uncoveredCharacters_areLeftOutOfEncodingAndAdvance) {
    EXPECT_EQ(font_.encode("A中B"), font_.encode("AB"));
    EXPECT_EQ(font_.encode("AB").size(), 4u);
    EXPECT_DOUBLE_EQ(font_.advance("A中B"), font_.advance("AB"));
    EXPECT_EQ(font_.encode("中"), "");
}

TEST_F(FallbackFaceTest, metrics_comeFromFontTables) {
    // Liberation Sans shares Arial's vertical metrics: 1854 and -434 of 2048 units.
    EXPECT_NEAR(font_.ascent(), 1854.0 / 2048, 1e-9);
    EXPECT_NEAR(font_.descent(), -434.0 / 2048, 1e-9);
    EXPECT_NEAR(font_.advance("A"), 1366.0 / 2048, 1e-9);
}

TEST_F(FallbackFaceTest, fontObjectNeverAsked_finishAddsNothing) {
    QPDF pdf;
    pdf.emptyPDF();
    const std::size_t before = pdf.getAllObjects().size();
    font_.encode("unused");
    font_.finish(pdf);
    EXPECT_EQ(pdf.getAllObjects().size(), before);
}

TEST_F(FallbackFaceTest, fontObjectAskedTwice_isTheSameIndirectObject) {
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle first = font_.fontObject(pdf);
    QPDFObjectHandle second = font_.fontObject(pdf);
    ASSERT_TRUE(first.isIndirect());
    EXPECT_EQ(first.getObjGen(), second.getObjGen());
}

TEST_F(FallbackFaceTest, finishWithoutNewGlyphs_keepsTheEmbeddedProgramAndOnlyNewGlyphsRedoIt) {
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle type0 = font_.fontObject(pdf);
    const auto program = [&type0] {
        return type0.getKey("/DescendantFonts")
            .getArrayItem(0)
            .getKey("/FontDescriptor")
            .getKey("/FontFile2")
            .getObjGen();
    };
    font_.encode("Abc");
    font_.finish(pdf);
    const QPDFObjGen first = program();
    font_.encode("cAb");
    font_.finish(pdf);
    EXPECT_EQ(program(), first);
    font_.encode("Z");
    font_.finish(pdf);
    EXPECT_NE(program(), first);
}

TEST(FallbackFaceLoad, missingOrInvalidFile_failsWithMessageNamingTheProblem) {
    const fs::path dir = fs::temp_directory_path() / "relettra_fallback_load";
    fs::create_directories(dir);
    const fs::path notAFont = dir / "not_a_font.ttf";
    std::ofstream(notAFont) << "this is plain text, not a font\n";
    const fs::path empty = dir / "empty.ttf";
    std::ofstream{empty};

    struct Case {
        fs::path file;
        const char* expectedPart;
    };
    const Case cases[] = {
        {dir / "missing.ttf", "cannot open font file"},
        {notAFont, "no TrueType font"},
        {empty, "is empty"},
        {fs::path(), "no fallback font file found"},
    };
    for (const Case& c : cases) {
        FallbackFace font;
        std::string error;
        EXPECT_FALSE(font.load(c.file, error)) << c.file;
        EXPECT_NE(error.find(c.expectedPart), std::string::npos) << error;
        if (!c.file.empty()) {
            EXPECT_NE(error.find(c.file.string()), std::string::npos) << error;
        }
        EXPECT_FALSE(font.isLoaded());
        EXPECT_FALSE(font.covers(U'A'));
        EXPECT_EQ(font.encode("A"), "");
        QPDF pdf;
        pdf.emptyPDF();
        EXPECT_FALSE(font.fontObject(pdf).isInitialized());
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
}

TEST(FallbackFontLocate, environmentOverride_isReturnedAndAMissingFileFailsToLoad) {
    const std::string missing = (fs::temp_directory_path() / "relettra_no_such_font.ttf").string();
    ScopedEnvironment env("RELETTRA_FALLBACK_FONT", missing.c_str());
    const fs::path located = locateFallbackFontFile();
    EXPECT_EQ(located, fs::path(missing));
    FallbackFont font;
    std::string error;
    EXPECT_FALSE(font.load(located, error));
    EXPECT_NE(error.find(missing), std::string::npos) << error;
}

TEST(FallbackFontLocate, withoutOverride_findsALoadableLiberationSans) {
    ScopedEnvironment env("RELETTRA_FALLBACK_FONT", nullptr);
    const fs::path located = locateFallbackFontFile();
    ASSERT_FALSE(located.empty());
    EXPECT_EQ(located.filename(), "LiberationSans-Regular.ttf");
    FallbackFont font;
    std::string error;
    EXPECT_TRUE(font.load(located, error)) << error;
}

}  // namespace
}  // namespace relettra::pdf
