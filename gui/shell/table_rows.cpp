#include "table_rows.h"

#include <QTableWidget>
#include <algorithm>

QList<int> selectedRows(const QTableWidget& table) {
    QList<int> rows;
    for (const QModelIndex& index : table.selectionModel()->selectedIndexes()) {
        if (!rows.contains(index.row())) {
            rows.append(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void removeRows(QTableWidget& table, QList<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows) {
        table.removeRow(row);
    }
}

void removeAllRows(QTableWidget& table) {
    for (int row = table.rowCount() - 1; row >= 0; --row) {
        table.removeRow(row);
    }
}
