#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QSet>
#include <QTableWidget>
#include <map>

#include "toolkit/design.h"

namespace velmora {

// The table behind a grid (Kind::Grid; its operations are in toolkit/grid.h). Table row t is
// grid row t + 1: the grid's row 0 is the table's horizontal header, so no selection, move or
// deletion can ever reach it.
class GridControl final : public QTableWidget {
 public:
  // The columns and header captions come from the design's look.columns.
  GridControl(const ControlDesign& design, QWidget* parent);

  void SetReadOnly(int column, bool read_only);
  // Every cell holds an item, so that the flags of its column apply to it.
  void FillRow(int row);
  void SetKeyButton(int key, QAbstractButton* button) { key_buttons_[key] = button; }
  bool Editing() const { return state() == QAbstractItemView::EditingState; }
  // Commits the open cell editor, if any, as leaving it would.
  void FinishEditing();

 protected:
  // Rows as high as a line of the grid's font with a small margin, like a designed grid's.
  void changeEvent(QEvent* event) override;
  // A cell's whole text as its hint, also where the column is too narrow for it. Cell texts can
  // come from the settings file: the hint shows them as plain text.
  bool viewportEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QSet<int> read_only_;
  std::map<int, QPointer<QAbstractButton>> key_buttons_;
};

// Kind::Grid, its cells in the look's colours.
QWidget* MakeGrid(const ControlDesign& design, QWidget* parent);

}  // namespace velmora
