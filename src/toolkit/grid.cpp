#include "toolkit/grid.h"

#include <QAbstractButton>
#include <algorithm>

#include "toolkit/private/grid_control.h"

namespace velmora {
namespace {

GridControl* AsGrid(Control grid) {
  return grid.kind() == Kind::Grid ? dynamic_cast<GridControl*>(grid.object()) : nullptr;
}

bool InColumns(const GridControl* table, int column) {
  return column >= 0 && column < table->columnCount();
}

}  // namespace

int GridRowCount(Control grid) {
  const GridControl* table = AsGrid(grid);
  return table != nullptr ? table->rowCount() + 1 : 0;
}

void SetGridRowCount(Control grid, int rows) {
  GridControl* table = AsGrid(grid);
  if (table == nullptr) return;
  const int old_count = table->rowCount();
  table->setRowCount(std::max(rows - 1, 0));
  for (int row = old_count; row < table->rowCount(); ++row) table->FillRow(row);
}

int GridColumnCount(Control grid) {
  const GridControl* table = AsGrid(grid);
  return table != nullptr ? table->columnCount() : 0;
}

QString GridCell(Control grid, int row, int column) {
  const GridControl* table = AsGrid(grid);
  if (table == nullptr || !InColumns(table, column)) return {};
  if (row == 0) {
    const QTableWidgetItem* header = table->horizontalHeaderItem(column);
    return header != nullptr ? header->text() : QString();
  }
  const QTableWidgetItem* cell = table->item(row - 1, column);
  return cell != nullptr ? cell->text() : QString();
}

void SetGridCell(Control grid, int row, int column, const QString& text) {
  GridControl* table = AsGrid(grid);
  if (table == nullptr || !InColumns(table, column) || row < 0 || row > table->rowCount()) return;
  if (row == 0) {
    table->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
    return;
  }
  table->FillRow(row - 1);
  table->item(row - 1, column)->setText(text);
}

int GridCurrentRow(Control grid) {
  const GridControl* table = AsGrid(grid);
  if (table == nullptr) return -1;
  // The view makes a cell current when it gains the focus, without selecting it; only a cell
  // the user or the program chose counts.
  const QModelIndex current = table->currentIndex();
  if (!current.isValid() || !table->selectionModel()->isSelected(current)) return -1;
  return current.row() + 1;
}

int GridCurrentColumn(Control grid) {
  const GridControl* table = AsGrid(grid);
  return table != nullptr && GridCurrentRow(grid) > 0 ? table->currentColumn() : -1;
}

void SetGridCurrentCell(Control grid, int row, int column) {
  GridControl* table = AsGrid(grid);
  if (table == nullptr) return;
  if (row < 1 || row > table->rowCount() || !InColumns(table, column)) {
    table->clearSelection();
    table->setCurrentIndex(QModelIndex());
    return;
  }
  table->setCurrentCell(row - 1, column, QItemSelectionModel::ClearAndSelect);
  table->scrollToItem(table->item(row - 1, column));
}

void InsertGridRow(Control grid, int row) {
  GridControl* table = AsGrid(grid);
  if (table == nullptr) return;
  const int at = row >= 1 && row <= table->rowCount() + 1 ? row - 1 : table->rowCount();
  table->insertRow(at);
  table->FillRow(at);
}

void DeleteGridRow(Control grid, int row) {
  GridControl* table = AsGrid(grid);
  if (table == nullptr || row < 1 || row > table->rowCount()) return;
  table->removeRow(row - 1);
}

int GridColumnWidth(Control grid, int column) {
  const GridControl* table = AsGrid(grid);
  return table != nullptr && InColumns(table, column) ? table->columnWidth(column) : 0;
}

void SetGridColumnWidth(Control grid, int column, int width) {
  GridControl* table = AsGrid(grid);
  if (table != nullptr && InColumns(table, column)) table->setColumnWidth(column, width);
}

void SetGridColumnReadOnly(Control grid, int column, bool read_only) {
  if (GridControl* table = AsGrid(grid)) table->SetReadOnly(column, read_only);
}

void SetGridKeyButton(Control grid, int key, Control button) {
  GridControl* table = AsGrid(grid);
  auto* target = qobject_cast<QAbstractButton*>(button.object());
  if (table != nullptr && target != nullptr && target->window() == table->window()) {
    table->SetKeyButton(key, target);
  }
}

bool GridEditing(Control grid) {
  const GridControl* table = AsGrid(grid);
  return table != nullptr && table->Editing();
}

void FinishGridEditing(Control grid) {
  if (GridControl* table = AsGrid(grid)) table->FinishEditing();
}

}  // namespace velmora
