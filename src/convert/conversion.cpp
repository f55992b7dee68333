#include "convert/conversion.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cmath>

#include "convert/format_number.h"
#include "convert/temperature.h"
#include "text/number_text.h"
#include "toolkit/toolkit.h"
#include "units/app_state.h"
#include "units/category.h"

namespace velmora {
namespace {

double ToNumber(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return TextToNumber(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// The row number in a tag; 0 (no row) when the tag holds no usable number.
int RowOfTag(const QString& tag) {
  const double value = std::trunc(ToNumber(tag));
  if (!(value >= 1 && value <= kRowNumberCount)) return 0;
  return static_cast<int>(value);
}

QString Formatted(const AppState& state, double value) {
  return QString::fromStdString(
      FormatNumber(value, state.settings.DecimalPlaces, state.settings.ThousandsSeparators));
}

// Writes the temperature rows from BaseValue (degrees Celsius), skipping row `except` (an index
// 0 to 4, or -1 for none) and rows that do not exist.
void WriteTemperatureRows(const AppState& state, Window* window, int except) {
  for (const int index : kTemperatureWriteOrder) {
    if (index == except) continue;
    const Control row = FindControlByTag(window, kFirstTemperatureRow + index);
    if (!row) continue;
    SetText(row, Formatted(state, FromCelsius(ScaleOfRow(index), state.BaseValue)));
  }
}

}  // namespace

void OnRowEdited(AppState& state, Window* window, int page) {
  const Control source = EventSource();
  if (!HasFocus(source)) return;
  const double typed = ToNumber(Text(source));
  const int row = RowOfTag(Tag(source));
  // A factor of 0 (or a row outside the table) makes the quotient infinite or undefined; the
  // other rows then show "∞" or "NaN" rather than digits.
  state.BaseValue = typed / state.FactorTable.Get(row);
  RecomputePage(state, window, page);
}

void RecomputePage(AppState& state, Window* window, int page) {
  if (page < 1 || page > kCategoryCount) return;
  const int base = PageBase(page);
  // NextRowNumber describes the page on show; the rows of one page never reach past its own 49.
  const int last = std::min(state.NextRowNumber - 1, base + kMaxUnitsPerPage);
  for (int row = base + 1; row <= last; ++row) {
    const Control edit = FindControlByTag(window, row);
    if (!edit || HasFocus(edit)) continue;
    SetText(edit, Formatted(state, state.BaseValue * state.FactorTable.Get(row)));
  }
}

void RefreshCurrentPage(AppState& state, Window* window) {
  const int index = CurrentPage(FindControl(window, kPageControlName));
  if (index == kTemperaturePage - 1) {
    WriteTemperatureRows(state, window, -1);
  } else if (index >= 0) {
    RecomputePage(state, window, index + 1);
  }
}

void OnTemperatureEdited(AppState& state, Window* window) {
  const Control source = EventSource();
  if (!HasFocus(source)) return;
  const QString tag = Tag(source);
  for (int index = 0; index < kTemperatureRowCount; ++index) {
    if (tag != QString::number(kFirstTemperatureRow + index)) continue;
    state.BaseValue = ToCelsius(ScaleOfRow(index), ToNumber(Text(source)));
    WriteTemperatureRows(state, window, index);
    return;
  }
}

void OnRowGotFocus() {
  SetBackgroundColour(EventSource(), kWhite);
}

void OnRowLostFocus() {
  SetBackgroundColour(EventSource(), kLightGrey);
}

}  // namespace velmora
