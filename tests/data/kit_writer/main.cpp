// kit_writer: writes the exact test PDFs of the test-PDF kit, or a large text
// document for benchmarks.
//
//   kit_writer cases DIR [--font TTF]       every exact case into DIR
//   kit_writer bulk N OUT.pdf [--keyword W]  an N-page text document

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "BulkWriter.h"
#include "DrawnTextCases.h"
#include "FontCases.h"
#include "FormCases.h"
#include "PageCases.h"
#include "RichStructureCase.h"
#include "TextCases.h"

namespace {

const char* const defaultFont = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

int usage() {
    std::fprintf(stderr,
                 "usage: kit_writer cases DIR [--font TTF]\n"
                 "       kit_writer bulk N OUT.pdf [--keyword WORD]\n");
    return 2;
}

// Value following an option such as "--font", or the fallback.
std::string optionValue(const std::vector<std::string>& args, const std::string& option,
                        const std::string& fallback) {
    for (std::size_t index = 0; index + 1 < args.size(); ++index) {
        if (args[index] == option) {
            return args[index + 1];
        }
    }
    return fallback;
}

void writeCases(const std::string& dir, const std::string& font) {
    writeStd14Helvetica(dir + "/std14_helvetica.pdf");
    writeDifferences(dir + "/differences.pdf", font);
    writeTrueTypeWinAnsi(dir + "/truetype_winansi.pdf", font);
    writeTjKerning(dir + "/tj_kerning.pdf");
    writeRotatedText(dir + "/rotated_text.pdf");
    writeMultipage(dir + "/multipage.pdf");
    writeRotatedPage(dir + "/rotate90.pdf", 90, "NINETY");
    writeRotatedPage(dir + "/rotate270.pdf", 270, "TWOSEVENTY");
    writeOffsetMediaBox(dir + "/offset_mediabox.pdf");
    writeFormXObject(dir + "/form_xobject.pdf");
    writeRichStructure(dir + "/rich_structure.pdf");
    writeDrawnTextCases(dir);
    writeFontCases(dir);
    writeFormCases(dir);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() >= 2 && args[0] == "cases") {
            writeCases(args[1], optionValue(args, "--font", defaultFont));
            return 0;
        }
        if (args.size() >= 3 && args[0] == "bulk") {
            int pages = std::stoi(args[1]);
            if (pages < 1) {
                return usage();
            }
            writeBulk(args[2], pages, optionValue(args, "--keyword", ""));
            return 0;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kit_writer: %s\n", error.what());
        return 1;
    }
    return usage();
}
