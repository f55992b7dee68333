#include "toolkit/private/grid_control.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

#include "toolkit/private/realise_support.h"

namespace velmora {

GridControl::GridControl(const ControlDesign& design, QWidget* parent) : QTableWidget(parent) {
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

void GridControl::SetReadOnly(int column, bool read_only) {
  if (read_only) {
    read_only_.insert(column);
  } else {
    read_only_.remove(column);
  }
  for (int row = 0; row < rowCount(); ++row) FillRow(row);
}

void GridControl::FillRow(int row) {
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

void GridControl::FinishEditing() {
  if (!Editing()) return;
  for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!editor->isVisible()) continue;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void GridControl::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    const int height = fontMetrics().height() + 6;
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
  }
  QTableWidget::changeEvent(event);
}

bool GridControl::viewportEvent(QEvent* event) {
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

void GridControl::keyPressEvent(QKeyEvent* event) {
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

QWidget* MakeGrid(const ControlDesign& design, QWidget* parent) {
  auto* grid = new GridControl(design, parent);
  ApplyColours(grid, design.look, QPalette::Base);
  return grid;
}

}  // namespace velmora
