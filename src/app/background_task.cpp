#include "app/background_task.h"

#include <exception>
#include <system_error>
#include <thread>
#include <utility>

namespace velmora {

bool StartBackgroundTask(std::function<void()> task) {
  if (!task) return false;
  try {
    std::thread([task = std::move(task)] {
      // An escaping exception would end the whole program from a thread nobody watches.
      try {
        task();
      } catch (...) {
      }
    }).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

}  // namespace velmora
