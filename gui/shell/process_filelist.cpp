// The file list of the main window: adding and dropping files, removing, reordering and opening
// them, and the output folder.
#include "process.h"

// What this part of the window builds on.
#include <QDebug>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMimeData>
#include <QTimer>
#include <algorithm>

#include "settings_store.h"
#include "size_text.h"
#include "table_rows.h"
#include "ui_process.h"

void Process::connectSelectionHook() {
    connect(ui->inputfiletableWidget, &QTableWidget::itemSelectionChanged, this,
            &Process::setpreview, Qt::UniqueConnection);
}

void Process::disconnectSelectionHook() {
    disconnect(ui->inputfiletableWidget, &QTableWidget::itemSelectionChanged, this,
               &Process::setpreview);
}

void Process::startAdding() {
    pendingPaths.clear();
    pendingRows.clear();
    pendingItems.clear();
    pendingPosition = 0;
}

void Process::addFileRow(const QString& path) {
    QTableWidget* fileList = ui->inputfiletableWidget;
    // Filling a row of a sorted list could move it between two cells; the list is sorted again
    // once the row is complete.
    const bool sorting = fileList->isSortingEnabled();
    fileList->setSortingEnabled(false);

    const int row = fileList->rowCount();
    fileList->insertRow(row);
    auto* pathItem = new QTableWidgetItem(path);
    pathItem->setToolTip(path);
    fileList->setItem(row, 0, pathItem);
    const qint64 size = QFileInfo(path).size();
    if (size > 0) {
        fileList->setItem(row, 2, new QTableWidgetItem(sizeText(size)));
    }
    pendingPaths.append(path);
    pendingRows.append(QString::number(row));
    pendingItems.append(pathItem);

    fileList->setSortingEnabled(sorting);
}

void Process::finishAdding() {
    QTableWidget* fileList = ui->inputfiletableWidget;
    if (fileList->rowCount() > 0) {
        fileList->setCurrentCell(0, 0, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    setFileListControlsEnabled(false);
    pageCountRunning = true;
    getpdfpage();
}

void Process::setFileListControlsEnabled(bool enabled) {
    for (QWidget* control :
         {static_cast<QWidget*>(ui->openfileButton), static_cast<QWidget*>(ui->removeButton),
          static_cast<QWidget*>(ui->removeallButton), static_cast<QWidget*>(ui->pushButton_up),
          static_cast<QWidget*>(ui->pushButton_down),
          static_cast<QWidget*>(ui->pushButton_option)}) {
        control->setEnabled(enabled);
    }
    ui->inputfiletableWidget->setContextMenuPolicy(enabled ? Qt::ActionsContextMenu
                                                           : Qt::NoContextMenu);
}

void Process::setBatchControlsEnabled(bool enabled) {
    if (batchControlsLocked == !enabled) {
        return;
    }
    batchControlsLocked = !enabled;
    setFileListControlsEnabled(enabled);
    ui->pushButton_textsome_replace->setEnabled(enabled);
    ui->pushButton_textall_replace->setEnabled(enabled);
    // A batch finds each file's row by its path item, but a sort while it runs would still move
    // the row under way; the header does not sort until the batch is over.
    QTableWidget* fileList = ui->inputfiletableWidget;
    if (!enabled) {
        sortingBeforeBatch = fileList->isSortingEnabled();
        fileList->setSortingEnabled(false);
    }
    fileList->horizontalHeader()->setSectionsClickable(enabled);
    if (enabled) {
        fileList->setSortingEnabled(sortingBeforeBatch);
    }
}

void Process::setopenfile() {
    if (pageCountRunning) {
        return;
    }
    connectSelectionHook();
    startAdding();
    const QString startDir = readSetting(SettingsKeys::inputDir);
    const QStringList files = dialogs->openFileNames(this, tr("Add File"), startDir,
                                                     tr("PDF File(*.pdf);;ALL files(*.*)"));
    if (files.isEmpty()) {
        return;
    }
    writeSetting(SettingsKeys::inputDir, QFileInfo(files.first()).absolutePath());
    for (const QString& file : files) {
        addFileRow(file);
    }
    finishAdding();
}

void Process::addFiles(const QStringList& paths) {
    if (pageCountRunning || paths.isEmpty()) {
        return;
    }
    connectSelectionHook();
    startAdding();
    for (const QString& path : paths) {
        addFileRow(path);
    }
    finishAdding();
}

void Process::dragEnterEvent(QDragEnterEvent* event) {
    if (ui->openfileButton->isEnabled() && !pageCountRunning &&
        event->mimeData()->hasFormat(QStringLiteral("text/uri-list"))) {
        event->acceptProposedAction();
    }
}

void Process::dropEvent(QDropEvent* event) {
    if (pageCountRunning) {
        event->ignore();
        return;
    }
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty()) {
        return;
    }
    startAdding();
    for (const QUrl& url : urls) {
        const QString path = url.toLocalFile();
        if (path.isEmpty()) {
            // Not a local file: the URLs after it are not looked at.
            break;
        }
        const QFileInfo info(path);
        if (info.isDir()) {
            // Folders are skipped; the other dropped files still count.
            continue;
        }
        if (info.suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0) {
            addFileRow(path);
        }
    }
    event->acceptProposedAction();
    finishAdding();
}

void Process::setremove() {
    if (pageCountRunning) {
        return;
    }
    connectSelectionHook();
    QTableWidget* fileList = ui->inputfiletableWidget;
    const QList<int> rows = selectedRows(*fileList);
    if (rows.size() == fileList->rowCount()) {
        // No selection hook while the list becomes empty.
        disconnectSelectionHook();
        removeRows(*fileList, rows);
        connectSelectionHook();
        return;
    }
    removeRows(*fileList, rows);
}

void Process::setremoveall() {
    if (pageCountRunning) {
        return;
    }
    disconnectSelectionHook();
    removeAllRows(*ui->inputfiletableWidget);
    connectSelectionHook();
}

void Process::swapRows(int row, int otherRow) {
    QTableWidget* fileList = ui->inputfiletableWidget;
    for (int column = 0; column < fileList->columnCount(); ++column) {
        QTableWidgetItem* item = fileList->takeItem(row, column);
        QTableWidgetItem* otherItem = fileList->takeItem(otherRow, column);
        fileList->setItem(row, column, otherItem);
        fileList->setItem(otherRow, column, item);
    }
}

void Process::setrowup() {
    if (pageCountRunning) {
        return;
    }
    QTableWidget* fileList = ui->inputfiletableWidget;
    // Moving rows by hand ends a header sort; otherwise the list would sort the rows back.
    fileList->setSortingEnabled(false);
    fileList->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    for (int row : selectedRows(*fileList)) {
        if (row == 0) {
            continue;
        }
        swapRows(row, row - 1);
        fileList->selectRow(row - 1);
    }
    fileList->setSortingEnabled(true);
}

void Process::setrowdown() {
    if (pageCountRunning) {
        return;
    }
    QTableWidget* fileList = ui->inputfiletableWidget;
    fileList->setSortingEnabled(false);
    fileList->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    QList<int> rows = selectedRows(*fileList);
    std::reverse(rows.begin(), rows.end());
    for (int row : rows) {
        if (row == fileList->rowCount() - 1) {
            continue;
        }
        swapRows(row, row + 1);
        fileList->selectRow(row + 1);
    }
    fileList->setSortingEnabled(true);
}

void Process::setopenselected() {
    QTableWidget* fileList = ui->inputfiletableWidget;
    const int row = fileList->currentRow();
    if (fileList->rowCount() == 0 || row < 0) {
        return;
    }
    const QTableWidgetItem* pathItem = fileList->item(row, 0);
    if (!pathItem) {
        return;
    }
    dialogs->openUrl(QUrl::fromLocalFile(pathItem->text()));
}

void Process::setoutputfile() {
    const QString startDir = readSetting(SettingsKeys::outputDir);
    const QString folder = dialogs->existingDirectory(this, tr("Save"), startDir);
    ui->outputfolderEdit->setText(folder);
    writeSetting(SettingsKeys::outputDir, folder);
}

void Process::setpreview() {
    previewTimer->start(300);
}

void Process::dopreview() {
    // The selection hook has nothing to show yet.
}
