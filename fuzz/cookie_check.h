#pragma once

#include <curl/curl.h>

#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "net/cookie_store.h"

namespace velmora::fuzz {

struct StoredCookie {
  std::string domain;
  std::string name;
  std::string value;
};

// Every cookie in the process's store, read through a handle attached to it. A line that is not
// the seven fields of the Netscape format fails the run: a name or value with a tab or line
// break would have been stored as another cookie.
inline std::vector<StoredCookie> StoredCookies() {
  std::vector<StoredCookie> cookies;
  CURL* const handle = curl_easy_init();
  Check(handle != nullptr && AttachCookieStore(handle), "the cookie store is not available");
  curl_slist* list = nullptr;
  curl_easy_getinfo(handle, CURLINFO_COOKIELIST, &list);
  for (const curl_slist* item = list; item != nullptr; item = item->next) {
    const std::string_view line(item->data);
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    while (true) {
      const std::size_t tab = line.find('\t', from);
      fields.push_back(line.substr(from, tab - from));
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    Check(fields.size() == 7, "a stored cookie is not one line of seven fields", {line});
    std::string_view domain = fields[0];
    if (domain.starts_with("#HttpOnly_")) domain.remove_prefix(10);
    cookies.push_back({std::string(domain), std::string(fields[5]), std::string(fields[6])});
  }
  curl_slist_free_all(list);
  curl_easy_cleanup(handle);
  return cookies;
}

}  // namespace velmora::fuzz
