#include "ui/conversion_handlers.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <optional>

#include "convert/format_number.h"
#include "convert/quantity.h"
#include "convert/temperature.h"
#include "text/number_text.h"
#include "toolkit/toolkit.h"
#include "ui/conversion_state.h"
#include "units/category.h"

namespace velmora {
namespace {

double ToNumber(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return TextToNumber(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// Writes a result into a row. A text wider than the row would show only part of its digits,
// which can read as another number; the row then gets the longest shorter form of the value that
// fits (fewer places, or scientific form), and the full text as its hint.
void WriteResult(const ConversionState& state, Control row, double value) {
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
void WriteTemperatureRows(const ConversionState& state, Window* window, int except, Rows rows) {
  for (const int index : kTemperatureWriteOrder) {
    if (index == except) continue;
    const Control row = FindControlByTag(window, kFirstTemperatureRow + index);
    if (!row || Skipped(row, rows)) continue;
    WriteResult(state, row, FromCelsius(ScaleOfRow(index), state.BaseValue));
  }
}

// Writes `quantity` (in the page's reference unit) into the unit rows of `page` up to row
// `last`, except the focused one and `except` (the row being typed into). A row whose factor
// does not convert stays empty rather than showing "∞", "0" or "NaN".
void WriteQuantity(ConversionState& state, Window* window, int page, int last, double quantity,
                   Rows rows, Control except = {}) {
  state.PageQuantity[page] = quantity;
  for (int row = PageBase(page) + 1; row <= last; ++row) {
    const Control edit = FindControlByTag(window, row);
    if (!edit || edit == except || HasFocus(edit) || Skipped(edit, rows)) continue;
    const std::optional<double> value = ValueOfQuantity(quantity, state.FactorTable.Get(row));
    if (!value) {
      SetText(edit, {});
      SetHint(edit, {});
      continue;
    }
    WriteResult(state, edit, *value);
  }
}

void RecomputeRows(ConversionState& state, Window* window, int page, Rows rows,
                   Control except = {}) {
  if (page < 1 || page > kCategoryCount) return;
  const int base = PageBase(page);
  // NextRowNumber describes the page on show; the rows of one page never reach past its own 49.
  const int last = std::min(state.NextRowNumber - 1, base + kMaxUnitsPerPage);
  WriteQuantity(state, window, page, last, state.BaseValue, rows, except);
}

}  // namespace

void WriteConvertedValue(const ConversionState& state, Control edit_box, double value) {
  WriteResult(state, edit_box, value);
}

void OnRowEdited(ConversionState& state, Window* window, Control row, int row_number) {
  // The row now holds what the user typed, not a shortened result.
  SetHint(row, {});
  // A unit without a usable factor (0, negative, not a number) stands for no quantity: typing
  // into its row changes nothing else.
  const std::optional<double> quantity =
      QuantityOfTyped(ToNumber(Text(row)), state.FactorTable.Get(row_number));
  if (!quantity) return;
  state.BaseValue = *quantity;
  RecomputeRows(state, window, PageOfRow(row_number), Rows::kAll, row);
}

void RecomputePage(ConversionState& state, Window* window, int page) {
  RecomputeRows(state, window, page, Rows::kAll);
}

void ShowQuantityOnPage(ConversionState& state, Window* window, int page, double quantity) {
  if (page < 1 || page > kCategoryCount || page == kTemperaturePage) return;
  WriteQuantity(state, window, page, PageBase(page) + kMaxUnitsPerPage, quantity, Rows::kAll);
}

void RefreshCurrentPage(ConversionState& state, Window* window) {
  const int index = CurrentPage(FindControl(window, kPageControlName));
  if (index == kTemperaturePage - 1) {
    WriteTemperatureRows(state, window, -1, Rows::kFilled);
  } else if (index >= 0) {
    RecomputeRows(state, window, index + 1, Rows::kFilled);
  }
}

void OnTemperatureEdited(ConversionState& state, Window* window, Control row, int row_number) {
  const int index = TemperatureRowIndex(row_number);
  if (index < 0) return;
  SetHint(row, {});
  state.BaseValue = ToCelsius(ScaleOfRow(index), ToNumber(Text(row)));
  WriteTemperatureRows(state, window, index, Rows::kAll);
}

void OnRowGotFocus(Control row) {
  SetBackgroundColour(row, kWhite);
}

void OnRowLostFocus(Control row) {
  SetBackgroundColour(row, kLightGrey);
}

}  // namespace velmora
