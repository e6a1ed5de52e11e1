#pragma once

// The operations the engine's runners use on a PDF document, one thin function each over
// PdfDocument. No exception leaves these functions: QPDF's errors are handed to the error
// callback and turned into the return values documented here.

#include <cstddef>
#include <memory>
#include <string>

#include "pdf/error_report.h"

namespace relettra::pdf {
class PdfDocument;
}

using PDF = relettra::pdf::PdfDocument;
using TErrorProc = relettra::pdf::ErrorProc;

// A new document handle, or null.
PDF* pdfNewPDF();
// Releases the handle (null is allowed).
void pdfDeletePDF(PDF* pdf);

// Owns a handle of pdfNewPDF and releases it with pdfDeletePDF.
using PdfHandle = std::unique_ptr<PDF, void (*)(PDF*)>;
inline PdfHandle pdfNewHandle() {
    return PdfHandle(pdfNewPDF(), pdfDeletePDF);
}

void pdfSetOnErrorProc(PDF* pdf, const void* userData, TErrorProc proc);
// 1: points, origin at the upper-left corner of the displayed page, y downward; 0: y upward.
int pdfSetPageCoords(PDF* pdf, int coords);
// Accepted for the callers' sake; every part of the input is always kept.
int pdfSetImportFlags(PDF* pdf, unsigned int flags);

// Starts the output document; `outputPath` may be null and given later to pdfOpenOutputFileA.
int pdfCreateNewPDFA(PDF* pdf, const char* outputPath);
// 0 on success, negative when the file cannot be opened or may not be changed.
int pdfOpenImportFileA(PDF* pdf, const char* path, int type, const char* password);
// Takes all pages of the open input into the document. Returns the page count, negative on error.
int pdfImportPDFFile(PDF* pdf, int destPage, double scaleX, double scaleY);
int pdfCloseImportFile(PDF* pdf);

int pdfGetPageCount(PDF* pdf);
// 1 when the page (1-based) is open for editing, 0 otherwise.
int pdfEditPage(PDF* pdf, int page);
// Height of the displayed open page in points, 0 without an open page.
double pdfGetPageHeight(PDF* pdf);
int pdfEndPage(PDF* pdf);

int pdfHaveOpenDoc(PDF* pdf);
// Non-zero when the output path was accepted.
int pdfOpenOutputFileA(PDF* pdf, const char* outputPath);
// Writes the document to its output path; non-zero on success. The file appears only complete.
int pdfCloseFile(PDF* pdf);

// Accepted for the callers' sake: images keep their transparency, new streams are compressed.
int pdfSetUseTransparency(PDF* pdf, int use);
int pdfSetCompressionLevel(PDF* pdf, int level);
// Draws an image file's bytes (JPEG, PNG, BMP, GIF) on the open page at (x, y), `width` by
// `height` in page units (0 follows the image's aspect ratio). 1 when drawn, 0 otherwise.
int pdfInsertImageFromBuffer(PDF* pdf, double x, double y, double width, double height,
                             const void* buffer, size_t size, int index);

// One text record: a text-showing operator of the open page, or several that continue one
// another on a line (a word a producer wrote in pieces). Matrices are a, b, c, d, e, f, those
// of the record's start; the current transformation matrix maps to the displayed page with y
// upward (origin at its lower-left corner); the record starts at (x, y) in text space and runs
// `advance` text space units along its baseline.
struct TPDFStack {
    double ctm[6] = {1, 0, 0, 1, 0, 0};
    double tm[6] = {1, 0, 0, 1, 0, 0};
    double x = 0;
    double y = 0;
    double fontSize = 0;
    double textRise = 0;
    double advance = 0;
    std::string text;   // UTF-8
    size_t record = 0;  // which record of the page this is
    size_t next = 0;
};

// Starts reading the text records of the open page. 1 on success.
int pdfInitStack(PDF* pdf, TPDFStack* stack);
// Fills `stack` with the next text record; 0 after the last.
int pdfGetPageText(PDF* pdf, TPDFStack* stack);
// Gives the current record the text `newText` in its own font. 1 when the font can show it;
// 0 when not (the record stays as it is). The rest of the record follows the new text along its
// line; nothing else moves.
int pdfReplacePageTextA(PDF* pdf, const char* newText, TPDFStack* stack);
// The box of the glyphs that show bytes [begin, end) of the current record's text (its em
// boxes, as the record was read), in the page coordinates of pdfSetPageCoords: box[0], box[1]
// the corner with the smaller x and y, box[2], box[3] the other. With `asFirstRead` 1 the box
// stands where that text stood before in-font edits of this document moved it along its line
// (rules are written against the input's page); with 0, where it stands now. 1 when some glyph
// shows those bytes, 0 when none does, negative on error.
int pdfGetTextBox(PDF* pdf, const TPDFStack* stack, size_t begin, size_t end, int asFirstRead,
                  double box[4]);
// Writes the replacements of the open page into it. 1 when something was written.
int pdfFlushPageContent(PDF* pdf, TPDFStack* stack);
// Why a font cannot show `utf8`: the first character it has no glyph for (UTF-8) and the font's
// name. The font is the current record's when `stack` is given (its /BaseFont), else the font
// selected with pdfSetFontA (its name is left empty). 1 when a character is missing, 0 when the
// font has every one, negative when there is no such font.
int pdfGetMissingGlyph(PDF* pdf, const TPDFStack* stack, const char* utf8, std::string* character,
                       std::string* fontName);
// Removes every glyph whose box centre lies in the area from the open page's content; all
// other glyphs stay in place. Returns the number of glyphs removed, negative on error.
int pdfRemoveTextInArea(PDF* pdf, double x, double y, double width, double height);

// Fill colour for rectangles and text, 0xRRGGBB.
int pdfSetFillColor(PDF* pdf, unsigned int rgb);
// Draws a rectangle with its upper-left corner at (x, y): mode 3 fills it, 1 strokes, 2 both.
int pdfRectangle(PDF* pdf, double x, double y, double width, double height, int mode);
// Selects the font for pdfWriteTextA. Every name selects the embedded fallback font (Liberation
// Sans, metric-compatible with Arial). Returns 1, or 0 when the font file cannot be loaded.
int pdfSetFontA(PDF* pdf, const char* name, int style, double size, int embed, int codePage);
// Writes UTF-8 text with the upper-left corner of its em box at (x, y). 1 on success.
int pdfWriteTextA(PDF* pdf, double x, double y, const char* text);

// Callbacks of pdfParseContent, run while the open page's content is parsed. Text is handed
// over in pieces: a string, or the strings of a TJ array between which no adjustment moves the
// pen by more than half a space. `matrix` is the text matrix times the transformation matrix
// where the piece starts (the displayed page, y upward); `width` is the piece's advance in text
// space; `advances` holds each code unit's advance. A callback returning -1 stops the parsing.
struct TPDFParseInterface {
    int (*beginText)(const void* data) = nullptr;
    int (*endText)(const void* data) = nullptr;
    int (*saveGraphicState)(const void* data) = nullptr;
    void (*restoreGraphicState)(const void* data) = nullptr;
    void (*setCharSpacing)(const void* data, double value) = nullptr;
    void (*setFont)(const void* data, const char* fontName, double fontSize,
                    const void* font) = nullptr;
    void (*setHorizontalScaling)(const void* data, double percent) = nullptr;
    void (*setWordSpacing)(const void* data, double value) = nullptr;
    int (*showText8)(const void* data, const double matrix[6], const unsigned char* text,
                     int length, double width, const double* advances) = nullptr;
    int (*showText16)(const void* data, const double matrix[6], const char16_t* text, int length,
                      double width, const double* advances) = nullptr;
};

// Parses the open page's content (forms it draws included) and runs the callbacks.
// 1 when the whole content was parsed, 0 when a callback stopped it, negative on error.
int pdfParseContent(PDF* pdf, const void* data, const TPDFParseInterface* callbacks, int flags);
// 1 when some text-showing operator of the open page shows `utf8` within its own text, 0 when
// none does, negative on error. A quick test that spares the full parse of pages without it.
int pdfPageShowsText(PDF* pdf, const char* utf8);

// The width of the space character of `font` (as handed to setFont) at `size`, in text space.
double fntGetSpaceWidth(PDF* pdf, const void* font, double size);

// Writes the document encrypted with `ownerPassword` and no open password (`userPassword` must
// be null or empty), always with 256-bit AES whatever `keyLength` says.
// `restrictions` denies, bit by bit: 0x1 printing, 0x2 changing the content, 0x4 copying text
// and graphics, 0x8 adding or changing annotations, 0x10 filling form fields, 0x20 extracting
// for accessibility, 0x40 assembling pages, 0x80 printing in high quality. Non-zero on success.
int pdfCloseFileEx(PDF* pdf, const char* userPassword, const char* ownerPassword, int keyLength,
                   int restrictions);
