#pragma once

class QSystemTrayIcon;

namespace velmora {

class Window;

// A new notification-area icon of `window`, with the window's icon; its mouse actions raise the
// window's tray event (kind 1 for a primary-button action, 3 for a secondary-button one).
QSystemTrayIcon* MakeTrayIcon(Window* window);

}  // namespace velmora
