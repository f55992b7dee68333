#include "toolkit/private/event_dispatch.h"

namespace velmora {
namespace {

// Handlers may raise further events (a program write raises content changed at once), so the
// sources form a stack.
std::vector<Control>& SourceStack() {
  static std::vector<Control> stack;
  return stack;
}

class SourceScope {
 public:
  explicit SourceScope(Control source) { SourceStack().push_back(source); }
  ~SourceScope() { SourceStack().pop_back(); }
  SourceScope(const SourceScope&) = delete;
  SourceScope& operator=(const SourceScope&) = delete;
};

}  // namespace

Bindings ResolveBindings(const HandlerTable& handlers, const std::vector<EventBinding>& events) {
  Bindings bindings{};
  for (const EventBinding& binding : events) {
    const auto found = handlers.find(binding.handler);
    if (found == handlers.end() || !found->second) continue;
    bindings[static_cast<int>(binding.event)] = Binding{&found->second, binding.argument};
  }
  return bindings;
}

void RunHandler(const Binding& binding, EventArgs& args) {
  args.argument = binding.argument;
  SourceScope scope(args.source);
  (*binding.handler)(args);
}

Control CurrentEventSource() {
  return SourceStack().empty() ? Control() : SourceStack().back();
}

}  // namespace velmora
