// The keyboard-focus operations of toolkit.h.

#include <QLineEdit>
#include <QWidget>

#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace velmora {

bool HasFocus(Control control) {
  auto* widget = qobject_cast<QWidget*>(control.object());
  return widget != nullptr && widget->hasFocus();
}

void SetFocus(Control control) {
  auto* widget = qobject_cast<QWidget*>(control.object());
  if (widget == nullptr) return;
  if (widget->isWindow()) {
    widget->activateWindow();
  } else {
    widget->setFocus(Qt::OtherFocusReason);
  }
}

void FocusForTyping(Control edit_box) {
  auto* edit = qobject_cast<QLineEdit*>(edit_box.object());
  if (edit == nullptr || !edit->isEnabled()) return;
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}

Control FocusedControl(Window* window) {
  if (window == nullptr) return {};
  return window->ControlFor(window->focusWidget());
}

Control ContextMenuOwner(Window* window) {
  return window != nullptr ? window->context_menu_owner() : Control();
}

void PasteInto(Control edit_box) {
  auto* edit = qobject_cast<QLineEdit*>(edit_box.object());
  if (edit == nullptr || !edit->isEnabled() || edit->isReadOnly()) return;
  edit->setFocus(Qt::OtherFocusReason);
  edit->paste();
}

}  // namespace velmora
