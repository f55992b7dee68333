#pragma once

#include "toolkit/design.h"

namespace velmora {

// Names of the handlers the main window's design binds; the program registers a handler under
// each (see MainWindowHandlers in app/startup.h).
inline constexpr const char* kOnMainWindowCreated = "OnMainWindowCreated";
inline constexpr const char* kOnMainWindowDestroyed = "OnMainWindowDestroyed";
inline constexpr const char* kLoadCategoryPage = "LoadCategoryPage";
inline constexpr const char* kOnRowEdited = "OnRowEdited";
inline constexpr const char* kOnTemperatureEdited = "OnTemperatureEdited";
inline constexpr const char* kOnRowGotFocus = "OnRowGotFocus";
inline constexpr const char* kOnRowLostFocus = "OnRowLostFocus";
inline constexpr const char* kShowGeneralMenu = "ShowGeneralMenu";
inline constexpr const char* kShowHelpMenu = "ShowHelpMenu";
inline constexpr const char* kDestroyMainWindow = "DestroyMainWindow";
inline constexpr const char* kOpenHomepage = "OpenHomepage";
inline constexpr const char* kOpenGamesPage = "OpenGamesPage";
inline constexpr const char* kMinimiseToTray = "MinimiseToTray";
inline constexpr const char* kOnTrayEvent = "OnTrayEvent";
inline constexpr const char* kOpenMainWindow = "OpenMainWindow";
inline constexpr const char* kBeginDrag = "BeginDrag";
inline constexpr const char* kEndDrag = "EndDrag";
inline constexpr const char* kFollowMouse = "FollowMouse";
inline constexpr const char* kShowNextMessage = "ShowNextMessage";
inline constexpr const char* kShowNextAdvert = "ShowNextAdvert";
inline constexpr const char* kOpenOptionsWindow = "OpenOptionsWindow";
inline constexpr const char* kOpenUnitManagerWindow = "OpenUnitManagerWindow";
inline constexpr const char* kOpenCalculatorWindow = "OpenCalculatorWindow";
inline constexpr const char* kOpenAboutWindow = "OpenAboutWindow";
inline constexpr const char* kOpenExchangeRateWindow = "OpenExchangeRateWindow";

// The main window's fixed size.
inline constexpr int kMainWindowWidth = 946;
inline constexpr int kMainWindowHeight = 493;

inline constexpr const char* kGeneralMenu = "&General";
inline constexpr const char* kHelpMenu = "&Help";
inline constexpr const char* kTrayMenu = "右键菜单";

inline constexpr const char* kTitleLabel = "透明标签170";
inline constexpr const char* kSettingsButton = "超级按钮1";
inline constexpr const char* kHelpButton = "超级按钮2";
inline constexpr const char* kMinimiseButton = "控件_图形按钮_最小化";
inline constexpr const char* kHomepageLinkBox = "超级链接框1";
inline constexpr const char* kDragTimer = "时钟1";
inline constexpr const char* kMessageLabel = "消息标签";
inline constexpr const char* kMessageTimer = "消息显示时钟";
inline constexpr const char* kAdvertLabel = "广告透明标签";
inline constexpr const char* kOwnershipLabel = "透明标签33";
inline constexpr const char* kAdvertTimer = "广告显示时钟";

// The converter's main window: title, title bar buttons, notice labels, the page control with
// its 32 category pages and their template rows, the 32 category buttons, timers and menus.
const WindowDesign& MainWindowDesign();

}  // namespace velmora
