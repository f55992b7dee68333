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

// Writes a result into a row. A text wider than the row would show only part of its digits,
// which can read as another number; the row then gets the longest shorter form of the value that
// fits (fewer places, or scientific form), and the full text as its hint.
void WriteResult(const AppState& state, Control row, double value) {
  const int decimals = state.settings.DecimalPlaces;
  const bool group = state.settings.ThousandsSeparators;
  const QString full = QString::fromStdString(FormatNumber(value, decimals, group));
  if (TextFits(row, full)) {
    SetText(row, full);
    SetHint(row, {});
    return;
  }
  const std::string shorter = FormatNumberToFit(
      value, decimals, group,
      [row](const std::string& text) { return TextFits(row, QString::fromStdString(text)); });
  SetText(row, QString::fromStdString(shorter));
  SetHint(row, full);
}

// Writes the temperature rows from BaseValue (degrees Celsius), skipping row `except` (an index
// 0 to 4, or -1 for none) and rows that do not exist.
void WriteTemperatureRows(const AppState& state, Window* window, int except) {
  for (const int index : kTemperatureWriteOrder) {
    if (index == except) continue;
    const Control row = FindControlByTag(window, kFirstTemperatureRow + index);
    if (!row) continue;
    WriteResult(state, row, FromCelsius(ScaleOfRow(index), state.BaseValue));
  }
}

}  // namespace

void WriteConvertedValue(const AppState& state, Control edit_box, double value) {
  WriteResult(state, edit_box, value);
}

void OnRowEdited(AppState& state, Window* window, int page) {
  const Control source = EventSource();
  if (!HasFocus(source)) return;
  // The row now holds what the user typed, not a shortened result.
  SetHint(source, {});
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
    WriteResult(state, edit, state.BaseValue * state.FactorTable.Get(row));
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
    SetHint(source, {});
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
