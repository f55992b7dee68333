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
// same number when it fits kManagerFactorCharacters characters, else the shortest exponent form
// ("6.684587122268445e-12"), else the same digits as a whole mantissa ("6684587122268445e-27"),
// else the exponent form rounded to as many digits as fit.
std::string FactorText(double factor);

// Why a factor cannot be stored; None when it can.
enum class FactorProblem {
  None,
  Empty,        // nothing typed
  NotANumber,   // text that is not wholly one number ("abc", "1,5", the placeholder)
  NotPositive,  // zero or negative
  OutOfRange,   // beyond the range of a double ("1e400")
  TooLong,      // no text of kManagerFactorCharacters characters reads back to the number
};

// A factor the user typed, checked for Apply: the text must be one number and nothing else
// (blanks around it aside), finite and greater than 0. `text` is what Apply stores: the typed
// text itself when it fits kManagerFactorCharacters characters, else the shortest text that
// fits and reads back to exactly the same double.
struct CheckedFactor {
  FactorProblem problem = FactorProblem::None;
  double value = 0.0;
  std::string text;
};
CheckedFactor CheckTypedFactor(std::string_view typed);

// The problem of a factor as read from the file: only finite numbers greater than 0 are usable.
FactorProblem ProblemOfFactor(double factor);

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
