#pragma once

#include "toolkit/design.h"

class QMouseEvent;
class QWidget;

namespace velmora {

class Window;

// A control that raises events on its window by itself. The window detaches it before the window
// goes, so that the focus and mouse events of its final moments reach no handler.
class Hosted {
 public:
  explicit Hosted(Window* host) : host_(host) {}
  virtual ~Hosted() = default;
  void Detach() { host_ = nullptr; }

 protected:
  bool Raise(QWidget* source, Event event);
  Window* host_;
};

// Raises a left button down or up of `widget` on `host` when the handlers take it; otherwise the
// mouse event is ignored and goes on to the parent.
void RaiseMouse(Window* host, QWidget* widget, Event event, QMouseEvent* mouse);

}  // namespace velmora
