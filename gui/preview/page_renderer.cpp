#include "page_renderer.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include "child_run.h"
#include "helper_command.h"

PageRenderer::PageRenderer(QObject* parent) : QObject(parent), run(new ChildRun(this)) {
    run->setTimeLimit(kPageRenderTimeoutMs);
    connect(run, &ChildRun::finished, this, &PageRenderer::onHelperFinished);
    connect(run, &ChildRun::failedToStart, this, [this](const QString&, const QString& reason) {
        qWarning().noquote() << "The page helper could not be started:" << reason;
        fail(PageRenderProblem::HelperNotStarted);
    });
    connect(run, &ChildRun::timedOut, this,
            [this](const QString&, int) { fail(PageRenderProblem::TimedOut); });
}

PageRenderer::~PageRenderer() {
    cancel();
}

void PageRenderer::setTimeLimit(int milliseconds) {
    run->setTimeLimit(milliseconds);
}

void PageRenderer::cancel() {
    ++request;
    busy = false;
    run->stop();
}

void PageRenderer::start(const QString& programFolder, const QString& pdfFile, int page,
                         const QString& pngBase) {
    cancel();
    busy = true;
    outcome = PageRenderOutcome();
    outcome.pdfFile = pdfFile;
    if (pngBase.isEmpty()) {
        fail(PageRenderProblem::NoOutputFolder);
        return;
    }
    files = pageRenderFiles(pngBase);
    QFile::remove(files.image);
    QFile::remove(files.textLayer);

    const QFileInfo pdfInfo(pdfFile);
    if (!pdfInfo.isFile() || !pdfInfo.isReadable()) {
        fail(PageRenderProblem::FileUnreadable);
        return;
    }
    const HelperCommand command = hevritPageCommand(programFolder, pdfFile, pngBase, page);
    outcome.helperPath = command.program;
    if (!QFileInfo(command.program).isFile()) {
        fail(PageRenderProblem::HelperMissing);
        return;
    }
    qDebug().noquote() << "PNG FILE CMD" << command.commandLine();
    run->start(command);
}

void PageRenderer::fail(PageRenderProblem problem) {
    busy = false;
    outcome.problem = problem;
    emit failed(outcome);
}

void PageRenderer::onHelperFinished(int exitCode, bool crashed, const QString& output) {
    if (crashed) {
        fail(PageRenderProblem::Crashed);
        return;
    }
    if (exitCode != 0) {
        qWarning().noquote() << "The page helper ended with exit code" << exitCode << output;
        outcome.exitCode = exitCode;
        fail(PageRenderProblem::ExitCode);
        return;
    }
    readFiles();
}

void PageRenderer::readFiles() {
    // Decoding a large page takes long enough to be felt, so it is done on a worker thread.
    const quint64 thisRequest = request;
    auto* watcher = new QFutureWatcher<RenderedPage>(this);
    connect(watcher, &QFutureWatcher<RenderedPage>::finished, this, [this, watcher, thisRequest]() {
        watcher->deleteLater();
        if (thisRequest != request) {
            return;
        }
        const RenderedPage page = watcher->result();
        if (page.image.isNull()) {
            fail(PageRenderProblem::NoPageImage);
            return;
        }
        busy = false;
        emit rendered(page);
    });
    watcher->setFuture(QtConcurrent::run(readRenderedPage, files));
}
