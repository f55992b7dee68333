#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "cookie_check.h"
#include "fuzz_support.h"
#include "net/cookie_store.h"
#include "net/url_parts.h"

namespace {

using velmora::fuzz::Check;
using velmora::fuzz::Lower;

void CheckUrlParts(std::string_view url) {
  const std::string host = velmora::UrlHost(url, false);
  const std::string host_port = velmora::UrlHost(url, true);
  const int port = velmora::UrlPort(url);
  const std::string path = velmora::UrlPath(url);

  Check(Lower(host_port) == host_port && host_port.find('/') == std::string::npos,
        "host not lower case or holding a slash", {url, host_port});
  Check(host.find(':') == std::string::npos && host_port.starts_with(host) &&
            (host_port.size() == host.size() || host_port[host.size()] == ':'),
        "host and host with port disagree", {url, host, host_port});

  // The URL is what stands up to the first "http://", the host with its port, and the path.
  const std::size_t scheme = url.find("http://");
  const std::size_t start = scheme == std::string_view::npos ? 0 : scheme + 7;
  const bool has_path = url.find('/', start) != std::string_view::npos;
  Check(path.starts_with('/') && (has_path || path == "/"), "path without its slash", {url, path});
  Check(Lower(url.substr(start)) == host_port + (has_path ? Lower(path) : ""),
        "host and path do not make up the URL", {url, host_port, path});

  const std::size_t colon = host_port.find(':');
  if (colon == std::string::npos) {
    Check(port == 80, "default port", {url});
  } else {
    Check(port >= 0 && port <= 65536, "port out of range", {url});
    const std::string_view digits = std::string_view(host_port).substr(colon + 1);
    long long number = 0;
    std::size_t i = 0;
    for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9' && number < 65536; ++i) {
      number = number * 10 + (digits[i] - '0');
    }
    Check(port == std::min<long long>(number, 65536), "port is not the written number",
          {url, std::to_string(port)});
  }
}

// A cookie set for a URL lands, if at all, with exactly the URL's host and under its own name,
// and nothing else enters the store.
void CheckSetCookie(std::string_view url, std::string_view name, std::string_view data) {
  velmora::ClearCookieStore();
  const bool stored = velmora::SetCookie(url, name, data);
  const auto cookies = velmora::fuzz::StoredCookies();
  if (!stored) {
    Check(cookies.empty(), "a refused cookie was stored", {url, name, data});
    return;
  }
  Check(cookies.size() <= 1, "one cookie became several", {url, name, data});
  for (const auto& cookie : cookies) {
    Check(cookie.host == velmora::UrlHost(url, false) && cookie.name == name,
          "cookie stored for another host or name", {url, name, data, cookie.host, cookie.name});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckUrlParts(std::string_view(reinterpret_cast<const char*>(data), size));

  FuzzedDataProvider input(data, size);
  const std::string url = input.ConsumeRandomLengthString(64);
  const std::string name = input.ConsumeRandomLengthString(32);
  const std::string cookie = input.ConsumeRemainingBytesAsString();
  CheckSetCookie(url, name, cookie);
  return 0;
}
