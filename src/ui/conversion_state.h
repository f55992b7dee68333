#pragma once

#include <array>
#include <string>
#include <unordered_map>

#include "settings/settings.h"
#include "units/category.h"

namespace velmora {

// The factor of every unit row, indexed by row number 1 to 1600. Reads outside that range give 0
// and writes there are dropped, so a stray row number can never reach past the table.
class RowFactors {
 public:
  double Get(int row) const { return InRange(row) ? factors_[row] : 0.0; }
  void Set(int row, double factor) {
    if (InRange(row)) factors_[row] = factor;
  }

 private:
  static bool InRange(int row) { return row >= 1 && row <= kRowNumberCount; }
  std::array<double, kRowNumberCount + 1> factors_{};
};

// What the converter of the main window works with: the general settings in use, the unit rows
// built so far and the quantity they show. One instance, owned by the program's start and handed
// to the handlers that convert, build pages or show converted values.
struct ConversionState {
  Settings settings;
  RowFactors FactorTable;
  // The current quantity, in the reference unit of the category last typed into (degrees
  // Celsius on the temperature page).
  double BaseValue = 0.0;
  // The quantity each page's rows were last written from, in its reference unit (BaseValue at
  // the time), by page number; a page rebuilt from a changed list shows it again.
  std::array<double, kCategoryCount + 1> PageQuantity{};
  // One past the highest unit row number of the page on show.
  int NextRowNumber = 0;
  // Indexed by page number 1 to 32; a page's rows are built once per run.
  std::array<bool, kCategoryCount + 1> PageBuilt{};
  // The unit name each built row shows, by row number, as its page was built.
  std::unordered_map<int, std::string> RowUnitNames;
};

}  // namespace velmora
