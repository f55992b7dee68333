// Window-level operations: outline, opacity, style, menu bar, tray icon and placement.

#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainterPath>
#include <QRegion>
#include <QSystemTrayIcon>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "toolkit/toolkit.h"
#include "toolkit/utf8_text.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

std::optional<bool>& OpacityOverride() {
  static std::optional<bool> supported;
  return supported;
}

std::optional<bool>& OutlineOverride() {
  static std::optional<bool> painted;
  return painted;
}

std::optional<bool>& TrayOverride() {
  static std::optional<bool> available;
  return available;
}

}  // namespace

bool OutlinePaintedByWindow() {
  if (OutlineOverride().has_value()) return *OutlineOverride();
  // On X11 the mask clips drawing, and a translucent window without a compositing manager shows
  // black where it is transparent; on Wayland the mask only limits input.
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void SetOutlinePaintedForTesting(std::optional<bool> painted) {
  OutlineOverride() = painted;
}

void SetWindowOutline(Window* window, int width, int height, int corner_width, int corner_height) {
  if (window == nullptr || width <= 0 || height <= 0) return;
  if (OutlinePaintedByWindow()) {
    window->PaintOutline(QSizeF(corner_width, corner_height));
    return;
  }
  QPainterPath outline;
  outline.addRoundedRect(QRectF(0, 0, width, height), corner_width / 2.0, corner_height / 2.0);
  window->setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

bool WindowOpacitySupported() {
  if (OpacityOverride().has_value()) return *OpacityOverride();
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void SetWindowOpacitySupportedForTesting(std::optional<bool> supported) {
  OpacityOverride() = supported;
}

void SetWindowOpacity(Window* window, int alpha) {
  if (window == nullptr) return;
  // A window painting its own outline is translucent already: its background carries the
  // opacity (Wayland has no opacity of a whole window).
  if (window->paints_outline()) {
    window->SetBackgroundAlpha(alpha);
    return;
  }
  window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

int WindowOpacity(const Window* window) {
  if (window == nullptr) return 0;
  if (window->paints_outline()) return window->background_alpha();
  return static_cast<int>(std::lround(window->windowOpacity() * 255.0));
}

bool StartSystemMove(Window* window) {
  return window != nullptr && window->StartSystemMove();
}

QPoint ScreenPosition(Control control) {
  const auto* widget = qobject_cast<const QWidget*>(control.object());
  return widget != nullptr ? widget->mapToGlobal(QPoint(0, 0)) : QPoint();
}

void AddSystemMenu(Window* window) {
  if (window == nullptr) return;
  const Qt::WindowFlags flags = window->windowFlags() | Qt::WindowSystemMenuHint;
  if (flags == window->windowFlags()) return;
  // setWindowFlags() would hide a shown window and make it anew; the flag is handed to the
  // existing platform window instead.
  window->overrideWindowFlags(flags);
  if (QWindow* handle = window->windowHandle()) handle->setFlags(flags);
}

bool HasSystemMenu(const Window* window) {
  return window != nullptr && window->windowFlags().testFlag(Qt::WindowSystemMenuHint);
}

void SetMenuVisible(Window* window, std::string_view menu, bool visible) {
  if (window != nullptr) window->SetMenuVisible(FromUtf8(menu), visible);
}

bool MenuVisible(const Window* window, std::string_view menu) {
  return window != nullptr && window->MenuShown(FromUtf8(menu));
}

bool TrayAvailable() {
  if (TrayOverride().has_value()) return *TrayOverride();
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void SetTrayAvailableForTesting(std::optional<bool> available) {
  TrayOverride() = available;
}

void ShowTrayIcon(Window* window, const QString& tip) {
  if (window == nullptr) return;
  QSystemTrayIcon* tray = window->Tray();
  tray->setIcon(window->windowIcon());
  tray->setToolTip(tip);
  tray->show();
}

void RemoveTrayIcon(Window* window) {
  if (window == nullptr || window->tray_if_made() == nullptr) return;
  window->tray_if_made()->hide();
}

bool TrayIconShown(const Window* window) {
  return window != nullptr && window->tray_if_made() != nullptr &&
         window->tray_if_made()->isVisible();
}

// Set while the window may still carry the minimised initial state that Qt hands the window
// manager when it minimises a window.
constexpr char kMinimisedHint[] = "velmora_minimised_hint";

void MinimiseWindow(Window* window) {
  if (window == nullptr) return;
  window->setProperty(kMinimisedHint, true);
  // A Wayland compositor restores a window from its task bar without telling the program, which
  // then still believes it minimised and would ignore the next minimise: a window the user can
  // see and use is not minimised.
  if (window->isMinimized() && window->isVisible() && window->isActiveWindow()) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  }
  window->showMinimized();
}

void RestoreWindow(Window* window) {
  if (window == nullptr) return;
  // Once minimised by the program, an X11 window keeps asking the window manager to map it
  // minimised (its initial-state hint), even after the user restored it from the task bar;
  // hidden to the tray later and shown again, it would stay minimised until a second restore.
  // Passing through the minimised state to the normal one before showing makes the hint normal.
  if (window->property(kMinimisedHint).toBool()) {
    window->setProperty(kMinimisedHint, false);
    window->setWindowState(window->windowState() | Qt::WindowMinimized);
  }
  window->setWindowState(window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace velmora
