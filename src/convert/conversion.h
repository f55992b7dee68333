#pragma once

namespace velmora {

struct AppState;
class Control;
class Window;

// Writes `value` into an edit box as the converter writes every result: FormatNumber with the
// display settings held in `state`, shortened to fit the box when its full text would not (the
// full text then becomes the box's hint). Other windows that show converted values use it too.
void WriteConvertedValue(const AppState& state, Control edit_box, double value);

// Content changed of a unit row on factor page `page`: when the row holds the focus (the user
// typed), BaseValue becomes the typed number divided by the row's factor and every other row of
// the page is rewritten. Program writes reach rows without focus and are ignored here.
void OnRowEdited(AppState& state, Window* window, int page);

// Writes FormatNumber(BaseValue × factor) into every unit row of `page` except the focused one.
void RecomputePage(AppState& state, Window* window, int page);

// Writes `quantity` (in the reference unit of factor page `page`, built or not on show) into
// every unit row of that page except the focused one, as RecomputePage does for BaseValue.
void ShowQuantityOnPage(AppState& state, Window* window, int page, double quantity);

// Re-displays the page on show with the current settings: the rows showing a value are rewritten,
// the temperature page's from BaseValue in degrees Celsius, any other page's as RecomputePage
// does; empty rows stay empty.
void RefreshCurrentPage(AppState& state, Window* window);

// Content changed of a temperature row: converts through degrees Celsius by fixed formulas.
void OnTemperatureEdited(AppState& state, Window* window);

// A unit row is white while it holds the focus and light grey otherwise.
void OnRowGotFocus();
void OnRowLostFocus();

}  // namespace velmora
