// The rule picker as the main window uses it: made once, opened by "Settings" on the first listed
// file, its saved rules taken back into the position tables.
#include "process.h"

// What this part of the window builds on.
#include <QDialog>
#include <QTableWidget>

#include "picker_geometry.h"
#include "rule_exchange.h"
#include "rules.h"
#include "settings_store.h"
#include "table_rows.h"
#include "ui_process.h"

namespace {

// The picker's settings in the program's settings store.
class StoredPickerSettings : public PickerSettings {
  public:
    QString pickerFile() const override {
        return readSetting(SettingsKeys::pickerFile, QString::fromLatin1(kNoPickerFile));
    }
    QString pickerPageCount() const override {
        return readSetting(SettingsKeys::pickerPage, QStringLiteral("0"));
    }
    QString pictureFolder() const override { return readSetting(SettingsKeys::pickerImageDir); }
    void setPictureFolder(const QString& folder) override {
        writeSetting(SettingsKeys::pickerImageDir, folder);
    }
    QSize pickerSize() const override {
        return pickerSizeFromText(readSetting(SettingsKeys::pickerSize, QString()));
    }
    void setPickerSize(const QSize& size) override {
        writeSetting(SettingsKeys::pickerSize, pickerSizeText(size));
    }
};

QString cellText(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
}

QList<ExchangeTextRow> textRows(const QTableWidget& table) {
    QList<ExchangeTextRow> rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        rows << ExchangeTextRow{cellText(table, row, 0), cellText(table, row, 1),
                                cellText(table, row, 2)};
    }
    return rows;
}

QList<ExchangeImageCells> imageCells(const QTableWidget& table) {
    QList<ExchangeImageCells> rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        rows << ExchangeImageCells{cellText(table, row, 0), cellText(table, row, 1),
                                   cellText(table, row, 2), cellText(table, row, 3),
                                   cellText(table, row, 4)};
    }
    return rows;
}

// Replaces every row of the table by plain items holding the given cells.
void fillTable(QTableWidget& table, const QList<QStringList>& rows) {
    removeAllRows(table);
    for (const QStringList& cells : rows) {
        const int row = table.rowCount();
        table.insertRow(row);
        for (int column = 0; column < cells.size(); ++column) {
            table.setItem(row, column, new QTableWidgetItem(cells.at(column)));
        }
    }
}

}  // namespace

void Process::createPicker() {
    // A window of its own, made once and reused for every opening; deleted with the main window.
    rules = new Rules(RuleExchange::shared(), dialogs.get(),
                      std::make_unique<StoredPickerSettings>(), this);
}

void Process::enteroption() {
    const QTableWidget& fileList = *ui->inputfiletableWidget;
    if (fileList.rowCount() == 0) {
        writeSetting(SettingsKeys::pickerFile, QString::fromLatin1(kNoPickerFile));
        writeSetting(SettingsKeys::pickerPage, QStringLiteral("0"));
    } else {
        writeSetting(SettingsKeys::pickerFile, cellText(fileList, 0, 0));
        writeSetting(SettingsKeys::pickerPage, cellText(fileList, 0, 1));
    }

    RuleExchange& exchange = RuleExchange::shared();
    QTableWidget* textTable = ui->tableWidget_textsome;
    QTableWidget* imageTable = ui->tableWidget_imagesome;
    if (QTableWidget* visible = visiblePositionTable()) {
        if (visible == textTable) {
            exchange.handInText(textRows(*textTable));
        } else {
            exchange.handInImage(imageCells(*imageTable));
        }
    }

    rules->setIniImage();
    if (dialogs->runModal(*rules) != QDialog::Accepted) {
        return;
    }
    if (exchange.resultKind == 1) {
        textTable->show();
        imageTable->hide();
        QList<QStringList> rows;
        for (int i = 0; i < exchange.resultTextCount && i < exchange.resultText.size(); ++i) {
            const ExchangeTextRow& rule = exchange.resultText.at(i);
            rows << QStringList{rule.position, rule.find, rule.replace};
        }
        fillTable(*textTable, rows);
    } else if (exchange.resultKind == 2) {
        imageTable->show();
        textTable->hide();
        QList<QStringList> rows;
        for (int i = 0; i < exchange.resultImageCount && i < exchange.resultImage.size(); ++i) {
            const ExchangeImageRow& rule = exchange.resultImage.at(i);
            rows << QStringList{rule.position, rule.find, rule.imageFile,
                                QString::number(rule.width), QString::number(rule.height)};
        }
        fillTable(*imageTable, rows);
    }
}
