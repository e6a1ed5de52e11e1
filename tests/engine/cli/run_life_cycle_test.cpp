// Whole runs of `marqel` through the document life cycle: open, import, save. What a run keeps
// of its input (pages, text, unedited streams, structure, encryption), how it refuses inputs
// and outputs it must not touch, and what the PDF layer reports on the console.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

CommandResult marqel(const std::vector<std::string>& args) {
    return run(marqelPath(), args);
}

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Every page's boxes and rotation as the file states them.
std::vector<std::string> pageBoxes(const fs::path& pdf) {
    QPDF q;
    q.processFile(pdf.string().c_str());
    std::vector<std::string> boxes;
    for (QPDFObjectHandle page : q.getAllPages()) {
        std::string text;
        for (const char* key : {"/MediaBox", "/CropBox", "/Rotate"}) {
            QPDFObjectHandle value = page.getKey(key);
            text += std::string(key) + "=" + (value.isNull() ? "-" : value.unparseResolved()) + " ";
        }
        boxes.push_back(text);
    }
    return boxes;
}

std::string wordsText(const std::vector<Word>& words) {
    std::string text;
    char buffer[128];
    for (const Word& w : words) {
        std::snprintf(buffer, sizeof buffer, "%d %.2f %.2f %.2f %.2f ", w.page, w.xMin, w.yMin,
                      w.xMax, w.yMax);
        text += buffer + w.text + "\n";
    }
    return text;
}

std::string fontsText(const fs::path& pdf) {
    std::string text;
    for (const FontRow& f : listFonts(pdf)) {
        text += f.name + " " + f.type + " " + f.encoding + (f.embedded ? " emb" : "") +
                (f.subset ? " sub" : "") + (f.toUnicode ? " uni" : "") + "\n";
    }
    return text;
}

// The raw (still encoded) data of every stream of a file, with its filter.
std::multiset<std::string> rawStreams(const fs::path& pdf) {
    QPDF q;
    q.processFile(pdf.string().c_str());
    std::multiset<std::string> streams;
    for (QPDFObjectHandle object : q.getAllObjects()) {
        if (!object.isStream()) continue;
        auto data = object.getRawStreamData();
        streams.insert(
            object.getDict().getKey("/Filter").unparse() + "|" +
            std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()));
    }
    return streams;
}

// The raw data of one page's content streams, in order.
std::string rawPageContent(QPDF& q, int pageIndex) {
    QPDFObjectHandle page = q.getAllPages().at(static_cast<size_t>(pageIndex));
    QPDFObjectHandle contents = page.getKey("/Contents");
    std::vector<QPDFObjectHandle> parts =
        contents.isArray() ? contents.getArrayAsVector() : std::vector<QPDFObjectHandle>{contents};
    std::string raw;
    for (QPDFObjectHandle part : parts) {
        auto data = part.getRawStreamData();
        raw += std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()) + "|";
    }
    return raw;
}

// ---- empty rule files ------------------------------------------------------------------

struct EmptyRuleCase {
    const char* file;
    const char* mode;
};

std::ostream& operator<<(std::ostream& out, const EmptyRuleCase& c) {
    return out << c.file << " " << c.mode;
}

class EmptyRuleFile : public ::testing::TestWithParam<EmptyRuleCase> {};

TEST_P(EmptyRuleFile, exit1AndPagesTextAndStreamsUnchanged) {
    const EmptyRuleCase& c = GetParam();
    TempDir dir;
    const fs::path input = kitDir() / c.file;
    writeFile(dir / "rules.txt", "");
    const CommandResult r =
        marqel({input.string(), c.mode, (dir / "out.pdf").string(), (dir / "rules.txt").string()});
    ASSERT_EQ(r.exitCode, 1) << r.output;
    EXPECT_TRUE(qpdfCheckPasses(dir / "out.pdf"));
    EXPECT_EQ(pageBoxes(dir / "out.pdf"), pageBoxes(input));
    EXPECT_EQ(wordsText(extractWords(dir / "out.pdf")), wordsText(extractWords(input)));
    EXPECT_EQ(fontsText(dir / "out.pdf"), fontsText(input));
    // Nothing is decoded and encoded again: every stream's stored bytes are the input's.
    EXPECT_EQ(rawStreams(dir / "out.pdf"), rawStreams(input));
}

INSTANTIATE_TEST_SUITE_P(Kit, EmptyRuleFile,
                         ::testing::Values(EmptyRuleCase{"std14_helvetica.pdf", "-tesome"},
                                           EmptyRuleCase{"std14_helvetica.pdf", "-pisome"},
                                           EmptyRuleCase{"multipage.pdf", "-tesome"},
                                           EmptyRuleCase{"multipage.pdf", "-pisome"},
                                           EmptyRuleCase{"rotate90.pdf", "-tesome"},
                                           EmptyRuleCase{"offset_mediabox.pdf", "-pisome"},
                                           EmptyRuleCase{"cairo_text.pdf", "-tesome"},
                                           EmptyRuleCase{"cairo_text.pdf", "-pisome"},
                                           EmptyRuleCase{"ghostscript_type1c.pdf", "-tesome"},
                                           EmptyRuleCase{"form_xobject.pdf", "-pisome"},
                                           EmptyRuleCase{"libreoffice_letter.pdf", "-tesome"},
                                           EmptyRuleCase{"libreoffice_sheet.pdf", "-pisome"},
                                           EmptyRuleCase{"groff_memo.pdf", "-tesome"},
                                           EmptyRuleCase{"chromium_page.pdf", "-tesome"}),
                         [](const auto& info) {
                             return testsupport::identifier(std::string(info.param.file) +
                                                            info.param.mode);
                         });

// ---- streams of pages a run does not edit ----------------------------------------------

TEST(UneditedStreams, imageOnPageOne_otherPagesAndFontStreamsKeepTheirBytes) {
    TempDir dir;
    // Uncompressed streams (multipage.pdf) and Flate-compressed ones with an embedded subset.
    for (const char* file : {"multipage.pdf", "reportlab_ttf.pdf"}) {
        SCOPED_TRACE(file);
        const fs::path in = kitDir() / file;
        writeSolidBmp(dir / "red.bmp", 4, 4, 255, 0, 0);
        writeFile(dir / "rules.txt", "1:100:100:(" + (dir / "red.bmp").string() + "):50:50\r\n");
        const fs::path out = dir / (std::string("out_") + file);
        const CommandResult r =
            marqel({in.string(), "-pisome", out.string(), (dir / "rules.txt").string()});
        ASSERT_EQ(signedExitCode(r.exitCode), 1) << r.output;
        EXPECT_NE(r.output.find("Start insert image"), std::string::npos);
        QPDF before;
        before.processFile(in.string().c_str());
        QPDF after;
        after.processFile(out.string().c_str());
        ASSERT_EQ(after.getAllPages().size(), before.getAllPages().size());
        for (int page = 1; page < static_cast<int>(before.getAllPages().size()); ++page) {
            EXPECT_EQ(rawPageContent(after, page), rawPageContent(before, page))
                << "page " << page + 1;
        }
        // Every stream of the input other than page 1's content is still there, byte for byte.
        std::multiset<std::string> kept = rawStreams(out);
        std::multiset<std::string> expected = rawStreams(in);
        QPDFObjectHandle firstPage = before.getAllPages().at(0);
        QPDFObjectHandle firstContents = firstPage.getKey("/Contents");
        for (QPDFObjectHandle part : firstContents.isArray()
                                         ? firstContents.getArrayAsVector()
                                         : std::vector<QPDFObjectHandle>{firstContents}) {
            auto data = part.getRawStreamData();
            auto it = expected.find(
                part.getDict().getKey("/Filter").unparse() + "|" +
                std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()));
            if (it != expected.end()) expected.erase(it);
        }
        for (const std::string& stream : expected) {
            EXPECT_EQ(kept.count(stream), expected.count(stream))
                << "stream changed or lost: " << stream.substr(0, 60);
        }
        EXPECT_TRUE(qpdfCheckPasses(out));
    }
}

// ---- structure of the input ------------------------------------------------------------

// Outlines, links, form fields, metadata, page labels and Info, written as text that names
// pages by their number (object numbers may change on writing).
std::string structureOf(const fs::path& pdf) {
    QPDF q;
    q.processFile(pdf.string().c_str());
    std::vector<QPDFObjectHandle> pages = q.getAllPages();
    auto pageNumber = [&](QPDFObjectHandle dest) -> std::string {
        if (dest.isDictionary() && dest.hasKey("/D")) dest = dest.getKey("/D");
        if (dest.isArray() && dest.getArrayNItems() > 0) dest = dest.getArrayItem(0);
        for (size_t i = 0; i < pages.size(); ++i) {
            if (pages[i].getObjGen() == dest.getObjGen()) return "page" + std::to_string(i + 1);
        }
        return "nowhere";
    };
    std::string text;
    QPDFObjectHandle root = q.getRoot();
    text += "PageMode " + root.getKey("/PageMode").unparse() + "\n";
    for (QPDFObjectHandle item = root.getKey("/Outlines").getKey("/First"); item.isDictionary();
         item = item.getKey("/Next")) {
        QPDFObjectHandle dest = item.hasKey("/Dest") ? item.getKey("/Dest") : item.getKey("/A");
        text +=
            "Outline " + item.getKey("/Title").getUTF8Value() + " -> " + pageNumber(dest) + "\n";
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        QPDFObjectHandle annots = pages[i].getKey("/Annots");
        if (!annots.isArray()) continue;
        for (QPDFObjectHandle annot : annots.getArrayAsVector()) {
            text += "Page" + std::to_string(i + 1) + " annot " +
                    annot.getKey("/Subtype").unparse() + " rect " +
                    annot.getKey("/Rect").unparseResolved();
            if (annot.hasKey("/Dest") || annot.hasKey("/A")) {
                text += " -> " + pageNumber(annot.hasKey("/Dest") ? annot.getKey("/Dest")
                                                                  : annot.getKey("/A"));
            }
            if (annot.hasKey("/T")) {
                text += " field " + annot.getKey("/T").getUTF8Value() + "=" +
                        annot.getKey("/V").getUTF8Value() +
                        (annot.getKey("/AP").isDictionary() ? " with appearance" : "");
            }
            text += "\n";
        }
    }
    QPDFObjectHandle fields = root.getKey("/AcroForm").getKey("/Fields");
    if (fields.isArray()) {
        for (QPDFObjectHandle field : fields.getArrayAsVector()) {
            text += "Field " + field.getKey("/T").getUTF8Value() + "\n";
        }
    }
    QPDFObjectHandle metadata = root.getKey("/Metadata");
    if (metadata.isStream()) {
        auto data = metadata.getStreamData();
        text += "Metadata " +
                std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()) +
                "\n";
    }
    text += "PageLabels " + root.getKey("/PageLabels").unparseResolved() + "\n";
    QPDFObjectHandle info = q.getTrailer().getKey("/Info");
    for (const char* key : {"/Title", "/Author"}) {
        text +=
            std::string("Info ") + key + " " +
            (info.isDictionary() && info.getKey(key).isString() ? info.getKey(key).getUTF8Value()
                                                                : "-") +
            "\n";
    }
    return text;
}

struct StructureCase {
    const char* name;
    const char* mode;
    std::string rules;        // {IMG} stands for a small image
    const char* consoleMark;  // a line the run must print: the rule did its work
};

std::ostream& operator<<(std::ostream& out, const StructureCase& c) {
    return out << c.name;
}

class StructureKept : public ::testing::TestWithParam<StructureCase> {};

TEST_P(StructureKept, outlinesLinksFieldsMetadataAndLabelsSurvive) {
    const StructureCase& c = GetParam();
    TempDir dir;
    const fs::path input = kitDir() / "rich_structure.pdf";
    writeSolidBmp(dir / "red.bmp", 4, 4, 255, 0, 0);
    std::string rules = c.rules;
    for (size_t p; (p = rules.find("{IMG}")) != std::string::npos;) {
        rules.replace(p, 5, (dir / "red.bmp").string());
    }
    writeFile(dir / "rules.txt", rules);
    const fs::path out = dir / "out.pdf";
    const CommandResult r =
        marqel({input.string(), c.mode, out.string(), (dir / "rules.txt").string()});
    ASSERT_EQ(r.exitCode, 1) << r.output;
    EXPECT_NE(r.output.find(c.consoleMark), std::string::npos) << r.output;
    const std::string expected = structureOf(input);
    // The kit file really has all of it, so the comparison means something.
    for (const char* part :
         {"Outline Introduction", "annot /Link", "field customer_name=Jane Doe with appearance",
          "Kit Structure Sample", "Info /Author Kit Author", "/Nums"}) {
        ASSERT_NE(expected.find(part), std::string::npos) << part << "\n" << expected;
    }
    EXPECT_EQ(structureOf(out), expected);
    EXPECT_TRUE(qpdfCheckPasses(out));
    // An independent reader sees the same document information.
    auto infoLines = [](const fs::path& pdf) {
        std::string keep;
        std::istringstream lines(runTool("pdfinfo", {pdf.string()}).output);
        for (std::string line; std::getline(lines, line);) {
            for (const char* key : {"Title:", "Author:", "Pages:", "Form:", "Page size:"}) {
                if (line.rfind(key, 0) == 0) keep += line + "\n";
            }
        }
        return keep;
    };
    EXPECT_EQ(infoLines(out), infoLines(input));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, StructureKept,
    ::testing::Values(
        StructureCase{"emptyTextRules", "-tesome", "", ""},
        StructureCase{"emptyImageRules", "-pisome", "", ""},
        // "Introduction page", 18 pt on the baseline 720 of page 1 (the page with the link and
        // two content streams): top 54 pt, 18 pt high.
        StructureCase{"textRuleOnLinkPage", "-tesome", "1-150-113-300-38:Introduction:Welcome\r\n",
                      "change success? 1"},
        StructureCase{
            "imageRulesOnEveryPage", "-pisome",
            "1:300:300:({IMG}):50:50\r\n2:300:500:({IMG}):50:50\r\n3:300:300:({IMG}):50:50\r\n",
            "Start insert image"}),
    [](const auto& info) { return testsupport::identifier(info.param.name); });

// ---- rule files that cannot be read, outputs that must not be written -------------------

TEST(RuleFileAccess, readOnlyRuleFile_isReadAndTheRunSucceeds) {
    TempDir dir;
    writeSolidBmp(dir / "red.bmp", 4, 4, 255, 0, 0);
    const struct {
        const char* mode;
        std::string rule;
    } runs[] = {{"-tesome", "9-0-0-0-0:none:x"},
                {"-pisome", "9:0:0:(" + (dir / "red.bmp").string() + "):10:10"}};
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    for (const auto& run : runs) {
        const fs::path rules = dir / (std::string("rules") + run.mode + ".txt");
        writeFile(rules, run.rule + "\r\n");
        fs::permissions(rules, readOnly);
        const fs::path out = dir / (std::string("out") + run.mode + ".pdf");
        const CommandResult r =
            marqel({(kitDir() / "multipage.pdf").string(), run.mode, out.string(), rules.string()});
        EXPECT_EQ(r.exitCode, 1) << run.mode << "\n" << r.output;
        EXPECT_TRUE(fs::exists(out)) << run.mode;
        EXPECT_NE(r.output.find(run.rule), std::string::npos) << run.mode;
        EXPECT_EQ(readFile(rules), run.rule + "\r\n");
        EXPECT_EQ(fs::status(rules).permissions() & fs::perms::all, readOnly);
    }
}

TEST(RuleFileAccess, ruleFileIsAFolder_failsWithoutOutput) {
    TempDir dir;
    fs::create_directory(dir / "rules.txt");
    const fs::path input = kitDir() / "multipage.pdf";
    const CommandResult text = marqel(
        {input.string(), "-tesome", (dir / "out.pdf").string(), (dir / "rules.txt").string()});
    const CommandResult image = marqel(
        {input.string(), "-pisome", (dir / "out.pdf").string(), (dir / "rules.txt").string()});
    EXPECT_EQ(signedExitCode(text.exitCode), 3);
    EXPECT_EQ(signedExitCode(image.exitCode), -4);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"rules.txt"});
}

struct SameFileCase {
    const char* mode;
    int exitCode;
};

class OutputIsInput : public ::testing::TestWithParam<SameFileCase> {};

TEST_P(OutputIsInput, refusedAndInputUnchanged) {
    const SameFileCase& c = GetParam();
    TempDir dir;
    fs::copy_file(kitDir() / "multipage.pdf", dir / "in.pdf");
    writeSolidBmp(dir / "red.bmp", 4, 4, 255, 0, 0);
    writeFile(dir / "rules.txt", std::string(c.mode) == "-tesome"
                                     ? "1-150-125-300-25:Section:Changed\r\n"
                                     : "1:0:0:(" + (dir / "red.bmp").string() + "):50:50\r\n");
    const std::string before = readFile(dir / "in.pdf");
    // The same file under its own name and under a second spelling of its path.
    for (const fs::path& output : {dir / "in.pdf", dir.path() / "." / "in.pdf"}) {
        const CommandResult r = marqel(
            {(dir / "in.pdf").string(), c.mode, output.string(), (dir / "rules.txt").string()});
        EXPECT_EQ(signedExitCode(r.exitCode), c.exitCode) << output << "\n" << r.output;
        EXPECT_EQ(readFile(dir / "in.pdf"), before) << output;
        EXPECT_EQ(folderEntries(dir.path()),
                  (std::vector<std::string>{"in.pdf", "red.bmp", "rules.txt"}));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, OutputIsInput,
                         ::testing::Values(SameFileCase{"-tesome", 2}, SameFileCase{"-pisome", -5}),
                         [](const auto& info) { return testsupport::identifier(info.param.mode); });

TEST(FailedSave, outputPathIsAFolder_noTemporaryFileLeft) {
    TempDir dir;
    fs::create_directory(dir / "out.pdf");
    writeFile(dir / "rules.txt", "");
    const fs::path input = kitDir() / "multipage.pdf";
    const CommandResult text = marqel(
        {input.string(), "-tesome", (dir / "out.pdf").string(), (dir / "rules.txt").string()});
    const CommandResult image = marqel(
        {input.string(), "-pisome", (dir / "out.pdf").string(), (dir / "rules.txt").string()});
    EXPECT_EQ(signedExitCode(text.exitCode), 2) << text.output;
    EXPECT_EQ(signedExitCode(image.exitCode), -5) << image.output;
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"out.pdf", "rules.txt"}));
    EXPECT_TRUE(fs::is_empty(dir / "out.pdf"));
}

TEST(FailedSave, existingOutputIsReplacedOnlyWhenTheRunSucceeds) {
    TempDir dir;
    writeFile(dir / "out.pdf", "old output");
    writeFile(dir / "rules.txt", "1:0:0:(" + (dir / "missing.png").string() + "):50:50\r\n");
    const fs::path input = kitDir() / "multipage.pdf";
    const CommandResult failed = marqel(
        {input.string(), "-pisome", (dir / "out.pdf").string(), (dir / "rules.txt").string()});
    EXPECT_EQ(signedExitCode(failed.exitCode), -2);
    EXPECT_EQ(readFile(dir / "out.pdf"), "old output");
    writeFile(dir / "rules.txt", "");
    const CommandResult done = marqel(
        {input.string(), "-tesome", (dir / "out.pdf").string(), (dir / "rules.txt").string()});
    EXPECT_EQ(done.exitCode, 1);
    EXPECT_TRUE(qpdfCheckPasses(dir / "out.pdf"));
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"out.pdf", "rules.txt"}));
}

// ---- encrypted inputs ------------------------------------------------------------------

std::string encryptionOf(const fs::path& pdf) {
    return runTool("qpdf", {"--show-encryption", pdf.string()}).output;
}

TEST(EncryptedInput, ownerOnlyEncryption_processedAndOutputKeepsEncryptionAndPermissions) {
    TempDir dir;
    const fs::path input = kitDir() / "encrypted_owner_only.pdf";
    writeSolidBmp(dir / "red.bmp", 4, 4, 255, 0, 0);
    const struct {
        const char* mode;
        std::string rules;
    } runs[] = {{"-tesome", ""},
                {"-tesome", "1-150-125-300-25:Section:Changed\r\n"},
                {"-pisome", "2:100:100:(" + (dir / "red.bmp").string() + "):50:50\r\n"}};
    int n = 0;
    for (const auto& run : runs) {
        SCOPED_TRACE(std::string(run.mode) + " " + run.rules);
        writeFile(dir / "rules.txt", run.rules);
        const fs::path out = dir / ("out" + std::to_string(++n) + ".pdf");
        const CommandResult r =
            marqel({input.string(), run.mode, out.string(), (dir / "rules.txt").string()});
        ASSERT_EQ(r.exitCode, 1) << r.output;
        EXPECT_EQ(encryptionOf(out), encryptionOf(input));
        EXPECT_NE(encryptionOf(out).find("R = 6"), std::string::npos);
        EXPECT_TRUE(qpdfCheckPasses(out));
        EXPECT_NE(extractText(out, 3).find("Section Charlie overview"), std::string::npos);
    }
}

struct RefusedCase {
    const char* file;
    const char* mode;
    int exitCode;
    const char* message;  // part of what the run prints
};

std::ostream& operator<<(std::ostream& out, const RefusedCase& c) {
    return out << c.file << " " << c.mode;
}

class EncryptedRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(EncryptedRefused, failureCodeMessageAndNoOutput) {
    const RefusedCase& c = GetParam();
    TempDir dir;
    writeFile(dir / "rules.txt", "");
    const CommandResult r = marqel({(kitDir() / c.file).string(), c.mode,
                                    (dir / "out.pdf").string(), (dir / "rules.txt").string()});
    EXPECT_EQ(signedExitCode(r.exitCode), c.exitCode);
    EXPECT_NE(r.errors.find(c.message), std::string::npos) << r.errors;
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"rules.txt"});
}

INSTANTIATE_TEST_SUITE_P(
    Kit, EncryptedRefused,
    ::testing::Values(RefusedCase{"encrypted_no_modify.pdf", "-tesome", 0,
                                  "File error!: The document's permissions"},
                      RefusedCase{"encrypted_no_modify.pdf", "-pisome", -3,
                                  "File error!: The document's permissions"},
                      RefusedCase{"encrypted_user_password.pdf", "-tesome", 0, "File error!: "},
                      RefusedCase{"encrypted_user_password.pdf", "-pisome", -3, "File error!: "}),
    [](const auto& info) {
        return testsupport::identifier(std::string(info.param.file) + info.param.mode);
    });

// ---- what the PDF layer reports --------------------------------------------------------

TEST(LibraryMessages, damagedXref_recoveredWithWarningsAndWritten) {
    TempDir dir;
    std::string pdf = readFile(kitDir() / "std14_helvetica.pdf");
    // Point startxref somewhere wrong: the reader has to rebuild the cross-reference table.
    const size_t at = pdf.rfind("startxref");
    ASSERT_NE(at, std::string::npos);
    size_t digits = pdf.find_first_of("0123456789", at);
    pdf.replace(digits, pdf.find_first_not_of("0123456789", digits) - digits, "17");
    writeFile(dir / "damaged.pdf", pdf);
    ASSERT_FALSE(qpdfCheckPasses(dir / "damaged.pdf")) << "the file is not damaged";
    writeFile(dir / "rules.txt", "");
    for (const char* mode : {"-tesome", "-pisome"}) {
        const fs::path out = dir / (std::string("out") + mode + ".pdf");
        const CommandResult r = marqel(
            {(dir / "damaged.pdf").string(), mode, out.string(), (dir / "rules.txt").string()});
        EXPECT_EQ(r.exitCode, 1) << mode << "\n" << r.errors;
        EXPECT_EQ(r.errors.rfind("Warning!: ", 0), 0u) << mode << "\n" << r.errors;
        EXPECT_TRUE(qpdfCheckPasses(out)) << mode;
        EXPECT_EQ(extractText(out), extractText(kitDir() / "std14_helvetica.pdf")) << mode;
    }
}

TEST(LibraryMessages, unopenableInputs_reportedWithAnErrorPrefix) {
    TempDir dir;
    writeFile(dir / "rules.txt", "");
    writeFile(dir / "text.pdf", "Just some text.\n");
    writeFile(dir / "truncated.pdf", readFile(kitDir() / "std14_helvetica.pdf").substr(0, 9));
    const struct {
        fs::path input;
        const char* prefix;
    } cases[] = {{dir / "missing.pdf", "File error!: "},
                 {dir / "text.pdf", "error!: "},
                 {dir / "truncated.pdf", "error!: "}};
    for (const auto& c : cases) {
        const CommandResult r = marqel({c.input.string(), "-tesome", (dir / "out.pdf").string(),
                                        (dir / "rules.txt").string()});
        EXPECT_EQ(r.exitCode, 0) << c.input;
        EXPECT_NE(r.errors.find(c.prefix), std::string::npos) << c.input << "\n" << r.errors;
        EXPECT_FALSE(fs::exists(dir / "out.pdf"));
    }
}

}  // namespace
