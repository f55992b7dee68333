// The placement and style operations of toolkit.h: the system menu, screen positions,
// minimising and restoring.

#include <QWidget>
#include <QWindow>

#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

// Set while the window may still carry the minimised initial state that Qt hands the window
// manager when it minimises a window.
constexpr char kMinimisedHint[] = "velmora_minimised_hint";

}  // namespace

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

QPoint ScreenPosition(Control control) {
  const auto* widget = qobject_cast<const QWidget*>(control.object());
  return widget != nullptr ? widget->mapToGlobal(QPoint(0, 0)) : QPoint();
}

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
