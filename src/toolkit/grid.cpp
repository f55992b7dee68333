#include "toolkit/grid.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QSet>
#include <QTableWidget>
#include <QToolTip>
#include <algorithm>
#include <map>

#include "toolkit/design.h"

namespace velmora {
namespace {

// The table behind a grid. Table row t is grid row t + 1: the grid's row 0 is the table's
// horizontal header, so no selection, move or deletion can ever reach it.
class GridControl final : public QTableWidget {
 public:
  GridControl(const ControlDesign& design, QWidget* parent) : QTableWidget(parent) {
    const auto& captions = design.look.columns;
    setColumnCount(static_cast<int>(captions.size()));
    for (int column = 0; column < columnCount(); ++column) {
      const std::string& caption = captions[static_cast<std::size_t>(column)];
      setHorizontalHeaderItem(column, new QTableWidgetItem(QString::fromStdString(caption)));
    }
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setCornerButtonEnabled(false);
  }

  void SetReadOnly(int column, bool read_only) {
    if (read_only) {
      read_only_.insert(column);
    } else {
      read_only_.remove(column);
    }
    for (int row = 0; row < rowCount(); ++row) FillRow(row);
  }

  // Every cell holds an item, so that the flags of its column apply to it.
  void FillRow(int row) {
    for (int column = 0; column < columnCount(); ++column) {
      QTableWidgetItem* cell = item(row, column);
      if (cell == nullptr) {
        cell = new QTableWidgetItem;
        setItem(row, column, cell);
      }
      Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
      if (!read_only_.contains(column)) flags |= Qt::ItemIsEditable;
      cell->setFlags(flags);
    }
  }

  void SetKeyButton(int key, QAbstractButton* button) { key_buttons_[key] = button; }

  bool Editing() const { return state() == QAbstractItemView::EditingState; }

  // Commits the open cell editor, if any, as leaving it would.
  void FinishEditing() {
    if (!Editing()) return;
    for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!editor->isVisible()) continue;
      commitData(editor);
      closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
  }

 protected:
  // Rows as high as a line of the grid's font with a small margin, like a designed grid's.
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::FontChange) {
      const int height = fontMetrics().height() + 6;
      verticalHeader()->setMinimumSectionSize(height);
      verticalHeader()->setDefaultSectionSize(height);
    }
    QTableWidget::changeEvent(event);
  }

  // A cell's whole text as its hint, also where the column is too narrow for it. Cell texts can
  // come from the settings file: the hint shows them as plain text.
  bool viewportEvent(QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return QTableWidget::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QTableWidgetItem* cell = itemAt(help->pos());
    if (cell == nullptr || cell->text().isEmpty()) {
      QToolTip::hideText();
      event->ignore();
      return true;
    }
    QToolTip::showText(
        help->globalPos(),
        QStringLiteral("<p style='white-space:pre'>%1</p>").arg(cell->text().toHtmlEscaped()),
        viewport(), visualItemRect(cell));
    return true;
  }

  void keyPressEvent(QKeyEvent* event) override {
    if (!Editing()) {
      const int key = event->key();
      if ((key == Qt::Key_Return || key == Qt::Key_Enter) && currentIndex().isValid() &&
          currentIndex().flags().testFlag(Qt::ItemIsEditable)) {
        edit(currentIndex());
        return;
      }
      const auto found = key_buttons_.find(key);
      if (found != key_buttons_.end() && event->modifiers() == Qt::NoModifier) {
        if (found->second != nullptr) found->second->click();
        return;
      }
    }
    QTableWidget::keyPressEvent(event);
  }

 private:
  QSet<int> read_only_;
  std::map<int, QPointer<QAbstractButton>> key_buttons_;
};

GridControl* AsGrid(Control grid) {
  return grid.kind() == Kind::Grid ? dynamic_cast<GridControl*>(grid.object()) : nullptr;
}

bool InColumns(const GridControl* table, int column) {
  return column >= 0 && column < table->columnCount();
}

}  // namespace

QWidget* MakeGridWidget(const ControlDesign& design, QWidget* parent) {
  return new GridControl(design, parent);
}

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
