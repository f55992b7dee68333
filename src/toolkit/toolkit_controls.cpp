// The control operations of toolkit.h: finding controls, copying them and routing their events.

#include "toolkit/private/control_index.h"
#include "toolkit/private/event_dispatch.h"
#include "toolkit/toolkit.h"
#include "toolkit/utf8_text.h"
#include "toolkit/window.h"

namespace velmora {

Control EventSource() {
  return CurrentEventSource();
}

Window* WindowOf(Control control) {
  return control ? OwningWindow(control.object()) : nullptr;
}

Control CopyControl(Control template_control) {
  Window* window = WindowOf(template_control);
  return window != nullptr ? window->Copy(template_control) : Control();
}

Control CopyControl(Control template_control, int argument) {
  Window* window = WindowOf(template_control);
  return window != nullptr ? window->Copy(template_control, argument) : Control();
}

void DeleteCopies(Control template_control) {
  if (Window* window = WindowOf(template_control)) window->DeleteCopies(template_control);
}

void RedirectEvents(Control source, Control target) {
  Window* window = WindowOf(source);
  if (window != nullptr && WindowOf(target) == window && source.kind() == target.kind()) {
    window->Redirect(source.object(), target.object());
  }
}

Control FindControlByTag(Window* window, int tag) {
  return window != nullptr ? window->FindByTag(tag) : Control();
}

Control FindControl(Window* window, std::string_view name) {
  if (window == nullptr) return {};
  return window->FindByName(FromUtf8(name));
}

}  // namespace velmora
