// Windows moved by dragging: by the windowing system (the system-move operations of toolkit.h)
// or by the program.

#include "toolkit/private/window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <optional>

#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

std::function<void(bool)>& SystemMoveObserver() {
  static std::function<void(bool)> observer;
  return observer;
}

std::optional<bool>& SystemMoveOverride() {
  static std::optional<bool> available;
  return available;
}

}  // namespace

void BackgroundDrag::Start(const QWidget& window, QPoint global_position) {
  dragging_ = true;
  offset_ = global_position - window.pos();
}

void BackgroundDrag::Follow(QWidget& window, const QMouseEvent& event) {
  if (!dragging_) return;
  if (!event.buttons().testFlag(Qt::LeftButton)) {
    dragging_ = false;
    return;
  }
  window.move(event.globalPosition().toPoint() - offset_);
}

void SetSystemMoveAvailableForTesting(std::optional<bool> available) {
  SystemMoveOverride() = available;
}

void SetSystemMoveObserver(std::function<void(bool)> observer) {
  SystemMoveObserver() = std::move(observer);
}

bool StartSystemMove(Window* window) {
  if (window == nullptr) return false;
  QWindow* handle = window->windowHandle();
  const bool started = SystemMoveOverride().has_value()
                           ? *SystemMoveOverride()
                           : handle != nullptr && handle->startSystemMove();
  if (SystemMoveObserver()) SystemMoveObserver()(started);
  return started;
}

}  // namespace velmora
