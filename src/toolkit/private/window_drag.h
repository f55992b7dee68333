#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

namespace velmora {

// A window moved by the program while the left button drags its background, where the windowing
// system does not move it (StartSystemMove in toolkit.h returned false).
class BackgroundDrag {
 public:
  // The button went down at `global_position` (screen coordinates).
  void Start(const QWidget& window, QPoint global_position);
  // Moves the window with the pointer while the drag lasts; a pointer without the left button
  // ends it.
  void Follow(QWidget& window, const QMouseEvent& event);
  void End() { dragging_ = false; }

 private:
  bool dragging_ = false;
  // The pointer's offset from the window's corner while the button is down.
  QPoint offset_;
};

}  // namespace velmora
