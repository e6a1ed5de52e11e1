// The page-count pass: after files were added, the information helper is run for each of them in
// turn, and its page count goes into the file's "Page" cell.
#include "process.h"

// What this part of the window builds on.
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "helper_command.h"
#include "info_file.h"
#include "ui_process.h"

namespace {

QString informationFilePath() {
    return QDir::currentPath() + QLatin1Char('/') + QLatin1String(kInfoFileName);
}

// The page count from the information file; empty when there is none or it has no count.
// Sets opened to false when the file exists but cannot be read.
QString readPageCount(const QString& infoPath, bool& opened) {
    opened = true;
    QFile infoFile(infoPath);
    if (!infoFile.exists()) {
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

void Process::startInformationRun(int position) {
    const HelperCommand command =
        dossalyInfoCommand(QDir::currentPath(), pendingPaths.at(position), informationFilePath());
    qDebug().noquote() << command.commandLine();

    if (informationProcess) {
        informationProcess->deleteLater();
    }
    auto* run = new QProcess(this);
    informationProcess = run;
    connect(run, &QProcess::finished, this, [this, run]() {
        if (run == informationProcess) {
            setpdfpage();
        }
    });
    // A helper that cannot be started sends no completion; its run counts as one that wrote no
    // information file, so the pass goes on.
    connect(run, &QProcess::errorOccurred, this, [this, run](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            onInformationRunFailedToStart(run);
        }
    });
    run->start(command.program, command.arguments, QIODevice::ReadWrite);
}

void Process::onInformationRunFailedToStart(QProcess* run) {
    if (run != informationProcess) {
        return;
    }
    qWarning().noquote() << "Information program could not be started:" << run->errorString();
    // Handled from the event loop, so that a failure reported inside start() does not nest the
    // next run into this one.
    QMetaObject::invokeMethod(
        this,
        [this, run]() {
            if (run == informationProcess) {
                setpdfpage();
            }
        },
        Qt::QueuedConnection);
}

void Process::setpdfpage() {
    if (pendingPosition >= pendingPaths.size()) {
        return;
    }
    if (informationProcess) {
        informationProcess->close();
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
