// The rule picker's two rule tables: a picked box added to both, rows removed, a picture chosen,
// the mode chosen, rows handed in by the main window, and "Save".
#include <QDebug>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <set>

#include "picker_rules.h"
#include "position_text.h"
#include "rule_file_lines.h"
#include "rules.h"
#include "run_folder.h"
#include "ui_rules.h"
#include "user_dialogs.h"

namespace {

// The picture button's text until a picture has been chosen.
const char* const kOpenPictureText = "Open Picture File";

// The row whose position cell holds `position`; -1 when there is none.
int rowOfPosition(const QTableWidget& table, const QString& position) {
    for (int row = 0; row < table.rowCount(); ++row) {
        const QTableWidgetItem* item = table.item(row, 0);
        if (item && item->text() == position) {
            return row;
        }
    }
    return -1;
}

QString itemText(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
}

QString lineEditText(const QTableWidget& table, int row, int column) {
    const auto* edit = qobject_cast<const QLineEdit*>(table.cellWidget(row, column));
    return edit ? edit->text() : QString();
}

QString buttonText(const QTableWidget& table, int row, int column) {
    const auto* button = qobject_cast<const QPushButton*>(table.cellWidget(row, column));
    return button ? button->text() : QString();
}

void removeAllRows(QTableWidget& table) {
    for (int row = table.rowCount() - 1; row >= 0; --row) {
        table.removeRow(row);
    }
}

// Removes every row that holds a selected cell, the highest row first, so that the numbers of
// the rows still to go stay valid.
void removeSelectedRows(QTableWidget& table) {
    std::set<int> rows;
    for (const QModelIndex& index : table.selectionModel()->selectedIndexes()) {
        rows.insert(index.row());
    }
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        table.removeRow(*row);
    }
}

// Widens the position column to its longest text, so that positions are read whole; it never
// narrows below its first width.
void widenPositionColumn(QTableWidget& table) {
    const int needed = static_cast<const QAbstractItemView&>(table).sizeHintForColumn(0);
    if (needed > table.columnWidth(0)) {
        table.setColumnWidth(0, needed);
    }
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

void Rules::setUpRuleTables() {
    const auto setUp = [this](QTableWidget* table, void (Rules::*removeSlot)()) {
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setContextMenuPolicy(Qt::ActionsContextMenu);
        auto* deleteAction = new QAction(tr("Delete Selected Rule(s)"), table);
        table->addAction(deleteAction);
        connect(deleteAction, &QAction::triggered, this, removeSlot);
        table->setStyleSheet(QStringLiteral("color:black;"));
    };
    setUp(ui->tableWidget_rule, &Rules::removerule);
    setUp(ui->tableWidget_rule_image, &Rules::removeimagerule);
    for (int column : {1, 3, 4}) {
        ui->tableWidget_rule_image->setColumnWidth(column, 60);
    }
}

void Rules::clearRuleTables() {
    removeAllRows(*ui->tableWidget_rule);
    removeAllRows(*ui->tableWidget_rule_image);
}

void Rules::appendTextRow(const QString& position, const QString& find, const QString& replace) {
    QTableWidget* table = ui->tableWidget_rule;
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, new QTableWidgetItem(position));
    table->setItem(row, 1, new QTableWidgetItem(find));
    table->setCellWidget(row, 2, new QLineEdit(replace));
    widenPositionColumn(*table);
}

void Rules::appendImageRow(const QString& position, const QString& find, const QString& imageFile,
                           const QString& width, const QString& height, bool sizesAsPlaceholders) {
    QTableWidget* table = ui->tableWidget_rule_image;
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, new QTableWidgetItem(position));
    table->setItem(row, 1, new QTableWidgetItem(find));
    auto* pictureButton = new QPushButton(imageFile);
    // Return in the row's size fields must not open the picture chooser.
    pictureButton->setAutoDefault(false);
    connect(pictureButton, &QPushButton::clicked, this, &Rules::setopenimage);
    table->setCellWidget(row, 2, pictureButton);
    int column = 3;
    for (const QString& size : {width, height}) {
        auto* edit = new QLineEdit;
        if (sizesAsPlaceholders) {
            edit->setPlaceholderText(size);
        } else {
            edit->setText(size);
        }
        table->setCellWidget(row, column++, edit);
    }
    widenPositionColumn(*table);
}

void Rules::addtorules() {
    const QString position = positionText(ui->spinBox_pagenumber->value(), pickedBox);
    // A click offers the box both as a text rule and as an image rule; the mode decides which
    // table is saved. A box already in a table is only selected there.
    QTableWidget* textTable = ui->tableWidget_rule;
    const int textRow = rowOfPosition(*textTable, position);
    if (textRow >= 0) {
        textTable->selectRow(textRow);
    } else {
        appendTextRow(position, pickedBox.text, QString());
    }
    QTableWidget* imageTable = ui->tableWidget_rule_image;
    const int imageRow = rowOfPosition(*imageTable, position);
    if (imageRow >= 0) {
        imageTable->selectRow(imageRow);
    } else {
        const PositionFields fields = positionFields(position);
        appendImageRow(position, pickedBox.text, tr(kOpenPictureText), fields.width, fields.height,
                       true);
    }
    addButton->hide();
    ui->pushButton_save->setEnabled(true);
}

void Rules::removerule() {
    removeSelectedRows(*ui->tableWidget_rule);
}

void Rules::removeimagerule() {
    removeSelectedRows(*ui->tableWidget_rule_image);
}

void Rules::setopenimage() {
    QTableWidget* table = ui->tableWidget_rule_image;
    int row = 0;
    while (row < table->rowCount() && table->cellWidget(row, 2) != sender()) {
        ++row;
    }
    auto* pictureButton = qobject_cast<QPushButton*>(sender());
    if (row == table->rowCount() || !pictureButton) {
        return;
    }
    const QString image = dialogs->openFileName(
        this, tr("Add Image"), settings->pictureFolder(),
        tr("All Supported Files(*.bmp *.jpg *.png);;BMP File(*.bmp);;JPEG File(*.jpg);;PNG "
           "File(*.png);;ALL files(*.*)"));
    if (image.isEmpty()) {
        return;
    }
    qDebug() << "The choosen button is" << QStringLiteral("%1  %2").arg(row).arg(2);
    pictureButton->setText(image);
    settings->setPictureFolder(QFileInfo(image).absolutePath());
}

void Rules::setradiotext() {
    ui->tableWidget_rule->setEnabled(ui->radioButton_text->isChecked());
}

void Rules::setradioimage() {
    ui->tableWidget_rule_image->setEnabled(ui->radioButton_image->isChecked());
}

void Rules::setinirule() {
    if (exchange.inputKind == 1) {
        removeAllRows(*ui->tableWidget_rule);
        for (int i = 0; i < exchange.inputTextCount && i < exchange.inputText.size(); ++i) {
            const ExchangeTextRow& rule = exchange.inputText.at(i);
            appendTextRow(rule.position, rule.find, rule.replace);
        }
    } else if (exchange.inputKind == 2) {
        removeAllRows(*ui->tableWidget_rule_image);
        for (int i = 0; i < exchange.inputImageCount && i < exchange.inputImage.size(); ++i) {
            const ExchangeImageCells& rule = exchange.inputImage.at(i);
            appendImageRow(rule.position, rule.find, rule.imageFile, rule.width, rule.height,
                           false);
        }
    }
}

void Rules::setsave() {
    qDebug().noquote() << "rule text file is:"
                       << quoted(runFolderFile(QStringLiteral("rules.txt")));
    const bool saved = ui->radioButton_text->isChecked() ? saveTextRules() : saveImageRules();
    if (saved) {
        accept();
    }
}

bool Rules::saveTextRules() {
    const QTableWidget& table = *ui->tableWidget_rule;
    QList<ExchangeTextRow> rows;
    QStringList lines;
    for (int row = 0; row < table.rowCount(); ++row) {
        const ExchangeTextRow rule{itemText(table, row, 0), itemText(table, row, 1),
                                   lineEditText(table, row, 2)};
        const QString problem = textRuleLineProblem(rule.find, rule.replace);
        if (!problem.isEmpty()) {
            dialogs->warning(this, tr("Rule cannot be saved"),
                             tr("The rule %1 for \"%2\" cannot be saved: %3 Change or remove it "
                                "to save the others.")
                                 .arg(rule.position, rule.find, problem));
            ui->tableWidget_rule->selectRow(row);
            return false;
        }
        rows << rule;
        lines << textRuleLine(positionFields(rule.position), rule.find, rule.replace);
    }
    const QString ruleFile = runFolderFile(QStringLiteral("rules.txt"));
    if (!writeRuleFile(ruleFile, lines)) {
        qWarning().noquote() << "The rule file could not be written:" << quoted(ruleFile);
    }
    exchange.handBackText(rows);
    return true;
}

bool Rules::saveImageRules() {
    const QTableWidget& table = *ui->tableWidget_rule_image;
    QList<ExchangeImageRow> rows;
    QStringList lines;
    for (int row = 0; row < table.rowCount(); ++row) {
        const QString position = itemText(table, row, 0);
        const QString imageFile = buttonText(table, row, 2);
        if (imageFile == tr(kOpenPictureText)) {
            dialogs->warning(this, tr("No image"), tr("Please specify some image"));
            return false;
        }
        if (!imagePathFitsRuleLine(imageFile)) {
            dialogs->warning(this, tr("Rule cannot be saved"),
                             tr("The picture path \"%1\" of the rule %2 holds a \")\", where the "
                                "engine would end the path. Choose a picture whose path has none.")
                                 .arg(imageFile, position));
            ui->tableWidget_rule_image->selectRow(row);
            return false;
        }
        const QString typedWidth = lineEditText(table, row, 3);
        const QString typedHeight = lineEditText(table, row, 4);
        const PositionFields fields = positionFields(position);
        rows << ExchangeImageRow{position, itemText(table, row, 1), imageFile,
                                 PickerRules::handedBackImageSize(typedWidth, fields.width),
                                 PickerRules::handedBackImageSize(typedHeight, fields.height)};
        lines << PickerRules::imageLine(position, imageFile, typedWidth, typedHeight);
    }
    const QString ruleFile = runFolderFile(QStringLiteral("imagerule.txt"));
    if (!writeRuleFile(ruleFile, lines)) {
        qWarning().noquote() << "The rule file could not be written:" << quoted(ruleFile);
    }
    exchange.handBackImage(rows);
    return true;
}
