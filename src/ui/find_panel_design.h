#pragma once

#include <string>

#include "toolkit/design.h"

namespace velmora {

// The unit finder on the main window: a framed panel with a query box and one line per match,
// hidden until the user asks for it.
inline constexpr const char* kFindPanel = "查找面板";
inline constexpr const char* kFindBox = "查找框";
inline constexpr const char* kFindNoMatch = "查找无结果标签";
inline constexpr int kFindResultLines = 12;
// "查找结果1" to "查找结果12", top down.
std::string FindResultName(int line);

// The unit rows' own right-click menu.
inline constexpr const char* kRowMenu = "编辑框菜单";

inline constexpr const char* kOnMainWindowKey = "OnMainWindowKey";
inline constexpr const char* kOnFindTextChanged = "OnFindTextChanged";
inline constexpr const char* kJumpToFoundUnit = "JumpToFoundUnit";
inline constexpr const char* kCopyRowValue = "CopyRowValue";
inline constexpr const char* kCopyRowValueAndUnit = "CopyRowValueAndUnit";
inline constexpr const char* kPasteIntoRow = "PasteIntoRow";
inline constexpr const char* kSelectRowText = "SelectRowText";
inline constexpr const char* kClearCurrentPage = "ClearCurrentPage";

// Adds the finder's controls (after every control they must cover) and the row menu.
void AddFindPanel(WindowDesign& design);
void AddRowMenu(WindowDesign& design);

}  // namespace velmora
