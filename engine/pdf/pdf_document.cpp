#include "pdf/pdf_document.h"

#include <fstream>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <stdexcept>
#include <system_error>

#include "pdf/fallback_font/fallback_font.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/images/image_cache.h"
#include "pdf/output_file.h"
#include "pdf/text/page_text_session.h"
#include "pdf/unchanged_input.h"

namespace relettra::pdf {

namespace fs = std::filesystem;

PdfDocument::PdfDocument() : pdf_(std::make_unique<QPDF>()) {
    // Warnings are collected and passed to the error callback instead of going to stderr.
    pdf_->setSuppressWarnings(true);
}

PdfDocument::~PdfDocument() = default;

void PdfDocument::create(const std::string& outputPath) {
    created_ = true;
    outputPath_ = outputPath;
}

namespace {

bool readWholeFile(const fs::path& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return !in.bad();
}

}  // namespace

int PdfDocument::openImport(const std::string& path, const std::string& password) {
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(fs::u8path(path), ec)) {
        errors_.report(kErrFile, 0, "Cannot open the input file: " + path);
        return -1;
    }
    const char* openPassword = password.empty() ? nullptr : password.c_str();
    // Files of ordinary size are read whole; a very large one is read from the disk as needed.
    constexpr std::uintmax_t kReadWholeUpTo = 512ull << 20;
    if (fs::file_size(fs::u8path(path), ec) > kReadWholeUpTo || ec) {
        pdf_->processFile(path.c_str(), openPassword);
    } else if (readWholeFile(fs::u8path(path), inputBytes_)) {
        pdf_->processMemoryFile(path.c_str(), inputBytes_.data(), inputBytes_.size(), openPassword);
    } else {
        errors_.report(kErrFile, 0, "Cannot read the input file: " + path);
        return -1;
    }
    flushWarnings();
    if (!readOnly_ && pdf_->isEncrypted() && !pdf_->ownerPasswordMatched() &&
        !pdf_->allowModifyOther()) {
        errors_.report(kErrFile, 0, "The document's permissions do not allow changing it: " + path);
        return -2;
    }
    inputPath_ = path;
    return 0;
}

int PdfDocument::importPages() {
    if (inputPath_.empty()) {
        return -1;
    }
    pages_ = pdf_->getAllPages();
    imported_ = true;
    flushWarnings();
    return static_cast<int>(pages_.size());
}

int PdfDocument::pageCount() {
    return static_cast<int>(pages_.size());
}

QPDFObjectHandle PdfDocument::pageObject(int pageNumber) {
    touched_ = true;
    if (pageNumber < 1 || pageNumber > pageCount()) {
        return QPDFObjectHandle();
    }
    return pages_[static_cast<size_t>(pageNumber - 1)];
}

bool PdfDocument::editPage(int pageNumber) {
    if (openPage_ && openPage_->pageNumber() == pageNumber) {
        return true;
    }
    if (openPage_) {
        endPage();
    }
    QPDFObjectHandle page = pageObject(pageNumber);
    if (!page.isInitialized()) {
        return false;
    }
    openPage_ = std::make_unique<PageEditor>(page, pageNumber);
    return true;
}

bool PdfDocument::endPage() {
    if (!openPage_) {
        return false;
    }
    // The text session's edits go into the page first; the content drawing added follows them.
    if (textSession_) {
        textSession_->write(*pdf_, sharedContentTest());
        textSession_.reset();
    }
    std::unique_ptr<PageEditor> editor = std::move(openPage_);
    QPDFObjGen id = editor->page().getObjectHandle().getObjGen();
    bool wrapped = wrappedPages_.count(id) != 0;
    if (!saveStateStream_.isInitialized()) {
        saveStateStream_ = pdf_->newStream(std::string("q\n"));
    }
    if (editor->commit(*pdf_, wrapped, saveStateStream_)) {
        wrappedPages_.insert(id);
    }
    flushWarnings();
    return true;
}

bool PdfDocument::setOutputPath(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    outputPath_ = path;
    return true;
}

void PdfDocument::addBeforeSave(std::function<void(QPDF&)> hook) {
    touched_ = true;
    beforeSave_.push_back(std::move(hook));
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (!fs::exists(a, ec) || !fs::exists(b, ec)) {
        return false;
    }
    return fs::equivalent(a, b, ec);
}

bool PdfDocument::save() {
    if (readOnly_) {
        errors_.report(kErrFatal, 0, "The document was opened only to be read.");
        return false;
    }
    if (!created_ || !imported_) {
        errors_.report(kErrFatal, 0, "No document to write.");
        return false;
    }
    if (openPage_) {
        endPage();
    }
    if (outputPath_.empty()) {
        errors_.report(kErrFile, 0, "No output file was given.");
        return false;
    }
    fs::path output = fs::u8path(outputPath_);
    if (sameFile(output, fs::u8path(inputPath_))) {
        errors_.report(
            kErrFile, 0,
            "The output file is the input file; the input is never overwritten: " + outputPath_);
        return false;
    }
    for (auto& hook : beforeSave_) {
        hook(*pdf_);
    }
    beforeSave_.clear();

    OutputFile file(output);
    std::string error;
    if (!file.open(error)) {
        errors_.report(kErrFile, 0, "Cannot write the output file " + outputPath_ + ": " + error);
        return false;
    }
    if (passesInputThrough()) {
        if (!file.write(inputBytes_.data(), inputBytes_.size())) {
            errors_.report(kErrFile, 0, "Cannot write the output file " + outputPath_);
            return false;
        }
    } else {
        WriteOptions options;
        options.minimumVersion = minimumVersion_;
        options.encryption = encryption_;
        writeDocument(*pdf_, file.stream(), options);
        flushWarnings();
    }
    if (!file.close(error) || !file.commit(error)) {
        errors_.report(kErrFile, 0, "Cannot write the output file " + outputPath_ + ": " + error);
        return false;
    }
    created_ = false;
    return true;
}

bool PdfDocument::passesInputThrough() {
    flushWarnings();
    return !touched_ && readCleanly_ && !encryption_ && minimumVersion_.empty() &&
           !inputBytes_.empty() && !pdf_->isEncrypted() &&
           objectsStandWhereListed(*pdf_, inputBytes_);
}

void PdfDocument::toUpright(const PageEditor& page, double x, double y, double& upX,
                            double& upY) const {
    upX = x;
    upY = topDown_ ? page.geometry().displayedHeight() - y : y;
}

bool PdfDocument::isSharedContentStream(QPDFObjGen stream) {
    // The stream that wraps pages in q … Q is shared on purpose.
    if (saveStateStream_.isInitialized() && saveStateStream_.getObjGen() == stream) {
        return true;
    }
    if (!sharedContentStreams_) {
        std::set<QPDFObjGen> seen;
        sharedContentStreams_.emplace();
        for (QPDFObjectHandle& page : pages_) {
            QPDFObjectHandle contents = page.getKey("/Contents");
            std::vector<QPDFObjectHandle> streams =
                contents.isArray() ? contents.getArrayAsVector() : std::vector{contents};
            for (QPDFObjectHandle& s : streams) {
                if (s.isIndirect() && !seen.insert(s.getObjGen()).second) {
                    sharedContentStreams_->insert(s.getObjGen());
                }
            }
        }
    }
    return sharedContentStreams_->count(stream) != 0;
}

FontCache& PdfDocument::fonts() {
    touched_ = true;
    if (!fonts_) {
        fonts_ = std::make_unique<FontCache>();
    }
    return *fonts_;
}

void PdfDocument::endTextSession() {
    textSession_.reset();
}

PageTextSession* PdfDocument::startTextSession() {
    touched_ = true;
    if (textSession_) {
        return textSession_.get();
    }
    if (!openPage_) {
        return nullptr;
    }
    textSession_ =
        std::make_unique<PageTextSession>(*openPage_, fonts(), textMoves(openPage_->pageNumber()));
    return textSession_.get();
}

bool PdfDocument::selectFallbackFont(double size) {
    touched_ = true;
    fontSelected_ = false;
    if (!fallbackFont_ && !fallbackFontFailed_) {
        auto font = std::make_unique<FallbackFont>();
        std::string error;
        fs::path file = locateFallbackFontFile();
        if (file.empty()) {
            error = "the font Liberation Sans was not found (package fonts-liberation2)";
        }
        if (!file.empty() && font->load(file, error)) {
            fallbackFont_ = std::move(font);
            // A font whose program could not be embedded would leave the output broken: the
            // document is not written then.
            addBeforeSave([this](QPDF& pdf) {
                fallbackFont_->finish(pdf);
                if (!fallbackFont_->lastError().empty()) {
                    throw std::runtime_error(fallbackFont_->lastError());
                }
            });
        } else {
            fallbackFontFailed_ = true;
            fallbackFontError_ = error;
        }
    }
    if (!fallbackFont_) {
        errors_.report(kErrTrueTypeFont, 0,
                       "Cannot load the font for written text: " + fallbackFontError_);
        return false;
    }
    fontSize_ = size;
    fontSelected_ = true;
    return true;
}

ImageCache& PdfDocument::images() {
    touched_ = true;
    if (!images_) {
        images_ = std::make_unique<ImageCache>(*pdf_);
    }
    return *images_;
}

void PdfDocument::requirePdfVersion(const std::string& version) {
    touched_ = true;
    if (minimumVersion_.empty() || version > minimumVersion_) {
        minimumVersion_ = version;
    }
}

void PdfDocument::flushWarnings() {
    for (QPDFExc const& warning : pdf_->getWarnings()) {
        readCleanly_ = false;
        errors_.report(warning, kErrWarning);
    }
}

}  // namespace relettra::pdf
