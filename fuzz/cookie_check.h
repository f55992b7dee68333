#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "net/cookie_store.h"

namespace velmora::fuzz {

// Every cookie in the process's store. A name or value with a tab or line break could never be
// sent as the one cookie it was stored as.
inline std::vector<StoredCookie> StoredCookies() {
  std::vector<StoredCookie> cookies = velmora::StoredCookies();
  for (const StoredCookie& cookie : cookies) {
    for (const std::string* field : {&cookie.host, &cookie.name, &cookie.value}) {
      Check(field->find_first_of("\t\r\n") == std::string::npos,
            "a stored cookie holds a tab or line break", {cookie.host, cookie.name, cookie.value});
    }
  }
  return cookies;
}

}  // namespace velmora::fuzz
