#include "units/unit_search.h"

#include <algorithm>
#include <array>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "units/category.h"
#include "units/unit_row.h"

namespace velmora {
namespace {

// Latin letters fold to lower case; every other byte (UTF-8 included) stays as it is, so folding
// never breaks a multi-byte character.
std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

constexpr int kRankCount = 5;

// 0 best; kRankCount for no match.
template <typename Entry>
int Rank(const Entry& entry, std::string_view query) {
  if (!entry.symbol.empty() && entry.symbol == query) return 0;
  if (StartsWith(entry.name, query) || StartsWith(entry.symbol, query)) return 1;
  if (StartsWith(entry.caption, query)) return 2;
  if (Contains(entry.name, query)) return 3;
  if (Contains(entry.caption, query)) return 4;
  return kRankCount;
}

}  // namespace

std::string_view UnitSymbol(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kBrackets = {{
      {"(", ")"}, {"\xEF\xBC\x88", "\xEF\xBC\x89"},  // （ ）
  }};
  std::string_view best;
  std::size_t best_open = std::string_view::npos;
  for (const auto& [open, close] : kBrackets) {
    const std::size_t start = name.rfind(open);
    if (start == std::string_view::npos) continue;
    const std::size_t inner = start + open.size();
    const std::size_t end = name.find(close, inner);
    if (end == std::string_view::npos) continue;
    if (best_open == std::string_view::npos || start > best_open) {
      best_open = start;
      best = TrimBlanks(name.substr(inner, end - inner));
    }
  }
  return best;
}

UnitSearchIndex::UnitSearchIndex(std::vector<SearchableUnit> units) {
  units_.reserve(units.size());
  for (SearchableUnit& unit : units) {
    Entry entry;
    entry.name = Fold(unit.name);
    entry.symbol = Fold(UnitSymbol(unit.name));
    entry.caption = Fold(unit.caption);
    entry.unit = std::move(unit);
    units_.push_back(std::move(entry));
  }
}

std::vector<std::size_t> UnitSearchIndex::Search(std::string_view query, std::size_t limit) const {
  std::vector<std::size_t> found;
  const std::string folded = Fold(TrimBlanks(query));
  if (folded.empty() || limit == 0) return found;
  // One pass sorts the units into ranks, each in index order; the best ranks fill the result.
  std::array<std::vector<std::size_t>, kRankCount> ranks;
  for (std::size_t i = 0; i < units_.size(); ++i) {
    const int rank = Rank(units_[i], folded);
    if (rank < kRankCount) ranks[static_cast<std::size_t>(rank)].push_back(i);
  }
  for (const std::vector<std::size_t>& rank : ranks) {
    for (const std::size_t index : rank) {
      if (found.size() == limit) return found;
      found.push_back(index);
    }
  }
  return found;
}

std::vector<SearchableUnit> ReadSearchableUnits() {
  std::vector<SearchableUnit> units;
  for (int page = 1; page <= kCategoryCount; ++page) {
    const std::string caption = ReadSetting(kButtonNamesSection, CategoryButtonName(page), {});
    const std::string section = UnitSection(page);
    const int base = PageBase(page);
    for (int row = base + 1; row <= base + kMaxUnitsPerPage; ++row) {
      const std::string value = ReadSetting(section, std::to_string(row), {});
      if (value.empty()) break;
      units.push_back(SearchableUnit{page, row, ParseUnitDef(value).name, caption});
    }
  }
  return units;
}

}  // namespace velmora
