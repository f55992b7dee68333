#include "cli/console.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <variant>

#include "cli/value_text.h"
#include "convert/format_number.h"
#include "convert/temperature.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "units/category.h"
#include "units/unit_catalogue.h"

namespace velmora {
namespace {

using Catalogue = std::vector<CatalogueCategory>;

// Close matches named in an error about an unknown unit.
constexpr std::size_t kCloseMatchLimit = 5;

struct UnitRef {
  const CatalogueCategory* category = nullptr;
  const CatalogueUnit* unit = nullptr;
};

ConsoleResult Failure(std::string message) {
  return ConsoleResult{kConsoleFailure, {}, "velmora: " + message + "\n"};
}

std::string Quoted(std::string_view text) {
  return std::string("'").append(text).append("'");
}

std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// How a category is named in messages: its button's caption, with its number when another
// category has the same caption ("自定义 (21)"), or its section when it has none.
std::string CategoryLabel(const Catalogue& catalogue, const CatalogueCategory& category) {
  if (category.caption.empty()) return UnitSection(category.page);
  const auto same = std::count_if(catalogue.begin(), catalogue.end(), [&](const auto& other) {
    return other.caption == category.caption;
  });
  if (same > 1) return category.caption + " (" + std::to_string(category.page) + ")";
  return category.caption;
}

std::string Describe(const Catalogue& catalogue, const UnitRef& ref) {
  return ref.unit->name + " in " + CategoryLabel(catalogue, *ref.category);
}

std::string DescribeAll(const Catalogue& catalogue, const std::vector<UnitRef>& refs) {
  std::string text;
  for (const UnitRef& ref : refs) {
    if (!text.empty()) text += ", ";
    text += Describe(catalogue, ref);
  }
  return text;
}

// The pages a category argument names: its number, its section ("unit5") or its caption. Several
// categories may share a caption.
std::vector<int> NamedPages(const Catalogue& catalogue, std::string_view text) {
  const std::string wanted = Fold(Trim(text));
  std::vector<int> pages;
  for (const CatalogueCategory& category : catalogue) {
    const bool match = wanted == std::to_string(category.page) ||
                       wanted == UnitSection(category.page) ||
                       (!category.caption.empty() && Fold(Trim(category.caption)) == wanted);
    if (match) pages.push_back(category.page);
  }
  return pages;
}

// The units that `query` names, at the best level of match (exact before case-folded), in the
// categories of `pages` (all when empty).
std::vector<UnitRef> Candidates(const Catalogue& catalogue, const std::vector<int>& pages,
                                std::string_view query) {
  std::vector<UnitRef> levels[2];
  for (const CatalogueCategory& category : catalogue) {
    if (!pages.empty() && std::find(pages.begin(), pages.end(), category.page) == pages.end()) {
      continue;
    }
    for (const CatalogueUnit& unit : category.units) {
      const int level = MatchUnitName(unit.name, query);
      if (level < kNoMatch) levels[level].push_back(UnitRef{&category, &unit});
    }
  }
  return levels[0].empty() ? levels[1] : levels[0];
}

std::string UnknownUnit(const Catalogue& catalogue, const std::vector<int>& pages,
                        std::string_view query) {
  std::vector<std::string> names;
  std::vector<UnitRef> refs;
  for (const CatalogueCategory& category : catalogue) {
    if (!pages.empty() && std::find(pages.begin(), pages.end(), category.page) == pages.end()) {
      continue;
    }
    for (const CatalogueUnit& unit : category.units) {
      names.push_back(unit.name);
      refs.push_back(UnitRef{&category, &unit});
    }
  }
  std::vector<UnitRef> close;
  for (const std::size_t index : CloseUnitNames(names, query, kCloseMatchLimit)) {
    close.push_back(refs[index]);
  }
  std::string message = "unknown unit " + Quoted(query);
  if (!pages.empty()) message += " in the category given";
  if (!close.empty()) message += "; close matches: " + DescribeAll(catalogue, close);
  return message;
}

// One unit per name, all in one category: the category that holds every named unit.
std::variant<std::vector<UnitRef>, std::string> Resolve(const Catalogue& catalogue,
                                                        const std::vector<int>& pages,
                                                        const std::vector<std::string>& names) {
  std::vector<std::vector<UnitRef>> candidates;
  for (const std::string& name : names) {
    candidates.push_back(Candidates(catalogue, pages, name));
    if (candidates.back().empty()) return UnknownUnit(catalogue, pages, name);
  }
  const auto in_page = [](const std::vector<UnitRef>& refs, int page) {
    std::vector<UnitRef> found;
    for (const UnitRef& ref : refs) {
      if (ref.category->page == page) found.push_back(ref);
    }
    return found;
  };
  std::vector<int> common;
  for (const CatalogueCategory& category : catalogue) {
    const bool all = std::all_of(candidates.begin(), candidates.end(), [&](const auto& refs) {
      return !in_page(refs, category.page).empty();
    });
    if (all) common.push_back(category.page);
  }
  if (common.empty()) {
    std::string message = "the units belong to different categories:";
    for (std::size_t i = 0; i < names.size(); ++i) {
      message +=
          (i == 0 ? " " : "; ") + Quoted(names[i]) + " is " + DescribeAll(catalogue, candidates[i]);
    }
    return message;
  }
  if (common.size() > 1) {
    std::vector<UnitRef> shown;
    for (const UnitRef& ref : candidates.front()) {
      if (std::find(common.begin(), common.end(), ref.category->page) != common.end()) {
        shown.push_back(ref);
      }
    }
    return Quoted(names.front()) + " is ambiguous: " + DescribeAll(catalogue, shown) +
           "; name the category with --category";
  }
  std::vector<UnitRef> resolved;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::vector<UnitRef> refs = in_page(candidates[i], common.front());
    if (refs.size() > 1) {
      return Quoted(names[i]) + " is ambiguous: " + DescribeAll(catalogue, refs) +
             "; give the unit's whole name";
    }
    resolved.push_back(refs.front());
  }
  return resolved;
}

// The temperature scale of a unit of the temperature category: its place among the first five.
std::optional<TemperatureScale> ScaleOf(const CatalogueUnit& unit) {
  const int index = unit.row - kFirstTemperatureRow;
  if (index < 0 || index >= kTemperatureRowCount) return std::nullopt;
  return ScaleOfRow(index);
}

bool UsableFactor(double factor) {
  return std::isfinite(factor) && factor != 0.0;
}

// Why a unit cannot take part in a conversion, or nothing when it can.
std::optional<std::string> Unconvertible(const UnitRef& ref) {
  if (ref.category->page == kTemperaturePage) {
    if (ScaleOf(*ref.unit)) return std::nullopt;
    return Quoted(ref.unit->name) +
           " has no temperature formula: only the first five units of the temperature "
           "category convert";
  }
  if (UsableFactor(ref.unit->factor)) return std::nullopt;
  return Quoted(ref.unit->name) + " has no usable factor in the settings file";
}

ConsoleResult Convert(const Catalogue& catalogue, const CommandRequest& request) {
  const std::optional<double> value = ReadValueText(request.value);
  if (!value) {
    return Failure(Quoted(request.value) + " is not a number or an arithmetic expression");
  }
  std::vector<int> pages;
  if (!request.category.empty()) {
    pages = NamedPages(catalogue, request.category);
    if (pages.empty()) return Failure("unknown category " + Quoted(request.category));
  }
  const auto resolved = Resolve(catalogue, pages, request.units);
  if (const auto* message = std::get_if<std::string>(&resolved)) return Failure(*message);
  const auto& refs = std::get<std::vector<UnitRef>>(resolved);
  for (const UnitRef& ref : refs) {
    if (const auto why = Unconvertible(ref)) return Failure(*why);
  }

  const UnitRef& from = refs.front();
  std::vector<UnitRef> targets(refs.begin() + 1, refs.end());
  if (targets.empty()) {
    // Every other unit of the category that can be converted, in page order.
    for (const CatalogueUnit& unit : from.category->units) {
      const UnitRef ref{from.category, &unit};
      if (&unit != from.unit && !Unconvertible(ref)) targets.push_back(ref);
    }
  }
  const bool temperature = from.category->page == kTemperaturePage;
  const double base =
      temperature ? ToCelsius(*ScaleOf(*from.unit), *value) : *value / from.unit->factor;
  ConsoleResult result;
  for (const UnitRef& target : targets) {
    const double converted =
        temperature ? FromCelsius(*ScaleOf(*target.unit), base) : base * target.unit->factor;
    if (!std::isfinite(converted)) {
      return Failure("the value in " + Quoted(target.unit->name) +
                     " is beyond the range of "
                     "numbers");
    }
    result.out += FormatShortNumber(converted) + " " + target.unit->name + "\n";
  }
  return result;
}

void ListCategory(const CatalogueCategory& category, std::string& out) {
  out += std::to_string(category.page);
  if (!category.caption.empty()) out += " " + category.caption;
  out += "\n";
  for (const CatalogueUnit& unit : category.units) out += "  " + unit.name + "\n";
}

ConsoleResult List(const Catalogue& catalogue, const CommandRequest& request) {
  ConsoleResult result;
  if (request.category.empty()) {
    for (const CatalogueCategory& category : catalogue) ListCategory(category, result.out);
    return result;
  }
  const std::vector<int> pages = NamedPages(catalogue, request.category);
  if (pages.empty()) return Failure("unknown category " + Quoted(request.category));
  for (const int page : pages)
    ListCategory(catalogue[static_cast<std::size_t>(page - 1)], result.out);
  return result;
}

}  // namespace

ConsoleResult RunConsoleCommand(const CommandRequest& request) {
  const SettingsSnapshot settings(PrepareSettingsFile(request.config));
  const Catalogue catalogue = ReadUnitCatalogue(settings);
  switch (request.kind) {
    case CommandRequest::Kind::kConvert:
      return Convert(catalogue, request);
    case CommandRequest::Kind::kList:
      return List(catalogue, request);
    default:
      return Failure("not a console command");
  }
}

}  // namespace velmora
