#pragma once

#include <string>
#include <vector>

#include "settings/settings_file.h"

namespace velmora::testing {

// One unit of a shipped category, as the category loader reads it.
struct ShippedUnit {
  int key = 0;
  std::string name;
  std::string factor_text;
  double factor = 0;
};

// The config.dat of the source tree, read-only.
const SettingsFile& ShippedConfig();

// PageBase of category page N (1 to 32).
int PageBase(int page);

// Width in pixels of the template label of category page N, which every unit label copies.
int LabelWidth(int page);

// The units of category page N in key order, ending at the first absent or empty key and after
// the 49th at the latest; the value is split at its first comma.
std::vector<ShippedUnit> ReadShippedCategory(int page);

// The shipped units of page N with the given name; fails the current test when there is not
// exactly one.
ShippedUnit FindShippedUnit(int page, const std::string& name);

}  // namespace velmora::testing
