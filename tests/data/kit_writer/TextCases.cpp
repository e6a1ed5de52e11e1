#include "TextCases.h"

#include <cmath>

#include "ContentWriter.h"
#include "KitDocument.h"
#include "TrueTypeFont.h"

void writeStd14Helvetica(const std::string& path) {
    KitDocument document;
    auto resources = document.fontResources({{"F1", document.standardFont("Helvetica")}});
    ContentWriter content;
    // The same word twice in one string.
    content.textAt("F1", 12, 72, 720, "alpha beta alpha gamma");
    content.textAt("F1", 12, 72, 696, "Invoice number 12345 due today");
    // Two strings on one baseline, both holding "apple".
    content.textAt("F1", 12, 72, 672, "left apple pie");
    content.textAt("F1", 12, 300, 672, "right apple tart");
    // Accented letters from the upper half of WinAnsi.
    content.textAt("F1", 12, 72, 648,
                   "Caf\xE9 cr\xE8me br\xFBl\xE9"
                   "e");
    content.textAt("F1", 20, 72, 600, "Large Heading Text");
    content.textAt("F1", 12, 72, 560, "Small print follows the heading");
    document.addPage(PageBox{}, resources, content.data());
    document.write(path);
}

void writeDifferences(const std::string& path, const std::string& trueTypePath) {
    KitDocument document;
    TrueTypeFont trueType(trueTypePath);
    // Upper-case codes A..H draw other glyphs: "ABCCD EDFCG" shows "Hello World".
    Differences remapped = {{65, "H"}, {66, "e"}, {67, "l"}, {68, "o"},
                            {69, "W"}, {70, "r"}, {71, "d"}, {72, "eacute"}};
    auto trueTypeFont = trueType.embed(document, remapped);

    // The digits 0..4 of standard-14 Helvetica draw Z, e, b, r, a.
    auto helveticaDifferences = QPDFObjectHandle::parse(
        "<< /Type /Encoding /BaseEncoding /WinAnsiEncoding /Differences [48 /Z /e /b /r /a] >>");
    auto helvetica = document.standardFont("Helvetica", helveticaDifferences);

    auto resources = document.fontResources({{"F1", trueTypeFont}, {"F2", helvetica}});
    ContentWriter content;
    content.textAt("F1", 12, 72, 720, "ABCCD EDFCG");       // Hello World
    content.textAt("F1", 12, 72, 696, "numbers 123 stay");  // codes not remapped
    content.textAt("F1", 12, 72, 672, "cafH menu");         // caf\xE9 menu
    content.textAt("F2", 12, 72, 630, "01234 stripes");     // Zebra stripes
    content.textAt("F2", 12, 72, 606, "plain 567 digits");  // digits 5..7 unchanged
    document.addPage(PageBox{}, resources, content.data());
    document.write(path);
}

void writeTrueTypeWinAnsi(const std::string& path, const std::string& trueTypePath) {
    KitDocument document;
    TrueTypeFont trueType(trueTypePath);
    auto resources = document.fontResources({{"F1", trueType.embed(document)}});
    ContentWriter content;
    content.textAt("F1", 12, 72, 720, "Embedded TrueType sample");
    content.textAt("F1", 12, 72, 696, "Quarterly report 2024 totals");
    content.textAt("F1", 12, 72, 672,
                   "na\xEFve r\xE9sum\xE9 fa\xE7"
                   "ade");
    content.textAt("F1", 20, 72, 630, "Bigger Words Here");
    document.addPage(PageBox{}, resources, content.data());
    document.write(path);
}

void writeTjKerning(const std::string& path) {
    KitDocument document;
    auto resources = document.fontResources({{"F1", document.standardFont("Helvetica")}});
    ContentWriter content;
    content.beginText().font("F1", 12).moveText(72, 720);
    content.showArray({TjPart::text("W"), TjPart::kern(120), TjPart::text("orld"),
                       TjPart::kern(-50), TjPart::text("wide"), TjPart::kern(-278),
                       TjPart::text("shipping")});
    content.show(" included today");
    content.endText();

    content.beginText().font("F1", 12).moveText(72, 696);
    content.showArray({TjPart::text("T"), TjPart::kern(70), TjPart::text("otal"),
                       TjPart::kern(-4000), TjPart::text("amount")});
    content.show(" due");
    content.endText();

    content.beginText().font("F1", 12).moveText(72, 672);
    content.showArray({TjPart::text("A"), TjPart::kern(80), TjPart::text("V"), TjPart::kern(80),
                       TjPart::text("A"), TjPart::kern(60), TjPart::text("T"), TjPart::text("AR"),
                       TjPart::kern(-300), TjPart::text("code")});
    content.endText();
    document.addPage(PageBox{}, resources, content.data());
    document.write(path);
}

void writeRotatedText(const std::string& path) {
    KitDocument document;
    auto resources = document.fontResources({{"F1", document.standardFont("Helvetica")}});
    ContentWriter content;
    content.textAt("F1", 12, 72, 720, "Horizontal reference line");
    // Runs bottom to top: text x axis along page +y.
    content.beginText().font("F1", 12).textMatrix(0, 1, -1, 0, 300, 300).show("UPWARD").endText();
    // Runs top to bottom: text x axis along page -y.
    content.beginText().font("F1", 12).textMatrix(0, -1, 1, 0, 400, 600).show("DOWNWARD").endText();
    // Slightly turned, 3 degrees counter-clockwise.
    const double angle = 3.0 * M_PI / 180.0;
    content.beginText()
        .font("F1", 12)
        .textMatrix(std::cos(angle), std::sin(angle), -std::sin(angle), std::cos(angle), 100, 200)
        .show("TILTED")
        .endText();
    document.addPage(PageBox{}, resources, content.data());
    document.write(path);
}
