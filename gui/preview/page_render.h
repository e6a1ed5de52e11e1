#pragma once

#include <QString>

// One run of the page helper for the picker: one page of a PDF made into an image and a text
// layer, and what became of it.

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
    HelperMissing,     // there is no helper program in the working directory
    HelperNotStarted,  // the helper is there but could not be started
    TimedOut,          // the helper did not end in time and was stopped
    Crashed,           // the helper ended abnormally
    ExitCode,          // the helper ended with another exit code than 0
};

struct PageRenderOutcome {
    PageRenderProblem problem = PageRenderProblem::None;
    int exitCode = 0;
    QString helperPath;
    QString pdfFile;
};

// Waits at most this long for the helper: it blocks the window meanwhile.
inline constexpr int kPageRenderTimeoutMs = 30000;

// Runs "<workingDir>/Hevrit.dll" on `page` of `pdfFile` with the output base `pngBase` and waits
// for it, logging its command line first. The page's files of an earlier run are removed before,
// so that a run that writes nothing never leaves an older page to be shown.
PageRenderOutcome renderPage(const QString& workingDir, const QString& pdfFile, int page,
                             const QString& pngBase, int timeoutMs = kPageRenderTimeoutMs);

// What the page area says when there is no page image to show after a run with this outcome.
QString pageNotShownText(const PageRenderOutcome& outcome);
