#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The process's one cookie store, shared by every request on every thread. Cookies belong to a
// host (never to its subdomains or its parent) and are sent with later requests to that host on
// any port. Requests do not parse Set-Cookie lines themselves: only what is stored here is sent.

// Stores the cookie `name` for the host of `url` ("http://" + host, optionally with port and
// path). `data` is what follows "name=" in a Set-Cookie line: the value, then optional attributes
// separated by ";" (path, expires, max-age, secure; a domain attribute is ignored, the cookie
// stays with the host of `url`). A cookie of the same host, name and path is replaced. A max-age
// of 0 or less, or an expiry in the past, removes the cookie. Returns false, storing nothing, for
// an empty or malformed name, a value or attribute with control characters, a cookie beyond
// 4,096 bytes, or a URL without a valid host. A host keeps at most 50 cookies (the oldest go).
bool SetCookie(std::string_view url, std::string_view name, std::string_view data);

// The text of the Cookie header for a request to `host` and `path` ("a=1; b=2"), empty when no
// stored cookie applies: the host's cookies whose path is a prefix of the request's path (up to a
// "/"), longer paths first, and never those marked secure (requests are plain HTTP).
std::string CookieHeaderFor(std::string_view host, std::string_view path);

// Forgets every stored cookie.
void ClearCookieStore();

// A copy of every stored cookie, for checks of what the store holds.
struct StoredCookie {
  std::string host;
  std::string path;
  std::string name;
  std::string value;
};
std::vector<StoredCookie> StoredCookies();

}  // namespace velmora
