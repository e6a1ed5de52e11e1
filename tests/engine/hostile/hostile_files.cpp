#include "hostile_files.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace hostile {

namespace {

std::string number(std::size_t value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*zu", width, value);
    return text;
}

const char kFont[] = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";
const char kText[] = "BT /F1 24 Tf 72 700 Td (Hello STAMPME world) Tj ET\n";

std::string page(const std::string& resources, int contents) {
    return "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources " + resources +
           " /Contents " + std::to_string(contents) + " 0 R >>";
}

// Catalog, page tree, one page with /F1 = object 4 and the content in object 5.
std::vector<std::string> onePage(const std::string& content, const std::string& font = kFont,
                                 const std::string& moreResources = "") {
    return {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
            page("<< /Font << /F1 4 0 R >> " + moreResources + ">>", 5), font,
            streamObject("<<>>", content)};
}

// A form whose content is `content`, drawing the forms named in `xobjects`.
std::string form(const std::string& content, const std::string& xobjects) {
    return streamObject(
        "<< /Type /XObject /Subtype /Form /BBox [0 0 612 792] /Resources << /Font "
        "<< /F1 4 0 R >> /XObject << " +
            xobjects + " >> >> >>",
        content);
}

void put(std::string& out, std::uint32_t value, int bytes, bool bigEndian) {
    for (int i = 0; i < bytes; ++i) {
        const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

std::string pngChunk(const std::string& type, const std::string& data) {
    std::string chunk;
    put(chunk, static_cast<std::uint32_t>(data.size()), 4, true);
    const std::string body = type + data;
    chunk += body;
    put(chunk,
        static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())),
        4, true);
    return chunk;
}

}  // namespace

std::string streamObject(const std::string& dict, const std::string& data) {
    std::string head = dict.substr(0, dict.rfind(">>"));
    return head + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
           "\nendstream";
}

std::string pdfOf(const std::vector<std::string>& objects) {
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) pdf += number(offset, 10) + " 00000 n \n";
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

std::string plainPdf(const std::string& content) {
    return pdfOf(onePage(content.empty() ? kText : content));
}

std::string truncatedInTheMiddle() {
    const std::string pdf = plainPdf();
    return pdf.substr(0, pdf.size() / 2);
}

std::string truncatedAfterTheHeader() {
    return "%PDF-1.4\n";
}

std::string brokenCrossReference() {
    std::string pdf = plainPdf();
    const std::size_t table = pdf.find("xref\n0 ");
    for (std::size_t at = pdf.find(" 00000 n", table); at != std::string::npos;
         at = pdf.find(" 00000 n", at + 1)) {
        pdf.replace(at - 10, 10, "0000000003");
    }
    pdf.replace(pdf.rfind("startxref\n") + 10, std::string::npos, "99999999\n%%EOF\n");
    return pdf;
}

std::string crossReferenceChainLoop() {
    std::string pdf = plainPdf();
    const std::size_t xref = pdf.find("xref\n0 ");
    pdf.replace(pdf.find("/Root 1 0 R"), 11, "/Root 1 0 R /Prev " + std::to_string(xref));
    return pdf;
}

std::string cyclicPageTree() {
    std::vector<std::string> objects = onePage(kText);
    objects[1] = "<< /Type /Pages /Kids [3 0 R 2 0 R] /Count 2 >>";
    return pdfOf(objects);
}

std::string cyclicParentResources() {
    std::vector<std::string> objects = onePage(kText);
    // The page states no resources of its own: they would be inherited along /Parent, which
    // runs 2 → 6 → 2 → …
    objects[2] = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 5 0 R >>";
    objects[1] = "<< /Type /Pages /Kids [3 0 R] /Count 1 /Parent 6 0 R >>";
    objects.push_back("<< /Type /Pages /Kids [2 0 R] /Count 1 /Parent 2 0 R >>");
    return pdfOf(objects);
}

std::string cyclicForms() {
    std::vector<std::string> objects =
        onePage(std::string(kText) + "/Fa Do\n", kFont, "/XObject << /Fa 6 0 R >>");
    objects.push_back(form("BT /F1 12 Tf 72 600 Td (in A) Tj ET /Fb Do", "/Fb 7 0 R"));
    objects.push_back(form("BT /F1 12 Tf 72 500 Td (in B) Tj ET /Fa Do", "/Fa 6 0 R"));
    return pdfOf(objects);
}

std::string formDrawingItself() {
    std::vector<std::string> objects =
        onePage(std::string(kText) + "/Fa Do\n", kFont, "/XObject << /Fa 6 0 R >>");
    objects.push_back(form("BT /F1 12 Tf 72 600 Td (STAMPME again) Tj ET /Fa Do", "/Fa 6 0 R"));
    return pdfOf(objects);
}

std::string formDrawingItselfEightTimes() {
    std::vector<std::string> objects =
        onePage(std::string(kText) + "/Fa Do\n", kFont, "/XObject << /Fa 6 0 R >>");
    std::string content = "BT /F1 12 Tf 72 600 Td (STAMPME again) Tj ET\n";
    for (int i = 0; i < 8; ++i) content += "q 0.9 0 0 0.9 5 5 cm /Fa Do Q\n";
    objects.push_back(form(content, "/Fa 6 0 R"));
    return pdfOf(objects);
}

std::string formDrawingItselfSixTimesInPlace() {
    // The page's own "Hello" where the suite's text rule looks, so that the rule edits the page.
    std::vector<std::string> objects = onePage("BT /F1 24 Tf 72 720 Td (Hello) Tj ET\n/Fa Do\n",
                                               kFont, "/XObject << /Fa 6 0 R >>");
    std::string content = "BT /F1 12 Tf 72 600 Td (again) Tj ET\n";
    for (int i = 0; i < 6; ++i) content += "/Fa Do\n";
    objects.push_back(form(content, "/Fa 6 0 R"));
    return pdfOf(objects);
}

std::string unclosedString() {
    return plainPdf("BT /F1 24 Tf 72 700 Td (Hello STAMPME world Tj ET\n");
}

std::string unclosedArray() {
    return plainPdf("BT /F1 24 Tf 72 700 Td [(Hello) -250 (STAMPME) (world) TJ ET\n");
}

std::string millionOperators() {
    // 10^6 operators: a shown word and a move, half a million times, on one line of text.
    std::string content = "BT /F1 1 Tf 72 700 Td (Hello STAMPME world) Tj\n";
    for (int i = 0; i < 500000; ++i) content += "0.001 0 Td (a) Tj\n";
    return plainPdf(content + "ET\n");
}

std::string deeplyNestedArrays() {
    return plainPdf(std::string(kText) + "BT /F1 24 Tf 72 600 Td " + std::string(100000, '[') +
                    "(deep) " + std::string(100000, ']') + " TJ ET\n");
}

std::string hugePage() {
    std::vector<std::string> objects = onePage(kText);
    objects[2].replace(objects[2].find("[0 0 612 792]"), 13, "[0 0 6500 6500]");
    return pdfOf(objects);
}

std::string widthsShorterThanCodes() {
    const std::string font =
        "<< /Type /Font /Subtype /TrueType /BaseFont /ArialMT /FirstChar 0 /LastChar 255 "
        "/Widths [600 600 600] /Encoding /WinAnsiEncoding >>";
    return pdfOf(onePage(kText, font));
}

std::string cmapWithBadRanges() {
    const std::string cmap =
        "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
        "2 begincodespacerange <0000> <FFFF> <00> <FF> endcodespacerange\n"
        "4 beginbfrange <0030> <0010> <0041> <0020> <0040> <0061> <0000> <FFFF> <0041>\n"
        "<FFFF> <0000> [<0041> <0042>] endbfrange\n"
        "2 beginbfchar <0025> <00410042> <0025> <D800> endbfchar\n"
        "endcmap CMapName currentdict /CMap defineresource pop end end\n";
    std::vector<std::string> objects =
        onePage("BT /F1 24 Tf 72 700 Td <0025003000350041FFFF> Tj ET\n",
                "<< /Type /Font /Subtype /Type0 /BaseFont /Arial /Encoding /Identity-H "
                "/DescendantFonts [7 0 R] /ToUnicode 6 0 R >>");
    objects.push_back(streamObject("<<>>", cmap));
    objects.push_back(
        "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /Arial /CIDSystemInfo << /Registry "
        "(Adobe) /Ordering (Identity) /Supplement 0 >> /W [0 [500 600] 65535 65535 700] >>");
    return pdfOf(objects);
}

std::string pngClaiming65535Square() {
    std::string header;
    put(header, 65535, 4, true);
    put(header, 65535, 4, true);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    const unsigned char row[4] = {0, 0, 0, 0};
    std::string idat(64, '\0');
    uLongf size = idat.size();
    compress(reinterpret_cast<Bytef*>(idat.data()), &size, row, sizeof row);
    idat.resize(size);
    return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", idat) +
           pngChunk("IEND", "");
}

std::string gifClaiming(int screenSide, int frameSide) {
    std::string gif = "GIF89a";
    put(gif, static_cast<std::uint32_t>(screenSide), 2, false);
    put(gif, static_cast<std::uint32_t>(screenSide), 2, false);
    gif += std::string("\x80\x00\x00", 3);              // a global table of 2 colours
    gif += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);  // black, white
    gif += std::string("\x2C\x00\x00\x00\x00", 5);      // an image at 0/0 …
    put(gif, static_cast<std::uint32_t>(frameSide), 2, false);
    put(gif, static_cast<std::uint32_t>(frameSide), 2, false);
    gif += std::string("\x00", 1);
    gif += std::string("\x02\x02\x44\x01\x00", 5);  // … whose LZW data is one pixel
    return gif + ";";
}

std::string bmpClaimingLargeSize() {
    std::string bmp = "BM";
    put(bmp, 54 + 4, 4, false);
    put(bmp, 0, 4, false);
    put(bmp, 54, 4, false);
    put(bmp, 40, 4, false);
    put(bmp, 30000, 4, false);  // width
    put(bmp, 30000, 4, false);  // height
    put(bmp, 1, 2, false);
    put(bmp, 24, 2, false);
    put(bmp, 0, 4, false);  // uncompressed
    put(bmp, 0, 4, false);
    for (int i = 0; i < 4; ++i) put(bmp, 0, 4, false);
    return bmp + std::string("\xFF\x00\x00\x00", 4);
}

namespace {

// One page whose widget (object 6) stands where the suite's text rule looks, and the objects
// `more` after it; the catalog's form lists the widget.
std::string pageWithWidget(const std::string& widget, const std::vector<std::string>& more) {
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [6 0 R] >> >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 4 0 R "
        ">> >> /Contents 5 0 R /Annots [6 0 R] >>",
        kFont,
        streamObject("<<>>", "BT /F1 12 Tf 72 600 Td (Label) Tj ET\n"),
        widget};
    objects.insert(objects.end(), more.begin(), more.end());
    return pdfOf(objects);
}

}  // namespace

std::string formFieldParentLoop() {
    return pageWithWidget(
        "<< /Type /Annot /Subtype /Widget /Rect [72 700 300 750] /Parent 7 0 R >>",
        {"<< /Parent 8 0 R /Kids [6 0 R] >>",
         "<< /Parent 7 0 R /Kids [7 0 R] /FT /Tx /V (Hello there) "
         "/DA (/F9 12 Tf 0 g) >>"});
}

std::string formFieldHugeValue() {
    std::string value = "Hello";
    while (value.size() < 600000) value += " word";
    return pageWithWidget(
        "<< /Type /Annot /Subtype /Widget /FT /Tx /T (big) /Ff 4096 /Rect [72 "
        "700 300 750] /DA (/F1 0 Tf 0 g) /V (" +
            value + ") >>",
        {});
}

std::string textRulesOfLines(int lines, int page) {
    std::string rules;
    for (int i = 0; i < lines; ++i) {
        rules += std::to_string(page) + "-" + std::to_string(150 + i % 1000) + "-" +
                 std::to_string(i % 1500) + "-100-50:Hello:Hi\r\n";
    }
    return rules;
}

std::string imageRulesOfLines(int lines, const std::string& imagePath) {
    std::string rules;
    for (int i = 0; i < lines; ++i) {
        rules += "1:" + std::to_string(i % 1000) + ":" + std::to_string(i % 1500) + ":(" +
                 imagePath + "):20:20\r\n";
    }
    return rules;
}

}  // namespace hostile
