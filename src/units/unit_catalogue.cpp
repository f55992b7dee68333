#include "units/unit_catalogue.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "units/category.h"
#include "units/unit_row.h"

namespace velmora {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

// Where the last bracketed part of a name lies: from its opening bracket to just after its
// closing one. Half- and full-width brackets both count.
struct Bracket {
  std::size_t open = std::string_view::npos;
  std::size_t inner = 0;
  std::size_t close = 0;  // the closing bracket
  std::size_t end = 0;    // just after it
};

Bracket LastBracket(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kBrackets = {{
      {"(", ")"}, {"\xEF\xBC\x88", "\xEF\xBC\x89"},  // （ ）
  }};
  Bracket best;
  for (const auto& [open, close] : kBrackets) {
    const std::size_t start = name.rfind(open);
    if (start == std::string_view::npos) continue;
    const std::size_t inner = start + open.size();
    const std::size_t end = name.find(close, inner);
    if (end == std::string_view::npos) continue;
    if (best.open == std::string_view::npos || start > best.open) {
      best = Bracket{start, inner, end, end + close.size()};
    }
  }
  return best;
}

// The symbols of a name: the bracket's text and its parts between ASCII or full-width commas.
std::vector<std::string_view> Symbols(std::string_view name) {
  std::vector<std::string_view> symbols;
  const Bracket bracket = LastBracket(name);
  if (bracket.open == std::string_view::npos) return symbols;
  const std::string_view inner = name.substr(bracket.inner, bracket.close - bracket.inner);
  if (!Trim(inner).empty()) symbols.push_back(Trim(inner));
  std::size_t from = 0;
  while (from <= inner.size()) {
    const std::size_t ascii = inner.find(',', from);
    const std::size_t wide = inner.find("\xEF\xBC\x8C", from);  // ，
    const std::size_t stop = std::min(ascii, wide);
    const std::string_view part = Trim(
        inner.substr(from, stop == std::string_view::npos ? inner.size() - from : stop - from));
    if (stop == std::string_view::npos) {
      if (from > 0 && !part.empty()) symbols.push_back(part);
      break;
    }
    if (!part.empty()) symbols.push_back(part);
    from = stop + (stop == ascii ? 1 : 3);
  }
  return symbols;
}

// The forms a unit answers to: whole name, bare name, symbols.
std::vector<std::string> Forms(std::string_view name) {
  std::vector<std::string> forms;
  forms.emplace_back(Trim(name));
  forms.push_back(BareUnitName(name));
  for (const std::string_view symbol : Symbols(name)) forms.emplace_back(symbol);
  std::erase_if(forms, [](const std::string& form) { return form.empty(); });
  return forms;
}

// The code points of UTF-8 text, each as its bytes.
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t next = i + 1;
    while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
    characters.push_back(text.substr(i, next - i));
    i = next;
  }
  return characters;
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
  const std::vector<std::string_view> x = Characters(a);
  const std::vector<std::string_view> y = Characters(b);
  std::vector<std::size_t> row(y.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= x.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= y.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[y.size()];
}

}  // namespace

std::vector<CatalogueCategory> ReadUnitCatalogue(const SettingsSnapshot& settings) {
  std::vector<CatalogueCategory> categories;
  categories.reserve(kCategoryCount);
  for (int page = 1; page <= kCategoryCount; ++page) {
    CatalogueCategory category;
    category.page = page;
    category.caption = settings.Read(kButtonNamesSection, CategoryButtonName(page), {});
    const std::string section = UnitSection(page);
    const int base = PageBase(page);
    for (int row = base + 1; row <= base + kMaxUnitsPerPage; ++row) {
      const std::string value = settings.Read(section, std::to_string(row), {});
      if (value.empty()) break;
      UnitDef unit = ParseUnitDef(value);
      category.units.push_back(CatalogueUnit{row, std::move(unit.name), unit.factor});
    }
    categories.push_back(std::move(category));
  }
  return categories;
}

std::string BareUnitName(std::string_view name) {
  const Bracket bracket = LastBracket(name);
  if (bracket.open == std::string_view::npos) return std::string(Trim(name));
  std::string bare(Trim(name.substr(0, bracket.open)));
  const std::string_view after = Trim(name.substr(bracket.end));
  if (!after.empty()) bare.append(" ").append(after);
  return std::string(Trim(bare));
}

int MatchUnitName(std::string_view name, std::string_view query) {
  query = Trim(query);
  if (query.empty()) return kNoMatch;
  const std::vector<std::string> forms = Forms(name);
  if (std::find(forms.begin(), forms.end(), query) != forms.end()) return 0;
  const std::string folded = Fold(query);
  for (const std::string& form : forms) {
    if (Fold(form) == folded) return 1;
  }
  return kNoMatch;
}

std::vector<std::size_t> CloseUnitNames(const std::vector<std::string>& names,
                                        std::string_view query, std::size_t limit) {
  const std::string folded = Fold(Trim(query));
  const std::size_t length = Characters(folded).size();
  if (length == 0) return {};
  // A few characters wrong, left out or added: one in three, at least one.
  const std::size_t allowed = std::max<std::size_t>(1, length / 3);
  std::vector<std::pair<std::size_t, std::size_t>> found;  // distance, index
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::size_t best = std::string::npos;
    for (const std::string& form : Forms(names[i])) {
      const std::string folded_form = Fold(form);
      const std::size_t distance = EditDistance(folded, folded_form);
      if (distance <= allowed) best = std::min(best, distance);
      if (length >= 2 && folded_form.starts_with(folded)) {
        best = std::min(best, Characters(folded_form).size() - length);
      }
    }
    if (best != std::string::npos) found.emplace_back(best, i);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::size_t> result;
  for (const auto& [distance, index] : found) {
    if (result.size() == limit) break;
    result.push_back(index);
  }
  return result;
}

}  // namespace velmora
