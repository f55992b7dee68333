#include "ui/calculator_window.h"

#include <QByteArray>
#include <QString>
#include <span>
#include <string>

#include "calc/evaluator.h"
#include "settings/settings.h"
#include "toolkit/utf8_text.h"
#include "ui/calculator_window_design.h"
#include "ui/skin.h"

namespace velmora {
namespace {

Control ExpressionBox(Window* calculator) {
  return FindControl(calculator, kExpressionBox);
}

Control ResultBox(Window* calculator) {
  return FindControl(calculator, kResultBox);
}

// Ctrl+C copies what is selected in the expression box; with nothing selected, the result.
void CopySelectionOrResult(Window* calculator) {
  const QString selected = SelectedText(ExpressionBox(calculator));
  SetClipboardText(selected.isEmpty() ? Text(ResultBox(calculator)) : selected);
}

// Keys a calculator user expects: Enter keeps the expression on its one line (the evaluator
// would skip a line break, but the user would see the expression split), Escape closes.
void BindCalculatorKeys(Window* calculator) {
  const Control expression = ExpressionBox(calculator);
  for (const char* enter : {"Return", "Enter", "Shift+Return", "Shift+Enter"}) {
    BindKey(expression, enter, [calculator] { ShowResult(calculator); });
  }
  BindKey(expression, "Ctrl+C", [calculator] { CopySelectionOrResult(calculator); });
  BindKey(WindowControl(calculator), "Escape", [calculator] { DestroyWindow(calculator); });
}

void OnCreated(Settings& settings, Window* calculator) {
  ApplyInterfaceStyle(settings, calculator);
  ApplyWindowShape(calculator);
  BindCalculatorKeys(calculator);
  SetFocus(ExpressionBox(calculator));
}

void InsertKeypadToken(const EventArgs& e) {
  const std::span<const KeypadKey> keypad = CalculatorKeypad();
  if (e.argument < 0 || static_cast<std::size_t>(e.argument) >= keypad.size()) return;
  const KeypadKey& key = keypad[static_cast<std::size_t>(e.argument)];
  InsertToken(e.window, QString::fromUtf8(key.token), key.advance);
}

void RecallMemorySlot(const CalculatorMemory& state, const EventArgs& e) {
  if (e.argument < 0 || e.argument >= kMemorySlotCount) return;
  const QString text = FromUtf8(state.MemorySlot[static_cast<std::size_t>(e.argument)]);
  InsertToken(e.window, text, CharacterCount(text));
}

void StoreMemorySlot(CalculatorMemory& state, const EventArgs& e) {
  if (e.argument < 0 || e.argument >= kMemorySlotCount) return;
  state.MemorySlot[static_cast<std::size_t>(e.argument)] =
      Text(ResultBox(e.window)).toUtf8().toStdString();
}

void Clear(Window* calculator) {
  SetText(ExpressionBox(calculator), QString());
  SetText(ResultBox(calculator), QString());
  SetFocus(ExpressionBox(calculator));
}

void CopyResult(Window* calculator) {
  SetClipboardText(Text(ResultBox(calculator)));
  SetCaretPosition(ExpressionBox(calculator), -1);
  SetFocus(ExpressionBox(calculator));
}

}  // namespace

void ShowResult(Window* calculator) {
  const QByteArray expression = Text(ExpressionBox(calculator)).toUtf8();
  const std::string result = Evaluate(std::string_view(expression.data(), expression.size()));
  SetText(ResultBox(calculator), FromUtf8(result));
  SetFocus(ExpressionBox(calculator));
}

void InsertToken(Window* calculator, const QString& token, int advance) {
  const Control expression = ExpressionBox(calculator);
  const int position = CaretPosition(expression);
  InsertText(expression, position, token);
  SetCaretPosition(expression, position + advance);
  SetFocus(expression);
}

HandlerTable CalculatorWindowHandlers(Settings& settings, CalculatorMemory& state) {
  HandlerTable table;
  table[kOnCalculatorCreated] = [&settings](const EventArgs& e) { OnCreated(settings, e.window); };
  table[kShowResult] = [](const EventArgs& e) { ShowResult(e.window); };
  table[kInsertKeypadToken] = InsertKeypadToken;
  table[kRecallMemorySlot] = [&state](const EventArgs& e) { RecallMemorySlot(state, e); };
  table[kStoreMemorySlot] = [&state](const EventArgs& e) { StoreMemorySlot(state, e); };
  table[kShowSaveToMenu] = [](const EventArgs& e) {
    PopupMenu(e.window, kSaveToMenu, MousePosition());
  };
  table[kClearCalculator] = [](const EventArgs& e) { Clear(e.window); };
  table[kCopyCalculatorResult] = [](const EventArgs& e) { CopyResult(e.window); };
  table[kDestroyCalculator] = [](const EventArgs& e) { DestroyWindow(e.window); };
  return table;
}

}  // namespace velmora
