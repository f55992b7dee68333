#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class SettingsSnapshot;

// One unit of a category list as the pages read it.
struct CatalogueUnit {
  int row = 0;       // its row number, PageBase + 1 upward
  std::string name;  // as stored, e.g. "千米(km)"
  double factor = 0.0;
};

// One category page: its number, its button's caption and its units in page order.
struct CatalogueCategory {
  int page = 0;
  std::string caption;
  std::vector<CatalogueUnit> units;
};

// All 32 categories of a settings file, each list read as its page reads it: from PageBase + 1
// up to the first empty item, at most 49 units.
std::vector<CatalogueCategory> ReadUnitCatalogue(const SettingsSnapshot& settings);

// How a unit is named by a user: by one of its symbols (the text in its name's last pair of
// brackets, or a part of that text between commas: "at，kgf/cm2" gives "at" and "kgf/cm2"), by
// its whole name, or by its name without the bracket ("千米" for "千米(km)"). Blanks around the
// name and the query do not count. Returns 0 when `query` names the unit exactly, 1 when it does
// so only when the case of Latin letters is ignored, and kNoMatch otherwise.
inline constexpr int kNoMatch = 2;
int MatchUnitName(std::string_view name, std::string_view query);

// The name without its last bracketed part, blanks trimmed; the whole name when it has none.
std::string BareUnitName(std::string_view name);

// The indexes of at most `limit` names that come close to `query` (a query that was not found):
// names, symbols or bare names that start with it, or that differ from it in a few characters,
// closest first and in their order among equals.
std::vector<std::size_t> CloseUnitNames(const std::vector<std::string>& names,
                                        std::string_view query, std::size_t limit);

}  // namespace velmora
