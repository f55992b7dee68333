#pragma once

#include <functional>

namespace velmora {

// Runs `task` on a new thread that nobody waits for: it ends with the task or with the process.
// Returns whether the thread could be started.
bool StartBackgroundTask(std::function<void()> task);

}  // namespace velmora
