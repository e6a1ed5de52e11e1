// What the two batches of the "Replace" buttons share: taking a step only when one may be taken,
// the checks before each file, the start of each file and of its engine run, judging a file when
// its run has ended, and the end of a batch. The position batch and the content batch each have
// a source file of their own.
#include "process.h"

// What this part of the window builds on.
#include <QDir>
#include <QFileInfo>
#include <QTableWidget>

#include "child_run.h"
#include "helper_command.h"
#include "output_naming.h"
#include "page_layer_request.h"
#include "rule_report.h"
#include "run_folder.h"
#include "ui_process.h"

void Process::createBatchRunners() {
    batchRun = new ChildRun(this);
    connect(batchRun, &ChildRun::finished, this, &Process::onBatchRunFinished);
    connect(batchRun, &ChildRun::failedToStart, this, &Process::onBatchRunFailedToStart);
    connect(batchRun, &ChildRun::timedOut, this, &Process::onBatchRunTimedOut);
    pageRequest = new PageLayerRequest(this);
    connect(pageRequest, &PageLayerRequest::finished, this, &Process::gethtm);

    // A batch halted by a failed check is taken up again at its row only while the list is as it
    // was; these count every change of which file stands in which row.
    const QAbstractItemModel* files = ui->inputfiletableWidget->model();
    const auto changed = [this]() { ++fileListChanges; };
    connect(files, &QAbstractItemModel::rowsInserted, this, changed);
    connect(files, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(files, &QAbstractItemModel::rowsMoved, this, changed);
    connect(files, &QAbstractItemModel::layoutChanged, this, changed);
    connect(files, &QAbstractItemModel::modelReset, this, changed);
    connect(files, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex&) {
                if (from.column() == 0) {
                    ++fileListChanges;
                }
            });
}

void Process::stopBatchQuietly() {
    // A program still running is stopped while the window is whole; nothing of it may reach the
    // steps of a window that is being taken apart.
    if (batchRun) {
        batchRun->disconnect(this);
        batchRun->stop();
        // The engine stopped halfway leaves its unfinished output behind.
        if (batch.stage == BatchStage::Engine) {
            removeUnfinishedOutput(batch.outputPath);
        }
    }
    if (pageRequest) {
        pageRequest->disconnect(this);
        pageRequest->cancel();
    }
}

void Process::appendToPane(const QString& message) {
    ui->textEdit_process->append(message);
}

bool Process::batchStepAllowed() {
    if (batch.stage != BatchStage::Idle) {
        // A file is under way; its own completion takes the next step.
        return false;
    }
    if (!batch.controlsLocked && batch.position > 0 && batch.listChangesAtHalt != fileListChanges) {
        // The halted batch's row number means another file now.
        batch.position = 0;
    }
    if (pageCountRunning) {
        appendToPane(
            tr("The page counts are still being read; start the batch when they are "
               "done."));
        return false;
    }
    return true;
}

bool Process::batchInputReady(const QString& emptyListText) {
    if (ui->inputfiletableWidget->rowCount() == 0) {
        dialogs->warning(this, tr("Empty input"), emptyListText);
        haltBatch();
        return false;
    }
    const QString folder = ui->outputfolderEdit->text();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        dialogs->information(this, tr("Invalid order"), tr("Please specify an output folder."));
        ui->outputfolderEdit->setText(QString());
        haltBatch();
        return false;
    }
    return true;
}

bool Process::runFolderReady() {
    if (!runFolderPath().isEmpty()) {
        return true;
    }
    dialogs->warning(this, tr("No temporary folder"),
                     tr("The private temporary folder for the rule files could not be made, so "
                        "nothing was written. Check the temporary folder and try again."));
    haltBatch();
    return false;
}

void Process::beginBatchFile(BatchFlow flow) {
    if (batch.position == 0) {
        appendToPane(tr("Conversion Start:"));
    }
    setBatchControlsEnabled(false);
    batch.flow = flow;
    batch.fileItem = ui->inputfiletableWidget->item(batch.position, 0);
    batch.inputPath = batch.fileItem ? batch.fileItem->text() : QString();
    batch.outputPath.clear();
    batch.ruleFileFailed = false;
    batch.unreadPages = 0;
    appendToPane(batch.inputPath);
    writeResultCell(tr("Running…"), QString());
}

void Process::startBatchEngine(const QString& ruleFile) {
    batch.outputPath = firstFreeOutputPath(ui->outputfolderEdit->text(), batch.inputPath);
    const QString mode =
        QLatin1String(batch.kind == RuleKind::Text ? kTextRulesMode : kImageRulesMode);
    ++batch.position;
    batch.stage = BatchStage::Engine;
    if (batch.ruleFileFailed) {
        failBatchFile(tr("The rule file %1 could not be written.").arg(ruleFile));
        return;
    }
    batchRun->start(
        engineCommand(QDir::currentPath(), batch.inputPath, mode, batch.outputPath, ruleFile));
}

void Process::onBatchRunFinished(int exitCode, bool crashed, const QString& output) {
    if (batch.stage == BatchStage::Splitting) {
        onPageHelperFinished(exitCode, crashed, output);
        return;
    }
    // The engine's exit code is not trusted: a file succeeds when its output, which did not
    // exist before the run, is there and the file's page count is known, and (content batch)
    // every page was searched.
    const int row = batch.fileItem ? ui->inputfiletableWidget->row(batch.fileItem) : -1;
    const QTableWidgetItem* pageItem = row < 0 ? nullptr : ui->inputfiletableWidget->item(row, 1);
    const bool written = pageItem && !pageItem->text().isEmpty() && !batch.outputPath.isEmpty() &&
                         QFileInfo::exists(batch.outputPath);
    const bool succeeded = written && batch.unreadPages == 0;
    const RuleReport report = readRuleReport(output);
    QString summary = ruleSummary(report, batch.kind);
    if (written && batch.unreadPages > 0) {
        summary = (batch.unreadPages == 1
                       ? tr("%1; the text of 1 page could not be read, so it was not searched")
                       : tr("%1; the text of %2 pages could not be read, so they were not "
                            "searched")
                             .arg(QStringLiteral("%1"))
                             .arg(batch.unreadPages))
                      .arg(summary);
    }
    const QString result = succeeded ? tr("Succeed") : tr("Failed");
    writeResultCell(result, ruleDetails(summary, report));
    appendToPane(result + QLatin1String(": ") + summary);
    continueBatch();
}

void Process::onPageHelperFinished(int exitCode, bool crashed, const QString& output) {
    // Exit code 3: some pages could not be read (each is noted when it is analysed); 1 and 2:
    // the file could not be read at all, and there is nothing to search.
    if (crashed || (exitCode != 0 && exitCode != 3)) {
        ++batch.position;
        const QString said = output.trimmed().section(QLatin1Char('\n'), 0, 0);
        failBatchFile(crashed ? tr("the page helper stopped while reading the file.")
                              : tr("the page helper could not read the file (exit code %1): %2")
                                    .arg(exitCode)
                                    .arg(said));
        return;
    }
    batch.stage = BatchStage::Analysing;
    setlink();
}

void Process::onBatchRunFailedToStart(const QString& program, const QString& reason) {
    appendToPane(tr("Could not start %1 (%2).").arg(program, reason));
    if (batch.stage == BatchStage::Splitting) {
        // The engine start counts the file as done; without text layers it never comes to that.
        ++batch.position;
    }
    writeResultCell(tr("Failed"), tr("Could not start %1.").arg(program));
    continueBatch();
}

void Process::onBatchRunTimedOut(const QString& program, int timeLimitMs) {
    if (batch.stage == BatchStage::Splitting) {
        ++batch.position;
    } else if (batch.stage == BatchStage::Engine) {
        removeUnfinishedOutput(batch.outputPath);
    }
    failBatchFile(tr("%1 did not finish within %2 seconds and was stopped.")
                      .arg(program)
                      .arg(timeLimitMs / 1000));
}

void Process::failBatchFile(const QString& reason) {
    appendToPane(tr("Failed: %1").arg(reason));
    writeResultCell(tr("Failed"), reason);
    // From the event loop, like a completion, so that a long run of such files does not nest
    // one step inside the other.
    batch.stage = BatchStage::Engine;
    QMetaObject::invokeMethod(this, &Process::continueBatch, Qt::QueuedConnection);
}

void Process::writeResultCell(const QString& result, const QString& details) {
    QTableWidget* fileList = ui->inputfiletableWidget;
    const int row = batch.fileItem ? fileList->row(batch.fileItem) : -1;
    if (row < 0) {
        return;
    }
    auto* item = new QTableWidgetItem(result);
    item->setToolTip(details);
    fileList->setItem(row, 3, item);
}

void Process::continueBatch() {
    batch.stage = BatchStage::Idle;
    if (batch.flow == BatchFlow::Position) {
        on_pushButton_textsome_replace_clicked();
    } else {
        setallintorule();
    }
}

void Process::haltBatch() {
    // The position stays, so the next press takes the batch up again at the same file, as long
    // as the file list is not changed meanwhile.
    batch.stage = BatchStage::Idle;
    batch.listChangesAtHalt = fileListChanges;
    setBatchControlsEnabled(true);
}

void Process::finishBatch() {
    batch.position = 0;
    batch.stage = BatchStage::Idle;
    batch.fileItem = nullptr;
    appendToPane(tr("Conversion Finished."));
    setBatchControlsEnabled(true);
}
