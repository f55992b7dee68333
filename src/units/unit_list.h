#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_file.h"

namespace velmora {

// The unit manager reads at most this many characters of a stored factor, and writes factors it
// formats itself in no more.
inline constexpr std::size_t kManagerFactorCharacters = 20;

// The page of a category section the manager may edit ("unit1" to "unit32"); nothing for the
// temperature section, whose units are converted by fixed formulas, or any other text.
std::optional<int> EditablePageOfSection(std::string_view section);

// One stored unit as the manager reads it: the name before the first comma, the factor from at
// most kManagerFactorCharacters characters after it (not a number: 0). A value without a comma is
// all name, with the factor 0.
struct ManagedUnit {
  std::string name;
  double factor = 0.0;
};
ManagedUnit ParseManagedUnit(std::string_view value);

// The text a factor is shown and stored in: the shortest positional text that reads back to the
// same number when it fits kManagerFactorCharacters characters, else the shortest exponent form,
// else the exponent form rounded to as many digits as fit.
std::string FactorText(double factor);

// A unit row of the manager's grid: the texts of its name and factor cells.
struct UnitRowText {
  std::string name;
  std::string factor;
};

// The items of a unit list as its section stores them: keys PageBase + 1 upward in row order,
// values name, "," and factor text. An ASCII comma cannot be part of a stored name (the name ends
// at the first comma), so each one in a name is stored as a full-width "，".
struct StoredUnitList {
  std::vector<SettingsItem> items;
  bool commas_replaced = false;
};
StoredUnitList MakeStoredUnitList(int page, std::span<const UnitRowText> rows);

// Makes `rows` the whole unit list of the page's section in one atomic write (no rows removes
// the section); the rest of the settings file stays as it was. On failure the file keeps the
// old list and the result says why.
struct StoreResult {
  SettingsWriteResult write;
  bool commas_replaced = false;
};
StoreResult StoreUnitList(int page, std::span<const UnitRowText> rows);

}  // namespace velmora
