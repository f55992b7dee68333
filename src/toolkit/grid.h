#pragma once

#include <QString>

#include "toolkit/toolkit.h"

namespace velmora {

// Operations on a grid control. Rows count from 0, and row 0 is the grid's fixed header row: it
// shows the column captions, takes no selection or editing, and can be neither moved nor
// deleted. Rows 1 upward hold text cells that the user edits in place (double click, typing,
// Enter or F2); Up and Down move the current cell. A grid always has its header, so its row count
// is at least 1.
int GridRowCount(Control grid);
// Grows with empty rows or drops rows from the end; counts below 1 keep the header alone.
void SetGridRowCount(Control grid, int rows);
int GridColumnCount(Control grid);
// A cell's text; the empty text outside the grid.
QString GridCell(Control grid, int row, int column);
// Writes a cell; writes outside the grid are dropped. Texts are shown as plain text.
void SetGridCell(Control grid, int row, int column, const QString& text);
// The row of the current cell, -1 when no unit row is current.
int GridCurrentRow(Control grid);
int GridCurrentColumn(Control grid);
// Makes a cell current (and selected); a row below 1 or past the end clears the selection.
void SetGridCurrentCell(Control grid, int row, int column);
// Inserts an empty row so that it becomes row `row` (1 to the row count; other values append).
void InsertGridRow(Control grid, int row);
// Deletes a row; the header and rows past the end stay.
void DeleteGridRow(Control grid, int row);
int GridColumnWidth(Control grid, int column);
void SetGridColumnWidth(Control grid, int column, int width);
// Cells of a read-only column are shown but never edited by the user.
void SetGridColumnReadOnly(Control grid, int column, bool read_only);
// A key pressed in the grid while no cell is being edited clicks `button` (a button of the same
// window), as a keyboard shortcut of that button; a disabled button ignores it.
void SetGridKeyButton(Control grid, int key, Control button);
// Whether a cell is open for editing now.
bool GridEditing(Control grid);
// Commits the text of a cell being edited and closes its editor, as leaving the cell does.
void FinishGridEditing(Control grid);

}  // namespace velmora
