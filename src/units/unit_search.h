#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One unit as the finder knows it: where its row lives and what the user may type to find it.
struct SearchableUnit {
  int page = 0;         // category page, 1 to 32
  int row = 0;          // row number, PageBase(page)+1 upward
  std::string name;     // as the page shows it, e.g. "英担(cwt)"
  std::string caption;  // the category button's caption
};

// Finds units across every category as the user types. Matching ignores the case of Latin
// letters and blanks around the query. Matches come best first:
//   1. the query is the unit's symbol (the text in parentheses of its name);
//   2. the unit's name or symbol starts with the query;
//   3. the category's caption starts with the query;
//   4. the query occurs anywhere in the unit's name;
//   5. the query occurs anywhere in the caption;
// and within one rank in page and row order. An empty query matches nothing.
class UnitSearchIndex {
 public:
  UnitSearchIndex() = default;
  explicit UnitSearchIndex(std::vector<SearchableUnit> units);

  std::size_t size() const { return units_.size(); }
  const SearchableUnit& unit(std::size_t index) const { return units_[index].unit; }

  // Indexes into the index's units of the best `limit` matches.
  std::vector<std::size_t> Search(std::string_view query, std::size_t limit) const;

 private:
  struct Entry {
    SearchableUnit unit;
    std::string name;     // folded
    std::string symbol;   // folded; empty when the name has none
    std::string caption;  // folded
  };
  std::vector<Entry> units_;
};

// The symbol of a unit name: the text inside its last pair of parentheses, half- or full-width
// ("英担(cwt)" gives "cwt"); empty when there is none.
std::string_view UnitSymbol(std::string_view name);

// The units of all 32 category lists in the settings file as they stand now, captioned from the
// category buttons' names. Each list is read as the pages read it: from PageBase+1 up to the
// first empty item, at most 49 units.
std::vector<SearchableUnit> ReadSearchableUnits();

}  // namespace velmora
