#include "net/curl_support.h"

#include <mutex>

namespace velmora::curl {

bool EnsureInitialised() {
  static std::once_flag once;
  static bool ready = false;
  // curl_global_init is not safe to run twice at the same time, and it is never undone: workers
  // abandoned at a time-out may still be inside libcurl while the process ends.
  std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return ready;
}

bool Append(HeaderList& list, const char* line) {
  curl_slist* const grown = curl_slist_append(list.get(), line);
  if (grown == nullptr) return false;
  // The head only changes when the list was empty.
  if (!list) list.reset(grown);
  return true;
}

}  // namespace velmora::curl
