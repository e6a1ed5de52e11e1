// The content batch of the "According to Content" tab: for each file of the list the page helper
// writes the text layer of every page, each page's words are compared with the find texts of the
// current content table, every place found becomes a position rule in one content rule file, and
// the engine applies that file. Child programs' completions and the text-layer reads chain the
// steps on the GUI thread.
#include "process.h"

// What this part of the window builds on.
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "child_run.h"
#include "content_leftovers.h"
#include "content_rules.h"
#include "helper_command.h"
#include "page_analysis.h"
#include "page_layer_request.h"
#include "rule_file_lines.h"
#include "run_folder.h"
#include "ui_process.h"

namespace {

const char* const kPageBase = "split";
const char* const kContentRuleFile = "textall.txt";

QString contentRuleFile() {
    return runFolderFile(QLatin1String(kContentRuleFile));
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
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
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

// Nothing of the previous file may be read as this file's: its pages and its rules go. An empty
// rule file stands ready, so that a file without any hit is still copied.
bool clearContentFolder() {
    removeContentLeftovers(runFolderPath(), QLatin1String(kPageBase),
                           QLatin1String(kContentRuleFile));
    return writeRuleFile(contentRuleFile(), {});
}

}  // namespace

void Process::on_pushButton_textall_replace_clicked() {
    setallintorule();
}

void Process::setallintorule() {
    if (!batchStepAllowed() || !batchInputReady(tr("Please choose files to replace."))) {
        return;
    }
    if (batch.position >= ui->inputfiletableWidget->rowCount()) {
        finishBatch();
        return;
    }
    if (!runFolderReady()) {
        return;
    }
    beginBatchFile(BatchFlow::Content);
    batch.ruleFileFailed = !clearContentFolder();
    // The sub-tab and the rows current now hold for the whole file.
    const QTableWidget* table = currentContentTable();
    batch.kind = table == ui->tableWidget_textall ? RuleKind::Text : RuleKind::Image;
    const UsableContentRules usable =
        usableContentRules(batch.kind, contentRows(*table, batch.kind));
    for (const QString& notice : usable.notices) {
        appendToPane(notice);
    }
    batch.contentRules = usable.rules;
    batch.currentPage = 1;
    splitPage();
}

QStringList Process::splitPage() {
    batch.stage = BatchStage::Splitting;
    batchRun->start(hevritAllPagesCommand(
        QDir::currentPath(), batch.inputPath,
        runFolderFile(QLatin1String(kPageBase) + QLatin1String(".png")), true));
    return QStringList();
}

void Process::setlink() {
    getAlltheText();
}

void Process::getAlltheText() {
    batch.stage = BatchStage::Analysing;
    const int row = batch.fileItem ? ui->inputfiletableWidget->row(batch.fileItem) : -1;
    const QTableWidgetItem* pageItem = row < 0 ? nullptr : ui->inputfiletableWidget->item(row, 1);
    const int pageCount = pageItem ? pageItem->text().toInt() : 0;
    if (batch.currentPage > pageCount) {
        batch.currentPage = 1;
        replacealltext();
        return;
    }
    pageRequest->get(
        runFolderFile(QString::asprintf("%s_pg_%04d.htm", kPageBase, batch.currentPage)));
    appendToPane(tr("Analyzing page %1").arg(batch.currentPage));
    ++batch.currentPage;
}

void Process::gethtm() {
    if (batch.stage != BatchStage::Analysing) {
        return;
    }
    if (pageRequest->failed()) {
        // The page adds no rule; the user learns why nothing was replaced there.
        appendToPane(tr("The text of page %1 could not be read.").arg(batch.currentPage - 1));
        ++batch.unreadPages;
    }
    getTextPosition(pageRequest->text());
}

void Process::getTextPosition(QString sxml) {
    const int page = batch.currentPage - 1;
    const QList<Subtext> boxes = readPageBoxes(sxml);
    if (boxes.size() == kMaxPageLayerLines && textLayerLines(sxml).size() > kMaxPageLayerLines) {
        appendToPane(tr("Page %1 holds more than %2 words; only the first %2 were searched.")
                         .arg(page)
                         .arg(kMaxPageLayerLines));
    }
    const QStringList lines = contentRuleLines(batch.kind, page, boxes, batch.contentRules);
    if (!lines.isEmpty() && !appendRuleLines(contentRuleFile(), lines)) {
        batch.ruleFileFailed = true;
    }
    getAlltheText();
}

void Process::replacealltext() {
    appendToPane(batch.inputPath);
    startBatchEngine(contentRuleFile());
}
