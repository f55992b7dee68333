#pragma once

// libcurl is not linked into the program: it is loaded the first time a request needs it, so a
// run that makes no request never maps it nor the many libraries it pulls in. <curl/curl.h> is
// used for types and constants only; every call into libcurl goes through the functions here.
#include <curl/curl.h>

#include <ctime>
#include <memory>
#include <string>
#include <type_traits>

namespace velmora::curl {

// The library file loaded, unless the environment variable kLibraryVariable names another file
// (a name the dynamic loader searches for, or a path).
inline constexpr const char* kLibraryFile = "libcurl.so.4";
inline constexpr const char* kLibraryVariable = "VELMORA_LIBCURL";

// The libcurl functions the program calls.
struct Functions {
  decltype(&curl_global_init) global_init = nullptr;
  decltype(&curl_easy_init) easy_init = nullptr;
  decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
  decltype(&curl_easy_setopt) easy_setopt = nullptr;
  decltype(&curl_easy_perform) easy_perform = nullptr;
  decltype(&curl_slist_append) slist_append = nullptr;
  decltype(&curl_slist_free_all) slist_free_all = nullptr;
  decltype(&curl_getdate) getdate = nullptr;
};

// One load of a libcurl file. A loaded library is never unmapped, not even when the object goes:
// libcurl and the libraries below it register exit handlers that must stay callable.
class Library {
 public:
  // Loads `file` and finds every function of Functions in it. When the file cannot be loaded or
  // lacks one of them, loaded() is false and error() says why.
  explicit Library(const std::string& file);

  bool loaded() const { return loaded_; }
  // Only meaningful when loaded().
  const Functions& functions() const { return functions_; }
  const std::string& error() const { return error_; }

 private:
  struct Closer {
    void operator()(void* handle) const;
  };
  std::unique_ptr<void, Closer> handle_;
  Functions functions_;
  bool loaded_ = false;
  std::string error_;
};

// The process's libcurl, loaded on the first call from any thread; later calls return at once.
// Nothing when it could not be loaded, and then never: every request fails like a network error.
const Functions* Loaded();

// Loads libcurl and initialises it for the whole process the first time it is called; later
// calls return at once. Returns false when libcurl could not be loaded or initialised, and keeps
// returning false.
bool EnsureInitialised();

// The calls the network code makes. Each fails (a null handle, an error code, -1) when libcurl is
// not loaded.
CURL* EasyInit();
CURLcode Perform(CURL* handle);
// The date of an HTTP date text (seconds since the epoch); -1 when it cannot be read.
time_t GetDate(const char* text);

// libcurl reads an option's value by its kind as a long, a curl_off_t or a pointer; a value of
// any other type would be read wrongly.
template <typename Value>
CURLcode SetOption(CURL* handle, CURLoption option, Value value) {
  static_assert(std::is_same_v<Value, long> || std::is_same_v<Value, unsigned long> ||
                    std::is_same_v<Value, curl_off_t> || std::is_pointer_v<Value>,
                "an option takes a long, a curl_off_t or a pointer");
  const Functions* const curl = Loaded();
  return curl != nullptr ? curl->easy_setopt(handle, option, value) : CURLE_FAILED_INIT;
}

struct EasyDeleter {
  void operator()(CURL* handle) const;
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct SlistDeleter {
  void operator()(curl_slist* list) const;
};
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

// Appends one line to `list`; false when libcurl could not copy it (the list is unchanged).
bool Append(HeaderList& list, const char* line);

}  // namespace velmora::curl
