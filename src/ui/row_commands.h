#pragma once

#include <QString>

#include "toolkit/toolkit.h"

namespace velmora {

struct ConversionState;

// The unit row (a copy of a page's template edit box) that `control` is, as its row number;
// 0 when it is no unit row.
int UnitRowOf(Window* window, Control control);

// What the row holds as a plain number: the full result behind a shortened one, without
// thousands separators. Empty for an empty row.
QString RowValueText(Control row);
// The value, a space and the unit's symbol (the text in parentheses of its name) or, lacking
// one, its name. Empty for an empty row.
QString RowValueAndUnitText(const ConversionState& state, Control row);

// Both put their text on the clipboard; an empty row leaves the clipboard as it was.
void CopyRowValue(Control row);
void CopyRowValueAndUnit(const ConversionState& state, Control row);

// Empties every unit row of the page on show and sets BaseValue to 0.
void ClearCurrentPage(ConversionState& state, Window* window);

// Up / Down between the rows of a page, in the order Tab takes them; nothing past the first or
// last row. Returns whether the key was one of them.
bool MoveBetweenRows(Window* window, Control row, int step);

// Shows the previous (step -1) or next (step 1) category page that has units; nothing past the
// first or last such page.
void SwitchCategory(ConversionState& state, Window* window, int step);

}  // namespace velmora
