#pragma once

// The operations the engine's runners use on a PDF document, one thin function each over
// PdfDocument. No exception leaves these functions: QPDF's errors are handed to the error
// callback and turned into the return values documented here.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

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
// The page open for editing (1-based), 0 when none is.
int pdfGetOpenPage(PDF* pdf);
// Writes what was changed on the open page into it and closes it. 1 on success, 0 when no page
// is open or the page could not be written.
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
    bool verticalWriting = false;  // its font writes top to bottom (its text runs along -y)
    // A Type 3 font: its glyphs are drawn by procedures, so readers can only guess its size
    // from its widths, and the boxes they report may be much smaller or larger than its em.
    bool sizeGuessedByReaders = false;
    // The look of its font, for text written in its place in a fallback font: a family name
    // pdfSetFontA takes ("serif", "sans-serif" or "monospace") and kFontStyle bits.
    const char* fontFamily = "sans-serif";
    int fontStyle = 0;
    std::string text;   // UTF-8
    size_t record = 0;  // which record of the page this is
    size_t next = 0;
};

// Starts reading the text records of the open page. 1 on success. The records are read once
// while the page stays open, and every change made to them (replacements, removals, moves, text
// drawn on the page) shows in them at once.
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
// The replacements of the open page are part of its records at once and are written into the
// page with it (pdfEndPage). 1 when the page holds such changes.
int pdfFlushPageContent(PDF* pdf, TPDFStack* stack);
// Why a font cannot show `utf8`: the first character it has no glyph for (UTF-8) and the font's
// name. The font is the current record's when `stack` is given (its /BaseFont), else the font
// selected with pdfSetFontA (its name is left empty). 1 when a character is missing, 0 when the
// font has every one, negative when there is no such font.
int pdfGetMissingGlyph(PDF* pdf, const TPDFStack* stack, const char* utf8, std::string* character,
                       std::string* fontName);
// 1 when the current record's font can show `utf8` in full (letters it holds only as a ligature
// glyph, such as the f of "ff", in that ligature), 0 when not, negative when there is no such
// record or font.
int pdfCanShowText(PDF* pdf, const TPDFStack* stack, const char* utf8);
// Removes every glyph whose box centre lies in the area from the open page's content; all
// other glyphs stay in place. Returns the number of glyphs removed, negative on error. Like
// every change of the page's text, it is written with the page (pdfEndPage).
int pdfRemoveTextInArea(PDF* pdf, double x, double y, double width, double height);

// Fills `stack` with record `index` of the open page, as pdfGetPageText does. 1 when the page
// has that record, 0 when not, negative on error.
int pdfGetPageRecord(PDF* pdf, size_t index, TPDFStack* stack);
// The records of the open page whose text holds `utf8`, in content order. Returns their number,
// negative on error.
int pdfFindRecordsHolding(PDF* pdf, const char* utf8, std::vector<size_t>* records);
// Moves the text that stands on the line of record `line` (its first operator's baseline) after
// the point (x, y) of that line (caller's coordinates) by `shift` points along it, as a text
// grown or narrowed there would push it: the rest of the line follows up to its end, text beyond
// a column's gap only as far as keeps it clear, and other lines stay. 1 when done, negative on
// error.
int pdfMoveLineRest(PDF* pdf, const TPDFStack* line, double x, double y, double shift);

// Bytes [begin, end) of the text of record `record` of the open page.
struct TPDFTextSpan {
    size_t record = 0;
    size_t begin = 0;
    size_t end = 0;
};
// A text that a producer drew over several records: its part in each, in order, and the box of
// its glyphs as pdfGetTextBox gives one (where the text stood when first read).
struct TPDFTextOverRecords {
    std::vector<TPDFTextSpan> spans;
    double box[4] = {0, 0, 0, 0};
};
// Every occurrence of `utf8` that reaches over two or more records of the open page standing
// on one line (consecutive in the content, one direction, one baseline; a raised or lowered
// letter counts as on it), left to right. Between two records the find text goes on without a
// space over a small gap (letters placed one by one), and a space of it may stand for a wider
// gap. Returns the number found, negative on error.
int pdfFindTextOverRecords(PDF* pdf, const char* utf8, std::vector<TPDFTextOverRecords>* found);

// One change of a record's text: the bytes of `span` become `text`. With `keepPlace` (only for
// an empty `text`) the removed glyphs leave their advance behind, so what follows in the record
// stays where it stood; otherwise what follows moves with the new text.
struct TPDFTextEdit {
    TPDFTextSpan span;
    std::string text;
    bool keepPlace = false;
};
// Makes every edit (one per record, in content order) in its record's own font, or none.
// With `keepTextAfter` 1, the text after the last edit stands where it stood even where the
// records follow one another's pen. 1 when every edit was made (an edit that changes nothing
// counts), 0 when some font cannot show its new text (nothing changes), negative on error.
// They are written with the page (pdfEndPage).
int pdfReplaceTextSpans(PDF* pdf, const std::vector<TPDFTextEdit>& edits, int keepTextAfter);

// pdfRemoveTextInArea that also removes every glyph of `spans` (which may be null), wherever
// it stands. `mostRemoved` (when given and a glyph was removed) receives the record that lost
// the most glyphs, as it stood before. When that record is an annotation's text, what is drawn
// on the page until pdfEndPage (or the next reading of the page's text) goes into that
// annotation's appearance instead. Returns the number of glyphs removed, negative on error.
int pdfRemoveTextInAreaAndSpans(PDF* pdf, double x, double y, double width, double height,
                                const std::vector<TPDFTextSpan>* spans, TPDFStack* mostRemoved);

// Fill colour for rectangles and text, 0xRRGGBB.
int pdfSetFillColor(PDF* pdf, unsigned int rgb);
// Draws a rectangle with its upper-left corner at (x, y): mode 3 fills it, 1 strokes, 2 both.
int pdfRectangle(PDF* pdf, double x, double y, double width, double height, int mode);
// Style bits of pdfSetFontA.
constexpr int kFontStyleItalic = 1;
constexpr int kFontStyleBold = 2;
// Selects the font for the pdfWrite functions: the embedded fallback fonts in the look that the
// name tells (a font or family name: "Arial", "Times-Roman", "Courier New", or "serif",
// "sans-serif", "monospace"; see lookOfFontName), sans-serif for a name that tells none, bold
// and italic also as `style` asks. Their first font is Liberation Sans, Serif or Mono (metric-
// compatible with Arial, Times and Courier). Returns 1, or 0 when the first font cannot be
// loaded.
int pdfSetFontA(PDF* pdf, const char* name, int style, double size, int embed, int codePage);
// The names of the fonts the selected font writes `utf8` in ("Liberation Serif Bold", or
// "Liberation Sans, NanumGothic" when two write it), in `names`. 1 on success, 0 without a
// selected font.
int pdfGetWritingFonts(PDF* pdf, const char* utf8, std::string* names);
// Writes UTF-8 text with the upper-left corner of its em box at (x, y). With a `room` above 0 the
// text is condensed horizontally where it would take more than that along its direction.
// 1 on success.
int pdfWriteTextA(PDF* pdf, double x, double y, const char* text, double room = 0);
// Writes UTF-8 text turned `angle` degrees clockwise on the displayed page (0, 90, 180 or 270;
// top-down coordinates) into the box at (x, y), `width` by `height`: from the box's edge where
// such text starts (left, top, right or bottom), with the top of its em box against the edge
// its glyphs' tops face (top, right, bottom or left). Angle 0 is pdfWriteTextA. `room` as
// there. 1 on success.
int pdfWriteTurnedTextA(PDF* pdf, double x, double y, double width, double height, int angle,
                        const char* text, double room = 0);
// Writes UTF-8 text on a baseline that starts at (x, y) and runs `angle` degrees clockwise on
// the displayed page (any angle), condensed horizontally to `room` along its direction where it
// would take more (no limit when `room` is 0 or less). 1 on success.
int pdfWriteTextOnBaselineA(PDF* pdf, double x, double y, int angle, double room, const char* text);

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

// What became of a rule on a text field's value (pdfReplaceFormFieldText).
enum class TPDFFieldStatus {
    Changed,               // the value, shown by every widget of the field in the field's font
    ChangedInFallback,     // the same in the fallback fonts, added to the form's resources
    NoField,               // no field that the page shows at the place holds the find text
    Signed,                // the document carries a signature, which a change would break
    Button,                // the field is a check box, radio button or push button
    Choice,                // the field is a list or combo box
    NotText,               // the field has no known type, or a value that is not text
    ReadOnly,              // the field is read-only (/Ff bit 1)
    Password,              // the field hides its value
    RichText,              // the field holds rich text (/RV), which its plain value does not govern
    TooLong,               // the new value is longer than the field's /MaxLen
    FallbackUnavailable,   // the field's font cannot show the value, the fallback cannot be loaded
    FallbackMissingGlyph,  // neither the field's font nor the fallback fonts show the value
    Failed,                // an error stopped the change before anything was changed
};
struct TPDFFieldChange {
    TPDFFieldStatus status = TPDFFieldStatus::NoField;
    // Why the field's own font was not used (ChangedInFallback, FallbackMissingGlyph): no /DA
    // that sets a font, a /DA naming `fontName` that the form does not hold, or the font
    // `fontName` lacking `character`.
    bool noDefaultAppearance = false;
    bool fontNotInForm = false;
    std::string fontName;
    std::string character;
    std::string fallbackCharacter;  // FallbackMissingGlyph: the character the chain lacks
    size_t newLength = 0;           // TooLong: the new value's characters and the limit
    size_t maxLength = 0;
};
// Changes the value of the text field that the open page shows at the area (caller's
// coordinates) with `find` in its value: the occurrences standing in the area (every one when
// none does) become `replace` in its /V, and every widget of the field gets a new appearance
// in the font and size of its /DA, its quadding, colours and border, a comb field's cells and a
// multi-line field's lines; in the fallback fonts where the field's font cannot show the new
// value (the field's /DA then names them, and the form's /DR holds them). /NeedAppearances is
// left as it is. 1 when changed, 0 when nothing changed (`change->status` says why; NoField
// when no field stands there), negative when an error stopped the change half-way (the
// document is then not fit to be saved).
// With `occurrenceInArea` 1 only a field that shows an occurrence in the area counts; with 0
// one whose widget overlaps the area does, and every occurrence changes when none stands there.
int pdfReplaceFormFieldText(PDF* pdf, double x, double y, double width, double height,
                            const char* find, const char* replace, int occurrenceInArea,
                            TPDFFieldChange* change);

// `utf8` with every ligature character (U+FB00 ff to U+FB06 st) spelled out in its letters, as
// the page's text reads: text extractors give a find text with them.
std::string pdfSpellOutLigatures(const std::string& utf8);

// The width of the space character of `font` (as handed to setFont) at `size`, in text space.
double fntGetSpaceWidth(PDF* pdf, const void* font, double size);

// Writes the document encrypted with `ownerPassword` and no open password (`userPassword` must
// be null or empty), always with 256-bit AES whatever `keyLength` says.
// `restrictions` denies, bit by bit: 0x1 printing, 0x2 changing the content, 0x4 copying text
// and graphics, 0x8 adding or changing annotations, 0x10 filling form fields, 0x20 extracting
// for accessibility, 0x40 assembling pages, 0x80 printing in high quality. Non-zero on success.
int pdfCloseFileEx(PDF* pdf, const char* userPassword, const char* ownerPassword, int keyLength,
                   int restrictions);

// Reading a document's information (Dossaly).
// With `readOnly` 1, the next pdfOpenImportFileA opens the input only to be read: permissions
// that forbid changes do not refuse it, and pdfCloseFile writes nothing. 1 on success.
int pdfSetReadOnly(PDF* pdf, int readOnly);
// Width of the displayed open page in points, 0 without an open page.
double pdfGetPageWidth(PDF* pdf);
// A text entry of the open input's document information (`key` "/Title", "/Author", ...) as
// UTF-8 in `value`. 1 when the entry is there, 0 when not, negative on error.
int pdfGetDocInfo(PDF* pdf, const char* key, std::string* value);
// The open input's PDF version ("1.7") in `version`. 1 on success, 0 without an input.
int pdfGetPDFVersion(PDF* pdf, std::string* version);
// 1 when the open input is encrypted, 0 when not, negative on error.
int pdfIsEncrypted(PDF* pdf);
