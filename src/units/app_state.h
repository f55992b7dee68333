#pragma once

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "settings/settings.h"
#include "units/category.h"

namespace velmora {

// The factor of every unit row, indexed by row number 1 to 1600. Reads outside that range give 0
// and writes there are dropped, so a stray tag can never reach past the table.
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

// The program-wide values the handlers share. One instance, owned by the program's start and
// handed to the handlers that need it.
struct AppState {
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

  // The pointer's distance from the main window's top-left corner when a drag began.
  struct Offset {
    int x = 0;
    int y = 0;
  };
  Offset DragOffset;

  // The notice texts (UTF-8) shown in turn on the main window, and the index of the next one.
  // The notice fetch fills a list before it starts the matching display timer.
  std::vector<std::string> MessageTexts;
  int MessageIndex = 0;
  std::vector<std::string> AdvertTexts;
  int AdvertIndex = 0;

  // Web addresses opened by the message and ownership labels (the maker's home page) and by the
  // advert label. An empty address makes its labels plain text.
  std::string HomepageAddress;
  std::string AdvertAddress;

  // The calculator's memory slots A to D (UTF-8 result texts). They belong to the run, not to a
  // calculator window: empty at start, kept while the window is closed, never saved.
  std::array<std::string, 4> MemorySlot{};
};

}  // namespace velmora
