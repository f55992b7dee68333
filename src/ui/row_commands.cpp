#include "ui/row_commands.h"

#include <string>

#include "settings/settings_file.h"
#include "ui/category_pages.h"
#include "ui/conversion_state.h"
#include "units/category.h"
#include "units/unit_search.h"

namespace velmora {
namespace {

int CurrentCategory(Window* window) {
  return CurrentPage(FindControl(window, kPageControlName)) + 1;
}

// A built page has units when its first row exists; a page not built yet when its list does.
bool HasUnits(const ConversionState& state, Window* window, int page) {
  const int first = PageBase(page) + 1;
  if (state.PageBuilt[page]) return static_cast<bool>(FindControlByTag(window, first));
  return !ReadSetting(UnitSection(page), std::to_string(first), {}).empty();
}

}  // namespace

int UnitRowOf(Window* window, Control control) {
  if (!control || control.kind() != Kind::EditBox) return 0;
  bool ok = false;
  const int row = Tag(control).toInt(&ok);
  const int page = PageOfRow(row);
  // The templates carry their page's PageBase, which no unit row has.
  if (!ok || page == 0 || row == PageBase(page)) return 0;
  return FindControlByTag(window, row) == control ? row : 0;
}

QString RowValueText(Control row) {
  // A row too narrow for its result shows a shorter form and keeps the full text as its hint.
  const QString hint = Hint(row);
  QString value = hint.isEmpty() ? Text(row) : hint;
  value.remove(u',');
  return value.trimmed();
}

QString RowValueAndUnitText(const ConversionState& state, Control row) {
  const QString value = RowValueText(row);
  if (value.isEmpty()) return {};
  const auto found = state.RowUnitNames.find(UnitRowOf(WindowOf(row), row));
  if (found == state.RowUnitNames.end()) return value;
  const std::string_view symbol = UnitSymbol(found->second);
  const std::string_view unit = symbol.empty() ? std::string_view(found->second) : symbol;
  if (unit.empty()) return value;
  return value + u' ' + QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size()));
}

void CopyRowValue(Control row) {
  const QString text = RowValueText(row);
  if (!text.isEmpty()) SetClipboardText(text);
}

void CopyRowValueAndUnit(const ConversionState& state, Control row) {
  const QString text = RowValueAndUnitText(state, row);
  if (!text.isEmpty()) SetClipboardText(text);
}

void ClearCurrentPage(ConversionState& state, Window* window) {
  const int page = CurrentCategory(window);
  if (page < 1 || page > kCategoryCount) return;
  const int base = PageBase(page);
  // Emptying the rows is the program's write, which no row converts: the page is left standing
  // for no quantity.
  for (int row = base + 1; row <= base + kMaxUnitsPerPage; ++row) {
    const Control edit = FindControlByTag(window, row);
    if (!edit) continue;
    SetHint(edit, {});
    SetText(edit, {});
  }
  state.BaseValue = 0.0;
  state.PageQuantity[page] = 0.0;
}

bool MoveBetweenRows(Window* window, Control row, int step) {
  const int number = UnitRowOf(window, row);
  if (number == 0) return false;
  const int target = number + step;
  if (PageOfRow(target) != PageOfRow(number) || target == PageBase(PageOfRow(number))) return true;
  if (const Control next = FindControlByTag(window, target)) FocusForTyping(next);
  return true;
}

void SwitchCategory(ConversionState& state, Window* window, int step) {
  for (int page = CurrentCategory(window) + step; page >= 1 && page <= kCategoryCount;
       page += step) {
    if (!HasUnits(state, window, page)) continue;
    LoadCategoryPage(state, window, page);
    return;
  }
}

}  // namespace velmora
