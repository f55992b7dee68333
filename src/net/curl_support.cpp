#include "net/curl_support.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <utility>

namespace velmora::curl {
namespace {

// Finds `name` in `handle` as a function of the type of `into`.
template <typename Function>
bool Find(void* handle, const char* name, Function& into) {
  void* const symbol = dlsym(handle, name);
  if (symbol == nullptr) return false;
  into = reinterpret_cast<Function>(symbol);
  return true;
}

}  // namespace

void Library::Closer::operator()(void* handle) const {
  dlclose(handle);
}

Library::Library(const std::string& file) {
  // RTLD_LOCAL keeps libcurl's symbols out of the process's global scope; RTLD_NODELETE keeps it
  // mapped after dlclose.
  handle_.reset(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
  if (!handle_) {
    const char* const reason = dlerror();
    error_ = reason != nullptr ? reason : file + ": cannot be loaded";
    return;
  }
  void* const h = handle_.get();
  Functions& f = functions_;
  const std::pair<const char*, bool> found[] = {
      {"curl_global_init", Find(h, "curl_global_init", f.global_init)},
      {"curl_easy_init", Find(h, "curl_easy_init", f.easy_init)},
      {"curl_easy_cleanup", Find(h, "curl_easy_cleanup", f.easy_cleanup)},
      {"curl_easy_setopt", Find(h, "curl_easy_setopt", f.easy_setopt)},
      {"curl_easy_perform", Find(h, "curl_easy_perform", f.easy_perform)},
      {"curl_slist_append", Find(h, "curl_slist_append", f.slist_append)},
      {"curl_slist_free_all", Find(h, "curl_slist_free_all", f.slist_free_all)},
      {"curl_getdate", Find(h, "curl_getdate", f.getdate)},
  };
  for (const auto& [name, ok] : found) {
    if (!ok) {
      error_ = file + ": no function " + name;
      functions_ = {};
      handle_.reset();
      return;
    }
  }
  loaded_ = true;
}

const Functions* Loaded() {
  static std::once_flag once;
  static std::optional<Functions> functions;
  std::call_once(once, [] {
    const char* const named = std::getenv(kLibraryVariable);
    const Library library(named != nullptr && *named != '\0' ? named : kLibraryFile);
    if (!library.loaded()) {
      std::fprintf(stderr, "velmora: no HTTP requests: %s\n", library.error().c_str());
      return;
    }
    // The library stays mapped after `library` goes (see Library).
    functions = library.functions();
  });
  return functions ? &*functions : nullptr;
}

bool EnsureInitialised() {
  static std::once_flag once;
  static bool ready = false;
  // curl_global_init is not safe to run twice at the same time, and it is never undone: workers
  // abandoned at a time-out may still be inside libcurl while the process ends.
  std::call_once(once, [] {
    const Functions* const curl = Loaded();
    ready = curl != nullptr && curl->global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  });
  return ready;
}

CURL* EasyInit() {
  const Functions* const curl = Loaded();
  return curl != nullptr ? curl->easy_init() : nullptr;
}

CURLcode Perform(CURL* handle) {
  const Functions* const curl = Loaded();
  return curl != nullptr ? curl->easy_perform(handle) : CURLE_FAILED_INIT;
}

time_t GetDate(const char* text) {
  const Functions* const curl = Loaded();
  return curl != nullptr ? curl->getdate(text, nullptr) : -1;
}

// A handle or list only exists when libcurl was loaded.
void EasyDeleter::operator()(CURL* handle) const {
  Loaded()->easy_cleanup(handle);
}

void SlistDeleter::operator()(curl_slist* list) const {
  Loaded()->slist_free_all(list);
}

bool Append(HeaderList& list, const char* line) {
  const Functions* const curl = Loaded();
  if (curl == nullptr) return false;
  curl_slist* const grown = curl->slist_append(list.get(), line);
  if (grown == nullptr) return false;
  // The head only changes when the list was empty.
  if (!list) list.reset(grown);
  return true;
}

}  // namespace velmora::curl
