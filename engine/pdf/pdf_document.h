#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <qpdf/QPDF.hh>
#include <set>
#include <string>
#include <vector>

#include "pdf/error_report.h"
#include "pdf/page_editor.h"
#include "pdf/pdf_writer.h"
#include "pdf/text/text_moves.h"

namespace relettra::pdf {
class ImageCache;
class FallbackFont;
class FontCache;
class PageTextSession;
}  // namespace relettra::pdf

namespace relettra::pdf {

// One document of one run: the input file opened through QPDF and edited in place in memory,
// then written to the output path. Everything of the input that a run does not touch
// (outlines, links, form fields, metadata, page labels, encryption) is written as it stands,
// and streams that are not edited are copied without being decoded. A run that changes nothing
// writes the input's own bytes, when they are unencrypted and read without a flaw.
//
// Methods may throw QPDF's exceptions; the facade functions catch them.
class PdfDocument {
  public:
    PdfDocument();
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    ErrorSink& errors() { return errors_; }
    void setTopDownCoordinates(bool topDown) { topDown_ = topDown; }
    bool topDownCoordinates() const { return topDown_; }

    // Starts a new document; the output path may also be given later with setOutputPath.
    void create(const std::string& outputPath);
    bool haveOpenDoc() const { return created_; }

    // A document opened only to be read is not refused for permissions that forbid changes.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

    // Opens the input. 0 on success; negative when it cannot be opened (missing, not a PDF,
    // needs an open password) or, unless read-only, when its permissions forbid changing it.
    int openImport(const std::string& path, const std::string& password);
    // Takes the opened input's pages into the document; returns the page count, or -1.
    int importPages();
    void closeImport() {}

    int pageCount();
    QPDFObjectHandle pageObject(int pageNumber);  // 1-based; null handle when out of range

    // Opens the page for editing; a page that is open already stays open as it is, with its
    // text session.
    bool editPage(int pageNumber);
    PageEditor* openPage() { return openPage_.get(); }
    bool endPage();

    bool setOutputPath(const std::string& path);
    // Writes the document to the output path; the file appears only when it is complete.
    bool save();
    // Whether save() writes the input's own bytes: nothing was changed, the input is not
    // encrypted (an encrypted output gets an /ID of its own) and it was read without a flaw.
    bool passesInputThrough();

    // Called just before the document is written (e.g. to finish embedded font subsets).
    void addBeforeSave(std::function<void(QPDF&)> hook);
    // Encryption for the output instead of the input's own: 256-bit AES, owner password only.
    using OwnerOnlyEncryption = relettra::pdf::OwnerOnlyEncryption;
    void setOutputEncryption(const OwnerOnlyEncryption& encryption) { encryption_ = encryption; }

    // A point in the page coordinates the caller uses, in upright coordinates of `page`.
    void toUpright(const PageEditor& page, double x, double y, double& upX, double& upY) const;

    // Image objects of this document, one per distinct image content.
    ImageCache& images();
    // The output's PDF version is raised to at least `version` ("1.4", ...).
    void requirePdfVersion(const std::string& version);

    // Drawing state: fill colour (0xRRGGBB) and the font for written text.
    void setFillColor(unsigned int rgb) { fillColor_ = rgb; }
    unsigned int fillColor() const { return fillColor_; }
    // Selects the fallback font at `size`; false (and the error callback told) when its file
    // cannot be found or read.
    bool selectFallbackFont(double size);
    FallbackFont* selectedFont() { return fontSelected_ ? fallbackFont_.get() : nullptr; }
    double selectedFontSize() const { return fontSize_; }

    // The fonts of the document's pages, each parsed once.
    FontCache& fonts();
    // The text records of the open page: started on first use, kept while the page stays open,
    // and written into it by endPage.
    PageTextSession* startTextSession();
    PageTextSession* textSession() { return textSession_.get(); }
    // Drops the open page's text session (its edits were written).
    void endTextSession();
    // Where in-font edits of this run moved text on a page (1-based).
    TextMoves& textMoves(int pageNumber) { return textMoves_[pageNumber]; }

    // Whether a content stream is drawn by more than one page of the document.
    bool isSharedContentStream(QPDFObjGen stream);
    std::function<bool(QPDFObjGen)> sharedContentTest() {
        return [this](QPDFObjGen stream) { return isSharedContentStream(stream); };
    }

    // The document's QPDF: whoever holds it may change the document.
    QPDF& qpdf() {
        touched_ = true;
        return *pdf_;
    }
    // Hands QPDF's collected warnings to the error callback.
    void flushWarnings();

  private:
    ErrorSink errors_;
    // The input file's bytes: QPDF reads from memory, which spares it tens of thousands of
    // seek and read calls on a large document, and a run that changes nothing writes them as
    // they are. Declared before pdf_, which refers to it.
    std::string inputBytes_;
    std::unique_ptr<QPDF> pdf_;
    bool topDown_ = false;
    bool readOnly_ = false;
    bool created_ = false;
    bool imported_ = false;
    // Something may have changed the document since it was read: a page was opened for
    // editing, or its objects were handed out.
    bool touched_ = false;
    bool readCleanly_ = true;  // QPDF had nothing to report on the input
    std::string inputPath_;
    std::string outputPath_;
    std::vector<QPDFObjectHandle> pages_;
    std::unique_ptr<PageEditor> openPage_;
    std::set<QPDFObjGen> wrappedPages_;
    std::optional<std::set<QPDFObjGen>> sharedContentStreams_;
    QPDFObjectHandle saveStateStream_;  // "q", shared by every page wrapped in this run
    std::vector<std::function<void(QPDF&)>> beforeSave_;
    std::optional<OwnerOnlyEncryption> encryption_;
    std::unique_ptr<ImageCache> images_;
    std::unique_ptr<FontCache> fonts_;
    std::unique_ptr<PageTextSession> textSession_;
    std::map<int, TextMoves> textMoves_;
    std::unique_ptr<FallbackFont> fallbackFont_;
    bool fallbackFontFailed_ = false;
    std::string fallbackFontError_;
    bool fontSelected_ = false;
    double fontSize_ = 12;
    unsigned int fillColor_ = 0;
    std::string minimumVersion_;
};

// True when both paths name the same existing file (hard links and symbolic links included).
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace relettra::pdf
