// The position batch of the "According to Positions" tab: for each file of the list, one at a
// time, the visible position table is written to its rule file and the engine applies it. Each
// call of the button's slot is one step; the engine's completion takes the next.
#include "process.h"

// What this part of the window builds on.
#include <QTableWidget>

#include "content_rules.h"
#include "rule_file_lines.h"
#include "rule_order.h"
#include "run_folder.h"
#include "ui_process.h"

namespace {

QString itemText(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
}

}  // namespace

void Process::on_pushButton_textsome_replace_clicked() {
    if (!batchStepAllowed() || !batchInputReady(tr("Please choose files to replace"))) {
        return;
    }
    QTableWidget* rules = visiblePositionTable();
    if (batch.position >= ui->inputfiletableWidget->rowCount() || !rules) {
        finishBatch();
        return;
    }
    if (!runFolderReady()) {
        return;
    }
    beginBatchFile(BatchFlow::Position);
    batch.kind = rules == ui->tableWidget_textsome ? RuleKind::Text : RuleKind::Image;
    if (batch.kind == RuleKind::Text) {
        settextsomerule();
        startBatchEngine(runFolderFile(QStringLiteral("rules.txt")));
    } else {
        setimagesomerule();
        startBatchEngine(runFolderFile(QStringLiteral("imagerule.txt")));
    }
}

void Process::settextsomerule() {
    const QTableWidget& table = *ui->tableWidget_textsome;
    QList<PositionFields> places;
    for (int row = 0; row < table.rowCount(); ++row) {
        places << positionFields(itemText(table, row, 0));
    }
    QStringList lines;
    for (int row : applyingOrder(places)) {
        const QString find = itemText(table, row, 1);
        const QString replace = itemText(table, row, 2);
        if (!textRuleLineProblem(find, replace).isEmpty()) {
            appendToPane(unfitTextRuleNotice(find, replace));
            continue;
        }
        lines << textRuleLine(places.at(row), find, replace);
    }
    const QString ruleFile = runFolderFile(QStringLiteral("rules.txt"));
    if (!writeRuleFile(ruleFile, lines)) {
        batch.ruleFileFailed = true;
    }
}

void Process::setimagesomerule() {
    const QTableWidget& table = *ui->tableWidget_imagesome;
    QStringList lines;
    for (int row = 0; row < table.rowCount(); ++row) {
        lines << imageRuleLine(positionFields(itemText(table, row, 0)), itemText(table, row, 2),
                               itemText(table, row, 3), itemText(table, row, 4));
    }
    const QString ruleFile = runFolderFile(QStringLiteral("imagerule.txt"));
    if (!writeRuleFile(ruleFile, lines)) {
        batch.ruleFileFailed = true;
    }
}
