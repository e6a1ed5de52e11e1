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
    pageRequest = new PageLayerRequest(this);
    connect(pageRequest, &PageLayerRequest::finished, this, &Process::gethtm);
}

void Process::stopBatchQuietly() {
    // A program still running is stopped while the window is whole; nothing of it may reach the
    // steps of a window that is being taken apart.
    if (batchRun) {
        batchRun->disconnect(this);
        batchRun->stop();
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
        const QString reason = tr("The rule file %1 could not be written.").arg(ruleFile);
        appendToPane(tr("Failed: %1").arg(reason));
        writeResultCell(tr("Failed"), reason);
        // From the event loop, like a completion, so that a long run of such files does not
        // nest one step inside the other.
        QMetaObject::invokeMethod(this, &Process::continueBatch, Qt::QueuedConnection);
        return;
    }
    batchRun->start(
        engineCommand(QDir::currentPath(), batch.inputPath, mode, batch.outputPath, ruleFile));
}

void Process::onBatchRunFinished(int, const QString& output) {
    if (batch.stage == BatchStage::Splitting) {
        batch.stage = BatchStage::Analysing;
        setlink();
        return;
    }
    // The engine's exit code is not trusted: a file succeeds when its output, which did not
    // exist before the run, is there and the file's page count is known.
    const int row = batch.fileItem ? ui->inputfiletableWidget->row(batch.fileItem) : -1;
    const QTableWidgetItem* pageItem = row < 0 ? nullptr : ui->inputfiletableWidget->item(row, 1);
    const bool succeeded = pageItem && !pageItem->text().isEmpty() && !batch.outputPath.isEmpty() &&
                           QFileInfo::exists(batch.outputPath);
    const RuleReport report = readRuleReport(output);
    const QString result = succeeded ? tr("Succeed") : tr("Failed");
    writeResultCell(result, ruleDetails(report, batch.kind));
    appendToPane(result + QLatin1String(": ") + ruleSummary(report, batch.kind));
    continueBatch();
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
    // The position stays, so the next press takes the batch up again at the same file.
    batch.stage = BatchStage::Idle;
    setBatchControlsEnabled(true);
}

void Process::finishBatch() {
    batch.position = 0;
    batch.stage = BatchStage::Idle;
    batch.fileItem = nullptr;
    appendToPane(tr("Conversion Finished."));
    setBatchControlsEnabled(true);
}
