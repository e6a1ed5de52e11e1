#pragma once

#include <QList>

class QTableWidget;

// Row numbers of every selected cell of the table, each row once, in ascending order.
QList<int> selectedRows(const QTableWidget& table);

// Removes the given rows from the highest row number to the lowest, so that the numbers of the
// rows still to go stay valid.
void removeRows(QTableWidget& table, QList<int> rows);

// Removes every row, the last one first.
void removeAllRows(QTableWidget& table);
