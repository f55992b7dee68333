#pragma once

#include <curl/curl.h>

#include <string_view>

namespace velmora {

// The process's one cookie store, shared by every request on every thread. Cookies belong to a
// host (never to its subdomains) and are sent with later requests to that host on any port.

// Lets the request on `handle` send the stored cookies of its host and store the cookies its
// response sets. Returns false when the store cannot be used.
bool AttachCookieStore(CURL* handle);

// Stores the cookie `name` for the host of `url` ("http://" + host, optionally with port and
// path). `data` is what follows "name=" in a Set-Cookie line: the value, then optional attributes
// separated by ";" (path, expires, max-age, secure; a domain attribute is ignored, the cookie
// stays with the host of `url`). A max-age of 0 or less, or an expiry in the past, removes the
// cookie. Returns false, storing nothing, for an empty or malformed name, a value or attribute
// with control characters, or a URL without a valid host.
bool SetCookie(std::string_view url, std::string_view name, std::string_view data);

// Forgets every stored cookie.
void ClearCookieStore();

}  // namespace velmora
