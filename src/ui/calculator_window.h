#pragma once

#include <array>
#include <string>
#include <string_view>

#include "toolkit/toolkit.h"

namespace velmora {

struct Settings;

// The calculator's memory slots A to D (UTF-8 result texts). They belong to the run, not to a
// calculator window: empty at start, kept while the window is closed, never saved.
struct CalculatorMemory {
  std::array<std::string, 4> MemorySlot{};
};

// The handlers of the calculator window, styled by `settings`. The memory slots live in `memory`,
// so they outlast the window.
HandlerTable CalculatorWindowHandlers(Settings& settings, CalculatorMemory& memory);

// Evaluates the expression box and writes the result, unchanged, into the result box (empty
// when the evaluation fails); the focus goes back to the expression box.
void ShowResult(Window* calculator);
// Inserts `token` at the expression box's caret (in front of any selection), moves the caret
// `advance` characters past the insertion point and gives the box the focus.
void InsertToken(Window* calculator, const QString& token, int advance);

}  // namespace velmora
