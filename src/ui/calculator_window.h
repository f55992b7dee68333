#pragma once

#include <string_view>

#include "toolkit/toolkit.h"

namespace velmora {

struct AppState;

// The handlers of the calculator window. The memory slots live in `state`, so they outlast the
// window; `main_window` (the owner) is not used beyond the opening.
HandlerTable CalculatorWindowHandlers(AppState& state, Window* main_window);

// Evaluates the expression box and writes the result, unchanged, into the result box (empty
// when the evaluation fails); the focus goes back to the expression box.
void ShowResult(Window* calculator);
// Inserts `token` at the expression box's caret (in front of any selection), moves the caret
// `advance` characters past the insertion point and gives the box the focus.
void InsertToken(Window* calculator, const QString& token, int advance);

}  // namespace velmora
