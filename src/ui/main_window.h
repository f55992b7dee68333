#pragma once

#include "toolkit/toolkit.h"

namespace velmora {

struct ConversionState;

// The pointer's distance from the main window's top-left corner when a drag began.
struct DragOffset {
  int x = 0;
  int y = 0;
};

// Registers the handlers of the main window's controls and menus: category buttons, unit rows,
// the settings and help buttons' menus, the finder and the ways out. The window's own created
// and destroyed handlers, the notices' and the secondary windows' openers belong to the
// program's start (app/startup.h), which holds the state they work on.
void AddMainWindowHandlers(HandlerTable& table, ConversionState& state, DragOffset& drag);

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
void BeginDrag(DragOffset& drag, Window* window);
void FollowMouse(const DragOffset& drag, Window* window);
void EndDrag(Window* window);

// Where the settings / help button opens its menu: under the button, 5 pixels left of its left
// edge, wherever the button stands on the screen.
QPoint GeneralMenuPosition(Window* window);
QPoint HelpMenuPosition(Window* window);

}  // namespace velmora
