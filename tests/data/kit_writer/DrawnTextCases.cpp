#include "DrawnTextCases.h"

#include <cmath>
#include <map>
#include <string_view>
#include <vector>

#include "ContentWriter.h"
#include "KitDocument.h"

namespace {

using OH = QPDFObjectHandle;

// Advances of Helvetica (thousandths of the size) for the characters these pages draw.
double helveticaAdvance(char c) {
    static const std::map<char, double> widths = {
        {' ', 278}, {'B', 667}, {'C', 722}, {'E', 667}, {'M', 833}, {'R', 722},
        {'S', 667}, {'T', 611}, {'X', 667}, {'a', 556}, {'d', 556}, {'e', 556},
        {'f', 278}, {'g', 556}, {'i', 222}, {'l', 222}, {'n', 556}, {'o', 556},
        {'p', 556}, {'r', 333}, {'s', 500}, {'t', 278}, {'u', 556}, {'x', 500}};
    return widths.at(c);
}

double helveticaWidth(std::string_view text, double size) {
    double width = 0;
    for (char c : text) width += helveticaAdvance(c) * size / 1000.0;
    return width;
}

// "Condensed" one glyph per string, each moved on by its advance less 0.15 em (tight tracking,
// more than half a space), then the rest of the line after the last glyph.
void glyphPerString(ContentWriter& content, double x, double y) {
    const std::string word = "Condensed";
    content.beginText().font("F1", 12).moveText(x, y);
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (i > 0) content.moveText(helveticaAdvance(word[i - 1]) * 0.012 - 1.8, 0);
        content.show(word.substr(i, 1));
    }
    content.moveText(helveticaAdvance(word.back()) * 0.012, 0).show(" text line").endText();
}

// "Separate" with each glyph in a text object of its own, placed by the transformation matrix.
void textObjectPerGlyph(ContentWriter& content, double x, double y) {
    const std::string word = "Separate";
    for (char c : word) {
        content.op("q").num(1).num(0).num(0).num(1).num(x).num(y).op("cm");
        content.beginText().font("F1", 12).moveText(0, 0).show(std::string(1, c)).endText();
        content.op("Q");
        x += helveticaAdvance(c) * 0.012;
    }
    content.textAt("F1", 12, x, y, " blocks follow");
}

// "Mixed" as Helvetica "Mix" and Times "ed" in two text objects, then "Bigger" as "Big" at 12
// and "ger" at 16 points in one text object.
void wordsInTwoFonts(ContentWriter& content, double x, double y) {
    content.textAt("F1", 12, x, y, "Mix");
    x += helveticaWidth("Mix", 12);
    content.textAt("F2", 12, x, y, "ed");
    x += (444 + 500) * 0.012;  // Times "ed"
    content.textAt("F1", 12, x, y, " fonts and ");
    x += helveticaWidth(" fonts and ", 12);
    content.beginText().font("F1", 12).moveText(x, y).show("Big");
    content.font("F1", 16).moveText(helveticaWidth("Big", 12), 0).show("ger").endText();
}

// "TEX" with its E lowered by a move down and back up (as typesetters set their logo), and
// "Raised" whose "a" the text rise lifts, without any move.
void raisedAndLoweredLetters(ContentWriter& content, double x, double y) {
    content.beginText().font("F1", 12).moveText(x, y).show("T");
    content.moveText(helveticaWidth("T", 12) - 2.0, -2.6).show("E");
    content.moveText(helveticaWidth("E", 12) - 1.5, 2.6).show("X");
    content.moveText(helveticaWidth("X", 12), 0).show(" logo and ");
    content.show("R").num(2.5).op("Ts").show("a").num(0).op("Ts").show("ised").endText();
}

// "Ratio" in Helvetica directly followed by an alpha in Symbol, fonts switched without a move.
void wordWithSymbol(ContentWriter& content, double x, double y) {
    content.beginText().font("F1", 12).moveText(x, y).show("Ratio");
    content.font("F3", 12).show("a");  // alpha in the Symbol font
    content.font("F1", 12).show(" value").endText();
}

// "Coloured" one glyph per string, each placed by its own text matrix, the colour changing
// between the glyphs.
void colouredGlyphs(ContentWriter& content, double x, double y) {
    const std::string word = "Coloured";
    content.beginText().font("F1", 12);
    for (std::size_t i = 0; i < word.size(); ++i) {
        content.op(i % 2 == 0 ? "0 0 0.8 rg" : "0.8 0 0 rg");
        content.textMatrix(1, 0, 0, 1, x, y).show(word.substr(i, 1));
        x += helveticaAdvance(word[i]) * 0.012;
    }
    content.op("0 g").textMatrix(1, 0, 0, 1, x, y).show(" letters").endText();
}

void writeDrawnPieces(const std::string& path) {
    KitDocument document;
    auto resources =
        document.fontResources({{"F1", document.standardFont("Helvetica")},
                                {"F2", document.standardFont("Times-Roman")},
                                {"F3", document.standardFont("Symbol", OH::newNull())}});
    ContentWriter content;
    glyphPerString(content, 72, 720);
    textObjectPerGlyph(content, 72, 684);
    wordsInTwoFonts(content, 72, 648);
    raisedAndLoweredLetters(content, 72, 612);
    wordWithSymbol(content, 72, 576);
    colouredGlyphs(content, 72, 540);
    document.addPage(PageBox{}, resources, content.data());
    document.write(path);
}

// One word shown at (0, 0) of the current matrices.
void wordAtOrigin(ContentWriter& content, const std::string& word, double size = 12) {
    content.beginText().font("F1", size).moveText(0, 0).show(word).endText();
}

void turnedByCm(ContentWriter& content, double a, double b, double c, double d, double e, double f,
                const std::string& word, double size = 12) {
    content.op("q").num(a).num(b).num(c).num(d).num(e).num(f).op("cm");
    wordAtOrigin(content, word, size);
    content.op("Q");
}

void turnedByTm(ContentWriter& content, double a, double b, double c, double d, double e, double f,
                const std::string& word) {
    content.beginText().font("F1", 12).textMatrix(a, b, c, d, e, f).show(word).endText();
}

void writeTurnedByMatrix(const std::string& path) {
    KitDocument document;
    auto resources = document.fontResources({{"F1", document.standardFont("Helvetica")}});
    ContentWriter content;
    content.textAt("F1", 12, 72, 740, "Upright reference line");
    // Quarter turns by the transformation matrix and by the text matrix.
    turnedByCm(content, 0, -1, 1, 0, 100, 700, "DownByCm");
    turnedByCm(content, 0, 1, -1, 0, 160, 300, "UpByCm");
    turnedByCm(content, -1, 0, 0, -1, 560, 650, "UpsideByCm");
    turnedByTm(content, 0, -1, 1, 0, 220, 700, "DownByTm");
    turnedByTm(content, 0, 1, -1, 0, 280, 300, "UpByTm");
    turnedByTm(content, -1, 0, 0, -1, 560, 600, "UpsideByTm");
    // A quarter turn by each matrix: upside down together.
    content.op("q 0 1 -1 0 400 400 cm");
    turnedByTm(content, 0, 1, -1, 0, 0, 0, "TurnedTwice");
    content.op("Q");
    // Turned and scaled by 2 with a 6 point font: 12 points on the page.
    turnedByCm(content, 0, -2, 2, 0, 340, 700, "ScaledDown", 6);
    // Nearly upside down (182 degrees) and nearly running down (88 degrees).
    const double nearlyUpside = 182.0 * M_PI / 180.0;
    turnedByTm(content, std::cos(nearlyUpside), std::sin(nearlyUpside), -std::sin(nearlyUpside),
               std::cos(nearlyUpside), 560, 550, "NearlyUpside");
    const double steepDown = -88.0 * M_PI / 180.0;
    turnedByTm(content, std::cos(steepDown), std::sin(steepDown), -std::sin(steepDown),
               std::cos(steepDown), 420, 700, "SteepDown");
    document.addPage(PageBox{}, resources, content.data());
    document.write(path);
}

// A form XObject for an appearance: `content` drawn in `bbox`, Helvetica as /F1.
OH appearanceStream(KitDocument& document, OH font, const std::string& content,
                    const std::vector<double>& bbox) {
    OH stream = document.qpdf().newStream(content);
    OH dict = stream.getDict();
    dict.replaceKey("/Type", OH::newName("/XObject"));
    dict.replaceKey("/Subtype", OH::newName("/Form"));
    dict.replaceKey("/BBox", OH::newArray(OH::Rectangle(bbox[0], bbox[1], bbox[2], bbox[3])));
    dict.replaceKey("/Resources", document.fontResources({{"F1", font}}));
    return stream;
}

OH annotation(KitDocument& document, const std::string& subtype, const std::vector<double>& rect,
              OH appearance, int flags) {
    OH annot = OH::newDictionary();
    annot.replaceKey("/Type", OH::newName("/Annot"));
    annot.replaceKey("/Subtype", OH::newName(subtype));
    annot.replaceKey("/Rect", OH::newArray(OH::Rectangle(rect[0], rect[1], rect[2], rect[3])));
    annot.replaceKey("/F", OH::newInteger(flags));
    OH appearances = OH::newDictionary();
    appearances.replaceKey("/N", appearance);
    annot.replaceKey("/AP", appearances);
    return document.qpdf().makeIndirectObject(annot);
}

void writeAnnotationText(const std::string& path) {
    KitDocument document;
    OH font = document.standardFont("Helvetica");
    auto resources = document.fontResources({{"F1", font}});
    ContentWriter content;
    content.textAt("F1", 12, 72, 720, "Page text under the notes");
    OH page = document.addPage(PageBox{}, resources, content.data());

    // A note on a yellow ground: text under it would stay hidden.
    ContentWriter note;
    note.op("q 1 1 0.6 rg 0 0 228 40 re f Q");
    note.textAt("F1", 14, 6, 14, "Reviewed by Anna");
    OH freeText = annotation(document, "/FreeText", {72, 600, 300, 640},
                             appearanceStream(document, font, note.data(), {0, 0, 228, 40}), 4);
    freeText.replaceKey("/Contents", OH::newString("Reviewed by Anna"));
    freeText.replaceKey("/DA", OH::newString("/F1 14 Tf 0 g"));

    // A stamp whose appearance box (100 x 30) is shown twice as large in its rectangle.
    ContentWriter stamp;
    stamp.op("q 0.8 0 0 RG 2 w 2 2 96 26 re S Q 0.8 0 0 rg");
    stamp.textAt("F1", 12, 14, 11, "APPROVED");
    OH stampAnnot = annotation(document, "/Stamp", {350, 500, 550, 560},
                               appearanceStream(document, font, stamp.data(), {0, 0, 100, 30}), 4);
    stampAnnot.replaceKey("/Name", OH::newName("/Approved"));

    // A hidden note: no viewer shows it.
    ContentWriter hidden;
    hidden.textAt("F1", 12, 4, 8, "Hidden remark");
    OH hiddenNote = annotation(document, "/FreeText", {72, 400, 250, 430},
                               appearanceStream(document, font, hidden.data(), {0, 0, 178, 30}), 2);
    hiddenNote.replaceKey("/DA", OH::newString("/F1 12 Tf 0 g"));

    // A form field: its value is the form's, not the page's text.
    ContentWriter value;
    value.name("Tx").op("BMC").textAt("F1", 12, 2, 6, "Field value").op("EMC");
    OH field = annotation(document, "/Widget", {72, 300, 272, 322},
                          appearanceStream(document, font, value.data(), {0, 0, 200, 22}), 4);
    field.replaceKey("/FT", OH::newName("/Tx"));
    field.replaceKey("/T", OH::newString("remark"));
    field.replaceKey("/V", OH::newString("Field value"));
    field.replaceKey("/DA", OH::newString("/F1 12 Tf 0 g"));
    field.replaceKey("/P", page);

    page.replaceKey("/Annots", OH::newArray({freeText, stampAnnot, hiddenNote, field}));
    OH acroForm = OH::newDictionary();
    acroForm.replaceKey("/Fields", OH::newArray({field}));
    acroForm.replaceKey("/DR", document.fontResources({{"F1", font}}));
    document.qpdf().getRoot().replaceKey("/AcroForm", document.qpdf().makeIndirectObject(acroForm));
    document.write(path);
}

}  // namespace

void writeDrawnTextCases(const std::string& dir) {
    writeDrawnPieces(dir + "/drawn_pieces.pdf");
    writeTurnedByMatrix(dir + "/turned_by_matrix.pdf");
    writeAnnotationText(dir + "/annotation_text.pdf");
}
