#pragma once

#include <string>

#include "toolkit/design.h"

namespace velmora {

// The unit finder on the main window: a panel over the whole page control with a query box, the
// number of matches and a scrolling list of one line per match, hidden until the user asks for
// it.
inline constexpr const char* kFindPanel = "查找面板";
inline constexpr const char* kFindBox = "查找框";
inline constexpr const char* kFindCount = "查找数目标签";
inline constexpr const char* kFindList = "查找结果框";
inline constexpr const char* kFindNoMatch = "查找无结果标签";
// The designed lines "查找结果1" to "查找结果19", top down, fill the list's view; lines for
// further matches are copies of the last one, placed below it.
inline constexpr int kFindResultLines = 19;
inline constexpr int kFindLineHeight = 18;
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
