// A run that changes nothing writes its input's bytes; one whose input is encrypted or has a
// flaw that a rewrite repairs writes the document anew.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// std14_helvetica.pdf with its cross-reference table pointing 5 bytes into object 5 (the font,
// which no page of an empty run reads): QPDF notices it only when it reads that object.
std::string misplacedObject() {
    std::string pdf = readFile(kitDir() / "std14_helvetica.pdf");
    const size_t entry = pdf.find("0000000686 00000 n");
    if (entry != std::string::npos) pdf.replace(entry, 10, "0000000691");
    return pdf;
}

struct UnchangedCase {
    const char* name;
    std::string input;  // the input's bytes
    const char* mode;
    std::string rules;
    bool passedThrough;
};

TEST(UnchangedInput, runChangingNothing_writesTheInputsBytesUnlessItNeedsARewrite) {
    const std::string image = (imagesDir() / "png_rgb.png").string();
    const UnchangedCase cases[] = {
        {"empty text rules", readFile(kitDir() / "libreoffice_letter.pdf"), "-tesome", "", true},
        {"empty image rules", readFile(kitDir() / "pdflatex_article.pdf"), "-pisome", "", true},
        {"image rule beyond the last page", readFile(kitDir() / "multipage.pdf"), "-pisome",
         "5:10:10:(" + image + "):20:20\r\n", true},
        {"encrypted input", readFile(kitDir() / "encrypted_owner_only.pdf"), "-tesome", "", false},
        {"object not where the table says", misplacedObject(), "-tesome", "", false},
    };
    for (const UnchangedCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ASSERT_FALSE(c.input.empty());
        writeFile(dir / "in.pdf", c.input);
        writeFile(dir / "rules.txt", c.rules);
        const CommandResult r =
            run(marqelPath(), {(dir / "in.pdf").string(), c.mode, (dir / "out.pdf").string(),
                               (dir / "rules.txt").string()});
        ASSERT_EQ(signedExitCode(r.exitCode), 1) << r.output << r.errors;
        EXPECT_EQ(readFile(dir / "out.pdf") == c.input, c.passedThrough);
        EXPECT_TRUE(qpdfCheckPasses(dir / "out.pdf"));
        EXPECT_EQ(extractText(dir / "out.pdf"), extractText(dir / "in.pdf"));
    }
}

}  // namespace
