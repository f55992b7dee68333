#pragma once

namespace velmora {

struct ConversionState;
class Control;
class Window;

// Writes `value` into an edit box as the converter writes every result: FormatNumber with the
// display settings held in `state`, shortened to fit the box when its full text would not (the
// full text then becomes the box's hint). Other windows that show converted values use it too.
void WriteConvertedValue(const ConversionState& state, Control edit_box, double value);

// The user edited unit row `row` (row number `row_number`) of a factor page: BaseValue becomes
// the typed number divided by the row's factor and every other row of the page is rewritten.
// Bound to the rows' user-edited event, so the program's own writes never reach it.
void OnRowEdited(ConversionState& state, Window* window, Control row, int row_number);

// Writes FormatNumber(BaseValue × factor) into every unit row of `page` except the focused one.
void RecomputePage(ConversionState& state, Window* window, int page);

// Writes `quantity` (in the reference unit of factor page `page`, built or not on show) into
// every unit row of that page except the focused one, as RecomputePage does for BaseValue.
void ShowQuantityOnPage(ConversionState& state, Window* window, int page, double quantity);

// Re-displays the page on show with the current settings: the rows showing a value are rewritten,
// the temperature page's from BaseValue in degrees Celsius, any other page's as RecomputePage
// does; empty rows stay empty.
void RefreshCurrentPage(ConversionState& state, Window* window);

// The user edited temperature row `row` (row number `row_number`): converts through degrees
// Celsius by fixed formulas.
void OnTemperatureEdited(ConversionState& state, Window* window, Control row, int row_number);

// A unit row is white while it holds the focus and light grey otherwise.
void OnRowGotFocus(Control row);
void OnRowLostFocus(Control row);

}  // namespace velmora
