#pragma once

#include <curl/curl.h>

#include <memory>

namespace velmora::curl {

// Initialises libcurl for the whole process the first time it is called; later calls return at
// once. Returns false when libcurl could not be initialised, and keeps returning false.
bool EnsureInitialised();

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

// Appends one line to `list`; false when libcurl could not copy it (the list is unchanged).
bool Append(HeaderList& list, const char* line);

}  // namespace velmora::curl
