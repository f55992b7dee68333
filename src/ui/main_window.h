#pragma once

#include "toolkit/toolkit.h"

namespace velmora {

struct AppState;

// Registers the handlers of the main window's controls and menus: category buttons, unit rows,
// the settings and help buttons' menus, the link labels and the ways out. The window's own
// created and destroyed handlers belong to the program's start (app/startup.h).
void AddMainWindowHandlers(HandlerTable& table, AppState& state);

// Tip of the main window's notification-area icon; period of the notice rotations.
inline constexpr const char* kTrayTip = "Velmora";
inline constexpr int kNoticeInterval = 3000;

// Hides the window and puts its icon in the notification area; where there is none, minimises
// it to the task bar. Nothing of the window's state changes.
void MinimiseToTray(Window* window);
// Removes the notification-area icon and shows the window again, restored. A click on the icon
// and the tray menu's "&O.打开主界面" both come back this way, so the icon never stays beside a
// shown window.
void RestoreFromTray(Window* window);
// Kind 1 (primary button): RestoreFromTray. Kind 3 (secondary button): opens the tray menu at
// the pointer.
void OnTrayEvent(Window* window, int kind);
// Dragging the borderless window: the offset is taken at the button down, the drag timer then
// moves the window with the pointer every millisecond until the button up.
void BeginDrag(AppState& state, Window* window);
void FollowMouse(const AppState& state, Window* window);
void EndDrag(Window* window);
// A tick of the message / advert display timer: the next text of the rotation.
void ShowNextMessage(AppState& state, Window* window);
void ShowNextAdvert(AppState& state, Window* window);

// The link addresses the program was built with; empty unless the build sets them.
void UseBuiltInLinkAddresses(AppState& state);
// The message, ownership and advert labels point with a hand while they have an address to open
// and are plain text otherwise.
void DressLinkLabels(const AppState& state, Window* window);

// Where the settings / help button opens its menu: under the button, 5 pixels left of its left
// edge, wherever the button stands on the screen.
QPoint GeneralMenuPosition(Window* window);
QPoint HelpMenuPosition(Window* window);

}  // namespace velmora
