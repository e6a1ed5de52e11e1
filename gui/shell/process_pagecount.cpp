// The page-count pass: after files were added, the information helper is run for each of them in
// turn, and its page count goes into the file's "Page" cell. Each run has the batches' time limit,
// so a helper that hangs cannot keep the file list locked.
#include "process.h"

// What this part of the window builds on.
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "child_run.h"
#include "helper_command.h"
#include "info_file.h"
#include "program_folder.h"
#include "run_folder.h"
#include "ui_process.h"

namespace {

// The information file in the private run folder; empty when that folder cannot be made.
QString informationFilePath() {
    return runFolderFile(QLatin1String(kInfoFileName));
}

// The page count from the information file; empty when there is none or it has no count.
// Sets opened to false when the file exists but cannot be read.
QString readPageCount(const QString& infoPath, bool& opened) {
    opened = true;
    QFile infoFile(infoPath);
    if (infoPath.isEmpty() || !infoFile.exists()) {
        return QString();
    }
    if (!infoFile.open(QIODevice::ReadOnly | QIODevice::Text)) {
        opened = false;
        return QString();
    }
    const QString pageCount = pageCountFromInfo(QString::fromUtf8(infoFile.readAll()));
    qDebug("Page number is:%d.\n", pageCount.toInt());
    infoFile.close();
    // Removed after each reading, so no count can pass on to the next file.
    infoFile.remove();
    return pageCount;
}

}  // namespace

void Process::getpdfpage() {
    if (pendingPosition < pendingPaths.size()) {
        startInformationRun(pendingPosition);
        return;
    }
    ui->textEdit_process->append(tr("Finished."));
    pageCountRunning = false;
    setFileListControlsEnabled(true);
}

void Process::createInformationRun() {
    informationRun = new ChildRun(this);
    informationRun->setTimeLimit(pageCountTimeLimitMs);
    connect(informationRun, &ChildRun::finished, this, [this]() { setpdfpage(); });
    // A helper that cannot be started, or that was stopped at its time limit, counts as a run
    // that wrote no information file: the pane says why and the pass goes on. ChildRun reports a
    // failed start from the event loop, so the next run never nests into this one.
    connect(informationRun, &ChildRun::failedToStart, this,
            [this](const QString& program, const QString& reason) {
                ui->textEdit_process->append(tr("Could not start %1 (%2).").arg(program, reason));
                setpdfpage();
            });
    connect(informationRun, &ChildRun::timedOut, this, [this](const QString& program, int limitMs) {
        ui->textEdit_process->append(tr("%1 did not finish within %2 seconds and was stopped.")
                                         .arg(program)
                                         .arg(limitMs / 1000));
        setpdfpage();
    });
}

void Process::startInformationRun(int position) {
    if (!informationRun) {
        createInformationRun();
    }
    const QString infoPath = informationFilePath();
    if (infoPath.isEmpty()) {
        // Without the private folder the helper has nowhere to write; the row gets an empty
        // cell, from the event loop as a finished run would.
        ui->textEdit_process->append(tr("The private temporary folder could not be made."));
        QMetaObject::invokeMethod(this, &Process::setpdfpage, Qt::QueuedConnection);
        return;
    }
    // Whatever an earlier run left there (a file of a run that was stopped, or a folder a helper
    // made in its place) must not be read as this file's information.
    if (QFileInfo(infoPath).isDir()) {
        QDir(infoPath).removeRecursively();
    } else {
        QFile::remove(infoPath);
    }
    informationRun->start(
        dossalyInfoCommand(childProgramFolder(), pendingPaths.at(position), infoPath));
}

void Process::setPageCountTimeLimit(int milliseconds) {
    pageCountTimeLimitMs = milliseconds;
    if (informationRun) {
        informationRun->setTimeLimit(milliseconds);
    }
}

void Process::stopPageCountQuietly() {
    // A helper still running is stopped while the window is whole; its completion must not reach
    // the page-count pass of a window that is being taken apart.
    if (informationRun) {
        informationRun->disconnect(this);
        informationRun->stop();
    }
}

void Process::setpdfpage() {
    if (pendingPosition >= pendingPaths.size()) {
        return;
    }
    const QString infoPath = informationFilePath();
    qDebug().noquote() << QStringLiteral("Information file is: \"%1\"").arg(infoPath);

    bool opened = true;
    const QString pageCount = readPageCount(infoPath, opened);
    if (!opened) {
        // The file stays unread; the row gets an empty cell and the pass goes on.
        qDebug("No information file.");
        // Removing it keeps it from being read as the next file's information.
        QFile::remove(infoPath);
    }
    writePageCell(pendingPosition, pageCount);
    ui->textEdit_process->append(tr("Loading ") + pendingPaths.at(pendingPosition));
    ++pendingPosition;
    getpdfpage();
}

void Process::writePageCell(int position, const QString& pageCount) {
    QTableWidget* fileList = ui->inputfiletableWidget;
    // The row that holds this file's path item now; sorting may have moved it since it was added.
    const int row = fileList->row(pendingItems.at(position));
    if (row < 0) {
        return;
    }
    const bool sorting = fileList->isSortingEnabled();
    fileList->setSortingEnabled(false);
    fileList->setItem(row, 1, new QTableWidgetItem(pageCount));
    fileList->setSortingEnabled(sorting);
}
