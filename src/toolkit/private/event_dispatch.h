#pragma once

#include <array>
#include <vector>

#include "toolkit/design.h"
#include "toolkit/toolkit.h"

namespace velmora {

// How the events of a window's controls reach the handlers of its design.

// The handler one event of a control is bound to, with the binding's argument.
struct Binding {
  const Handler* handler = nullptr;
  int argument = 0;
};
// A control's bindings, one per event.
using Bindings = std::array<Binding, kEventCount>;

// The bindings of a design's events among `handlers`; names without a handler stay unbound.
Bindings ResolveBindings(const HandlerTable& handlers, const std::vector<EventBinding>& events);

// Runs the bound handler with `args` (argument filled in from the binding) while `args.source`
// is the event source that EventSource reports. The handler may destroy the window.
void RunHandler(const Binding& binding, EventArgs& args);

// The source of the innermost event being handled; empty outside handlers.
Control CurrentEventSource();

}  // namespace velmora
