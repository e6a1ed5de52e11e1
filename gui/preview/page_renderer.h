#pragma once

#include <QObject>
#include <QString>

#include "page_render.h"

class ChildRun;

// Makes one page for the picker without ever waiting on the calling thread: the page helper runs
// as a child process reported by signals, and its image and text layer are read on a worker
// thread. A new request stops the run or the reading still going; what it would have brought is
// never reported. Exactly one of rendered() and failed() follows each request that is not
// replaced or cancelled.
class PageRenderer : public QObject {
    Q_OBJECT

  public:
    explicit PageRenderer(QObject* parent = nullptr);
    ~PageRenderer() override;

    // Starts making `page` of `pdfFile` with the page helper of `programFolder`, its files
    // written beside `pngBase` (see pageRenderFiles). The page's files of an earlier run are
    // removed first, so that a run that writes nothing never leaves an older page behind. A
    // failure found before the helper runs (no file, no helper) is reported at once.
    void start(const QString& programFolder, const QString& pdfFile, int page,
               const QString& pngBase);
    // Stops whatever runs; nothing is reported for it.
    void cancel();
    // A request is under way (the helper runs or its files are being read).
    bool isBusy() const { return busy; }
    // A run longer than this is stopped and reported as timed out.
    void setTimeLimit(int milliseconds);

  signals:
    void rendered(const RenderedPage& page);
    void failed(const PageRenderOutcome& outcome);

  private:
    void onHelperFinished(int exitCode, bool crashed, const QString& output);
    void fail(PageRenderProblem problem);
    void readFiles();

    ChildRun* run = nullptr;
    // Counts the requests, so that the reading of a replaced one is recognised and dropped.
    quint64 request = 0;
    bool busy = false;
    PageRenderOutcome outcome;
    PageRenderFiles files;
};
