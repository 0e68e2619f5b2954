#pragma once
// What the table benchmarks share: emptying a grid's value cells, so that the next fill really
// changes every cell (Qt skips the work for a cell whose text stays the same).

#include <QString>
#include <QTableWidget>

// Empties every cell right of the first (label) column.
inline void clearValueCells(QTableWidget& table) {
  for (int r = 0; r < table.rowCount(); ++r)
    for (int c = 1; c < table.columnCount(); ++c)
      table.item(r, c)->setText(QString());
}
