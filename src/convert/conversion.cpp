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
#include "units/unit_row.h"

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
  const ResultFormat format = ResultFormatOf(state.settings);
  const QString full = QString::fromStdString(FormatResult(value, format));
  if (TextFits(row, full)) {
    SetText(row, full);
    SetHint(row, {});
    return;
  }
  const std::string shorter = FormatResultToFit(value, format, [row](const std::string& text) {
    return TextFits(row, QString::fromStdString(text));
  });
  SetText(row, QString::fromStdString(shorter));
  SetHint(row, full);
}

// Which rows a rewrite reaches: all of them after a keystroke, only those showing a value when
// the display settings change (a page nobody typed into stays empty).
enum class Rows { kAll, kFilled };

bool Skipped(Control row, Rows rows) {
  return rows == Rows::kFilled && Text(row).isEmpty();
}

// Writes the temperature rows from BaseValue (degrees Celsius), skipping row `except` (an index
// 0 to 4, or -1 for none) and rows that do not exist.
void WriteTemperatureRows(const AppState& state, Window* window, int except, Rows rows) {
  for (const int index : kTemperatureWriteOrder) {
    if (index == except) continue;
    const Control row = FindControlByTag(window, kFirstTemperatureRow + index);
    if (!row || Skipped(row, rows)) continue;
    WriteResult(state, row, FromCelsius(ScaleOfRow(index), state.BaseValue));
  }
}

// Writes `quantity` (in the page's reference unit) into the unit rows of `page` up to row
// `last`, except the focused one. A row whose factor does not convert stays empty rather than
// showing "∞", "0" or "NaN".
void WriteQuantity(AppState& state, Window* window, int page, int last, double quantity,
                   Rows rows) {
  state.PageQuantity[page] = quantity;
  for (int row = PageBase(page) + 1; row <= last; ++row) {
    const Control edit = FindControlByTag(window, row);
    if (!edit || HasFocus(edit) || Skipped(edit, rows)) continue;
    const double factor = state.FactorTable.Get(row);
    if (!UsableFactor(factor)) {
      SetText(edit, {});
      SetHint(edit, {});
      continue;
    }
    WriteResult(state, edit, quantity * factor);
  }
}

void RecomputeRows(AppState& state, Window* window, int page, Rows rows) {
  if (page < 1 || page > kCategoryCount) return;
  const int base = PageBase(page);
  // NextRowNumber describes the page on show; the rows of one page never reach past its own 49.
  const int last = std::min(state.NextRowNumber - 1, base + kMaxUnitsPerPage);
  WriteQuantity(state, window, page, last, state.BaseValue, rows);
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
  const double factor = state.FactorTable.Get(RowOfTag(Tag(source)));
  // A unit without a usable factor (0, negative, not a number) stands for no quantity: typing
  // into its row changes nothing else.
  if (!UsableFactor(factor)) return;
  state.BaseValue = typed / factor;
  RecomputePage(state, window, page);
}

void RecomputePage(AppState& state, Window* window, int page) {
  RecomputeRows(state, window, page, Rows::kAll);
}

void ShowQuantityOnPage(AppState& state, Window* window, int page, double quantity) {
  if (page < 1 || page > kCategoryCount || page == kTemperaturePage) return;
  WriteQuantity(state, window, page, PageBase(page) + kMaxUnitsPerPage, quantity, Rows::kAll);
}

void RefreshCurrentPage(AppState& state, Window* window) {
  const int index = CurrentPage(FindControl(window, kPageControlName));
  if (index == kTemperaturePage - 1) {
    WriteTemperatureRows(state, window, -1, Rows::kFilled);
  } else if (index >= 0) {
    RecomputeRows(state, window, index + 1, Rows::kFilled);
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
    WriteTemperatureRows(state, window, index, Rows::kAll);
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
