// The two batches of the "Replace" buttons as the window runs them: it fills the shared batch
// runner from its file list and rule tables, answers the runner's check before each file, and
// shows the runner's reports in the progress pane and the file list's "Result" cells.
#include "process.h"

// What this part of the window builds on.
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "batch_runner.h"
#include "content_rules.h"
#include "program_folder.h"
#include "rule_file_lines.h"
#include "rule_order.h"
#include "run_folder.h"
#include "ui_process.h"

namespace {

QString itemText(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
}

// The text of a content table cell: its line editor, its image button or a plain item.
QString cellText(const QTableWidget& table, int row, int column) {
    QWidget* widget = table.cellWidget(row, column);
    if (const auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (const auto* button = qobject_cast<QPushButton*>(widget)) {
        return button->text();
    }
    return itemText(table, row, column);
}

// The rows of a content table as rules of the given kind.
QList<ContentRule> contentRows(const QTableWidget& table, RuleKind kind) {
    QList<ContentRule> rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (kind == RuleKind::Text) {
            rows.append({cellText(table, row, 0), cellText(table, row, 1), {}, {}, {}});
            continue;
        }
        // The image button reads "Open Picture File" until an image is chosen.
        QString image = cellText(table, row, 1);
        if (image == QCoreApplication::translate("Process", "Open Picture File")) {
            image.clear();
        }
        rows.append(
            {cellText(table, row, 0), {}, image, cellText(table, row, 2), cellText(table, row, 3)});
    }
    return rows;
}

}  // namespace

void Process::createBatchRunners() {
    batchRunner = new BatchRunner(this);
    batchRunner->setFileCheck([this](int) { return batchFileReady(); });
    connect(batchRunner, &BatchRunner::fileStarted, this, &Process::onBatchFileStarted);
    connect(batchRunner, &BatchRunner::message, this,
            [this](int, const QString& text) { appendToPane(text); });
    connect(batchRunner, &BatchRunner::pageAnalysed, this, [this](int, int page, int pageCount) {
        batchProgress.pageAnalysed(page, pageCount);
        showBatchProgress();
    });
    connect(batchRunner, &BatchRunner::engineStarted, this, [this]() {
        batchProgress.engineStarted();
        showBatchProgress();
    });
    connect(batchRunner, &BatchRunner::fileFinished, this, &Process::onBatchFileFinished);
    connect(batchRunner, &BatchRunner::halted, this, &Process::onBatchHalted);
    connect(batchRunner, &BatchRunner::finished, this, &Process::finishBatch);

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
    // Programs still running are stopped while the window is whole; nothing of them may reach
    // a window that is being taken apart.
    if (batchRunner) {
        batchRunner->disconnect(this);
        batchRunner->cancel();
    }
}

void Process::appendToPane(const QString& message) {
    ui->textEdit_process->append(message);
}

void Process::on_pushButton_textsome_replace_clicked() {
    startBatch(BatchFlow::Position);
}

void Process::on_pushButton_textall_replace_clicked() {
    setallintorule();
}

void Process::setallintorule() {
    startBatch(BatchFlow::Content);
}

void Process::startBatch(BatchFlow flow) {
    if (batchRunner->isRunning()) {
        // A file is under way; the batch goes on by itself.
        return;
    }
    if (pageCountRunning) {
        appendToPane(
            tr("The page counts are still being read; start the batch when they are "
               "done."));
        return;
    }
    if (flow == BatchFlow::Position && !visiblePositionTable()) {
        return;
    }
    batchFlow = flow;
    QTableWidget* fileList = ui->inputfiletableWidget;
    if (fileList->rowCount() == 0) {
        batchInputReady();
        return;
    }
    // The halted batch's row number means another file once the list has changed.
    const int from = haltedAt >= 0 && listChangesAtHalt == fileListChanges ? haltedAt : 0;
    haltedAt = -1;
    batchItems.clear();
    QList<BatchFile> files;
    for (int row = 0; row < fileList->rowCount(); ++row) {
        QTableWidgetItem* pathItem = fileList->item(row, 0);
        batchItems << pathItem;
        // A "Page" cell left empty reads 0: the file is run but cannot pass for done.
        files << BatchFile{pathItem ? pathItem->text() : QString(),
                           itemText(*fileList, row, 1).toInt(), QString()};
    }
    batchRunner->setProgramFolder(childProgramFolder());
    batchRunner->setRuleSource([this](int) {
        if (batchFlow == BatchFlow::Content) {
            return contentRulesForFile();
        }
        return visiblePositionTable() == ui->tableWidget_imagesome ? setimagesomerule()
                                                                   : settextsomerule();
    });
    batchStartIndex = from;
    batchProgress.start(static_cast<int>(files.size()), from);
    if (!batchRunner->start(files, from)) {
        runFolderReady();
    }
}

bool Process::batchFileReady() {
    if (!batchInputReady() || !runFolderReady()) {
        return false;
    }
    batchRunner->setOutputFolder(ui->outputfolderEdit->text());
    return true;
}

bool Process::batchInputReady() {
    if (ui->inputfiletableWidget->rowCount() == 0) {
        dialogs->warning(this, tr("Empty input"),
                         batchFlow == BatchFlow::Position ? tr("Please choose files to replace")
                                                          : tr("Please choose files to replace."));
        return false;
    }
    const QString folder = ui->outputfolderEdit->text();
    if (folder.contains(QLatin1Char('\n')) || folder.contains(QLatin1Char('\r'))) {
        dialogs->information(this, tr("Invalid order"),
                             tr("The output folder's path holds a line break; please choose a "
                                "folder whose path has none."));
        return false;
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        dialogs->information(this, tr("Invalid order"), tr("Please specify an output folder."));
        ui->outputfolderEdit->setText(QString());
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
    return false;
}

FileRules Process::settextsomerule() {
    const QTableWidget& table = *ui->tableWidget_textsome;
    QList<PositionFields> places;
    for (int row = 0; row < table.rowCount(); ++row) {
        places << positionFields(itemText(table, row, 0));
    }
    FileRules rules;
    rules.textRun = true;
    for (int row : applyingOrder(places)) {
        const QString find = itemText(table, row, 1);
        const QString replace = itemText(table, row, 2);
        if (!textRuleLineProblem(find, replace).isEmpty()) {
            rules.notices << unfitTextRuleNotice(find, replace);
            continue;
        }
        rules.textLines << textRuleLine(places.at(row), find, replace);
    }
    return rules;
}

FileRules Process::setimagesomerule() {
    const QTableWidget& table = *ui->tableWidget_imagesome;
    FileRules rules;
    rules.imageRun = true;
    for (int row = 0; row < table.rowCount(); ++row) {
        const QString image = itemText(table, row, 2);
        if (!imagePathFitsRuleLine(image)) {
            rules.notices << tr("Skipped the image rule at %1: a rule file cannot hold an image "
                                "path with \")\" or a line break in it (rename the image or its "
                                "folder).")
                                 .arg(itemText(table, row, 0));
            continue;
        }
        rules.imageLines << imageRuleLine(positionFields(itemText(table, row, 0)), image,
                                          itemText(table, row, 3), itemText(table, row, 4));
    }
    return rules;
}

FileRules Process::contentRulesForFile() {
    // The sub-tab and the rows current now hold for the whole file.
    const QTableWidget* table = currentContentTable();
    const RuleKind kind = table == ui->tableWidget_textall ? RuleKind::Text : RuleKind::Image;
    const UsableContentRules usable = usableContentRules(kind, contentRows(*table, kind));
    FileRules rules;
    rules.searchPages = true;
    rules.notices = usable.notices;
    if (kind == RuleKind::Text) {
        rules.textRun = true;
        rules.textContent = usable.rules;
    } else {
        rules.imageRun = true;
        rules.imageContent = usable.rules;
    }
    return rules;
}

void Process::onBatchFileStarted(int index, const QString& inputPath) {
    if (index == 0 && batchStartIndex == 0) {
        appendToPane(tr("Conversion Start:"));
    }
    setBatchControlsEnabled(false);
    appendToPane(inputPath);
    writeResultCell(index, tr("Running…"), QString());
    batchProgress.fileStarted(index);
    showBatchProgress();
}

void Process::onBatchFileFinished(const FileResult& result) {
    writeResultCell(result.index, result.succeeded ? tr("Succeed") : tr("Failed"), result.details,
                    result.warning);
    appendToPane(result.paneMessage);
    batchProgress.fileFinished();
    showBatchProgress();
}

void Process::showBatchProgress() {
    ui->progressBar_batch->setMaximum(BatchProgress::kMaximum);
    ui->progressBar_batch->setFormat(batchProgress.text());
    ui->progressBar_batch->setValue(batchProgress.value());
}

void Process::onBatchHalted(int index) {
    // The next press takes the batch up again at the same file, as long as the file list is not
    // changed meanwhile.
    haltedAt = index;
    listChangesAtHalt = fileListChanges;
    setBatchControlsEnabled(true);
}

void Process::finishBatch() {
    batchItems.clear();
    appendToPane(tr("Conversion Finished."));
    setBatchControlsEnabled(true);
}

void Process::writeResultCell(int index, const QString& result, const QString& details,
                              bool warning) {
    QTableWidget* fileList = ui->inputfiletableWidget;
    QTableWidgetItem* pathItem = batchItems.value(index, nullptr);
    const int row = pathItem ? fileList->row(pathItem) : -1;
    if (row < 0) {
        return;
    }
    auto* item = new QTableWidgetItem(result);
    item->setToolTip(details);
    if (warning) {
        item->setIcon(QIcon(QStringLiteral(":/iconoption/icons/warning.png")));
    }
    fileList->setItem(row, 3, item);
}
