// The four rule tables of the main window: removing and clearing position rules, adding,
// removing and clearing content rules, and choosing a content rule's image.
#include "process.h"

// What this part of the window builds on.
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "settings_store.h"
#include "table_rows.h"
#include "ui_process.h"

namespace {

const char* const kOpenPictureText = "Open Picture File";

}  // namespace

QTableWidget* Process::visiblePositionTable() const {
    if (ui->tableWidget_textsome->isVisibleTo(ui->tab)) {
        return ui->tableWidget_textsome;
    }
    if (ui->tableWidget_imagesome->isVisibleTo(ui->tab)) {
        return ui->tableWidget_imagesome;
    }
    return nullptr;
}

QTableWidget* Process::currentContentTable() const {
    return ui->tabWidget_replacechild->currentIndex() == 0 ? ui->tableWidget_textall
                                                           : ui->tableWidget_imageall;
}

void Process::on_pushButton_removetextsome_clicked() {
    if (QTableWidget* table = visiblePositionTable()) {
        removeRows(*table, selectedRows(*table));
    }
}

void Process::on_pushButton_clicked() {
    if (QTableWidget* table = visiblePositionTable()) {
        removeAllRows(*table);
    }
}

void Process::on_pushButton_text_add_clicked() {
    QTableWidget* table = currentContentTable();
    const int row = table->rowCount();
    table->insertRow(row);
    if (table == ui->tableWidget_textall) {
        table->setCellWidget(row, 0, new QLineEdit);
        table->setCellWidget(row, 1, new QLineEdit);
        return;
    }
    table->setCellWidget(row, 0, new QLineEdit);
    auto* imageButton = new QPushButton(tr(kOpenPictureText));
    connect(imageButton, &QPushButton::clicked, this, &Process::setopenimagefile);
    table->setCellWidget(row, 1, imageButton);
    table->setCellWidget(row, 2, new QLineEdit);
    table->setCellWidget(row, 3, new QLineEdit);
}

void Process::on_pushButton_text_remove_clicked() {
    QTableWidget* table = currentContentTable();
    removeRows(*table, selectedRows(*table));
}

void Process::on_pushButton__text_clear_clicked() {
    removeAllRows(*currentContentTable());
}

void Process::setopenimagefile() {
    QTableWidget* table = ui->tableWidget_imageall;
    QPushButton* button = nullptr;
    for (int row = 0; row < table->rowCount() && !button; ++row) {
        if (table->cellWidget(row, 1) == sender()) {
            button = qobject_cast<QPushButton*>(table->cellWidget(row, 1));
        }
    }
    if (!button) {
        return;
    }
    const QString startDir = readSetting(SettingsKeys::imageFileDir);
    const QString image = dialogs->openFileName(
        this, tr("Add Image"), startDir,
        tr("All Supported Files(*.bmp *.jpg *.jpeg *.png *.gif);;BMP File(*.bmp);;JPEG "
           "File(*.jpg *.jpeg);;PNG File(*.png);;GIF File(*.gif);;ALL files(*.*)"));
    if (image.isEmpty()) {
        return;
    }
    button->setText(image);
    writeSetting(SettingsKeys::imageFileDir, QFileInfo(image).absolutePath());
}
