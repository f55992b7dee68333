#pragma once

#include <cmath>
#include <string>
#include <string_view>

namespace velmora {

// One unit as a category section stores it: its name, a comma, its factor.
struct UnitDef {
  std::string name;
  double factor = 0.0;
};

// Splits at the first comma. The factor is read from at most 99 characters after it; text that
// is not a number gives 0. A value without a comma is all name, with the factor 0.
UnitDef ParseUnitDef(std::string_view value);

// Whether a unit's factor converts: a finite number greater than 0. A factor of 0, a negative
// one, or one missing or not a number in a hand-edited file does not; its row stays empty.
inline bool UsableFactor(double factor) {
  return std::isfinite(factor) && factor > 0.0;
}

// Where the unit row with the 0-based position `k` on its page stands, relative to the page.
struct RowPlace {
  int edit_left = 0;
  int label_left = 0;
  int top = 0;
};

// Rows fill the page column by column, `rows_per_column` to a column. A count of 0 or less would
// divide by zero; it is taken as 1, one row per column. Results are truncated toward zero and
// kept within the range that widgets can take.
RowPlace PlaceOfRow(int k, int column_span, int row_spacing, int rows_per_column);

}  // namespace velmora
