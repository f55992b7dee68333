#include "toolkit/private/hosted.h"

#include <QMouseEvent>

#include "toolkit/window.h"

namespace velmora {

bool Hosted::Raise(QWidget* source, Event event) {
  return host_ != nullptr && host_->Raise(source, event);
}

void RaiseMouse(Window* host, QWidget* widget, Event event, QMouseEvent* mouse) {
  if (host == nullptr || mouse->button() != Qt::LeftButton ||
      !host->Raise(widget, event, mouse->position().toPoint(), mouse->modifiers().toInt())) {
    mouse->ignore();
    return;
  }
  mouse->accept();
}

}  // namespace velmora
