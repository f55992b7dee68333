#include "ui/category_pages.h"

#include <QString>
#include <string>

#include "settings/settings_file.h"
#include "toolkit/toolkit.h"
#include "ui/category_buttons.h"
#include "ui/conversion_state.h"
#include "units/category.h"
#include "units/unit_row.h"

namespace velmora {
namespace {

// The value of the unit under `row` in `section`, empty when the list has ended there.
std::string ReadUnit(const std::string& section, int row) {
  return ReadSetting(section, std::to_string(row), {});
}

int CountUnitRows(const std::string& section, int base) {
  int row = base + 1;
  while (row <= base + kMaxUnitsPerPage && !ReadUnit(section, row).empty()) ++row;
  return row;
}

void BuildRows(ConversionState& state, Window* window, int page, const std::string& section) {
  const Control template_edit = FindControl(window, TemplateEditName(page));
  const Control template_label = FindControl(window, TemplateLabelName(page));
  if (!template_edit || !template_label) return;
  const Settings& layout = state.settings;
  const int base = PageBase(page);
  for (int row = base + 1; row <= base + kMaxUnitsPerPage; ++row) {
    const std::string value = ReadUnit(section, row);
    if (value.empty()) break;
    const UnitDef unit = ParseUnitDef(value);
    state.FactorTable.Set(row, unit.factor);
    state.RowUnitNames[row] = unit.name;

    // The row's events hand its number to the handlers; the tag finds it by that number.
    const Control edit = CopyControl(template_edit, row);
    SetTag(edit, QString::number(row));
    const Control label = CopyControl(template_label);
    const RowPlace place =
        PlaceOfRow(row - (base + 1), layout.ColumnSpan, layout.RowSpacing, layout.RowsPerColumn);
    Move(label, place.label_left, place.top);
    SetText(label, QString::fromStdString(unit.name));
    Move(edit, place.edit_left, place.top);
    SetVisible(edit, true);
    SetVisible(label, true);
  }
}

}  // namespace

void LoadCategoryPage(ConversionState& state, Window* window, int page) {
  if (page < 1 || page > kCategoryCount || window == nullptr) return;
  SetCurrentPage(FindControl(window, kPageControlName), page - 1);
  ShowChosenCategory(window, page);

  const std::string section = UnitSection(page);
  state.NextRowNumber = CountUnitRows(section, PageBase(page));
  if (!state.PageBuilt[page]) {
    BuildRows(state, window, page, section);
    state.PageBuilt[page] = true;
  }
  // The user came to this page to type a value: the first unit row takes the keys at once.
  if (const Control first = FindControlByTag(window, PageBase(page) + 1)) FocusForTyping(first);
}

bool RebuildCategoryPage(ConversionState& state, Window* window, int page) {
  if (page < 1 || page > kCategoryCount || window == nullptr || !state.PageBuilt[page]) {
    return false;
  }
  const int base = PageBase(page);
  bool showed_values = false;
  for (int row = base + 1; row <= base + kMaxUnitsPerPage; ++row) {
    if (const Control edit = FindControlByTag(window, row)) showed_values |= !Text(edit).isEmpty();
    state.FactorTable.Set(row, 0.0);
    state.RowUnitNames.erase(row);
  }
  DeleteCopies(FindControl(window, TemplateEditName(page)));
  DeleteCopies(FindControl(window, TemplateLabelName(page)));
  const std::string section = UnitSection(page);
  BuildRows(state, window, page, section);
  if (CurrentPage(FindControl(window, kPageControlName)) == page - 1) {
    state.NextRowNumber = CountUnitRows(section, base);
    if (const Control first = FindControlByTag(window, base + 1)) FocusForTyping(first);
  }
  return showed_values;
}

}  // namespace velmora
