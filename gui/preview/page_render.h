#pragma once

#include <QImage>
#include <QString>

// One run of the page helper for the picker: one page of a PDF made into an image and a text
// layer, what became of it, and what the picker reads back.

// The files the helper writes for the one page it is asked for, whatever page that is:
// "<base>_pg_0001.png" and "<base>_pg_0001.htm", base being the given image path without ".png".
struct PageRenderFiles {
    QString image;
    QString textLayer;
};
PageRenderFiles pageRenderFiles(const QString& pngBase);

// Why a page may have no image.
enum class PageRenderProblem {
    None,              // the helper ran and ended with exit code 0
    NoOutputFolder,    // the private temporary folder could not be made
    FileUnreadable,    // the PDF file is missing or cannot be read; the helper was not run
    HelperMissing,     // there is no helper program in the program folder
    HelperNotStarted,  // the helper is there but could not be started
    TimedOut,          // the helper did not end in time and was stopped
    Crashed,           // the helper ended abnormally
    ExitCode,          // the helper ended with another exit code than 0
    NoPageImage,       // the helper ended well but left no page image that can be read
};

struct PageRenderOutcome {
    PageRenderProblem problem = PageRenderProblem::None;
    int exitCode = 0;
    QString helperPath;
    QString pdfFile;
};

// A run of the helper that takes longer than this is stopped (the window never waits for it).
inline constexpr int kPageRenderTimeoutMs = 30000;

// A page as the helper made it: its image (pixels at 150 dpi) and its text layer as read, up to
// its first zero byte (UTF-8).
struct RenderedPage {
    QImage image;
    QString textLayer;
};

// Reads the helper's files of a page; the image is null when there is none that can be read, the
// text layer empty when it is missing. Safe to call on any thread.
RenderedPage readRenderedPage(const PageRenderFiles& files);

// What the page area says when there is no page image to show after a run with this outcome.
QString pageNotShownText(const PageRenderOutcome& outcome);

// What the page area says when the file's page count is unknown (its "Page" cell was left
// empty): a file that is not a PDF, or one the information helper could not read.
QString unknownPageCountText(const QString& pdfFile);

// What the page area says while `page` is being made.
QString renderingPageText(int page);
