#pragma once

#include <span>

#include "toolkit/design.h"

namespace velmora {

// Controls the calculator's handlers address by name.
inline constexpr const char* kExpressionBox = "编辑框1";
inline constexpr const char* kResultBox = "编辑框2";
inline constexpr const char* kSaveToButton = "存储到";
inline constexpr const char* kSaveToMenu = "保存到";

// Handlers the calculator's design binds.
inline constexpr const char* kOnCalculatorCreated = "OnCalculatorCreated";
inline constexpr const char* kShowResult = "ShowResult";
inline constexpr const char* kInsertKeypadToken = "InsertKeypadToken";  // argument: keypad row
inline constexpr const char* kRecallMemorySlot = "RecallMemorySlot";    // argument: slot 0 to 3
inline constexpr const char* kStoreMemorySlot = "StoreMemorySlot";      // argument: slot 0 to 3
inline constexpr const char* kShowSaveToMenu = "ShowSaveToMenu";
inline constexpr const char* kClearCalculator = "ClearCalculator";
inline constexpr const char* kCopyCalculatorResult = "CopyCalculatorResult";
inline constexpr const char* kDestroyCalculator = "DestroyCalculator";

// The memory slots A to D: the keypad keys that recall them and the "保存到" items that fill them.
inline constexpr int kMemorySlotCount = 4;
inline constexpr const char* kMemorySlotNames[kMemorySlotCount] = {"A", "B", "C", "D"};

// What a keypad key does when clicked.
enum class KeyRole {
  Token,       // inserts `token` and moves the caret `advance` characters
  MemorySlot,  // inserts the text of memory slot `slot`
  Equals,      // evaluates again
};

// One key of the keypad: its button, caption, place in the keypad frame and font, and its role.
struct KeypadKey {
  const char* name;
  const char* caption;
  int left;
  int top;
  int width;
  int height;
  int font_pixels;
  KeyRole role;
  const char* token;
  int advance;
  int slot;
};

// Every key of the keypad; a token key's design binding carries its index in this table.
std::span<const KeypadKey> CalculatorKeypad();

const WindowDesign& CalculatorWindowDesign();

}  // namespace velmora
