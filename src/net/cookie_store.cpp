#include "net/cookie_store.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <limits>
#include <mutex>
#include <string>
#include <vector>

#include "net/curl_support.h"
#include "net/url_parts.h"

namespace velmora {
namespace {

constexpr std::size_t kMaxCookieBytes = 4096;
constexpr std::size_t kMaxCookiesPerHost = 50;
constexpr std::size_t kMaxCookies = 3000;

struct Cookie {
  std::string host;
  std::string path;
  std::string name;
  std::string value;
  bool secure = false;
  long long expires = 0;  // seconds since the epoch; 0 keeps the cookie for the rest of the run
  unsigned long long order = 0;  // when it was first stored, to send older cookies first
};

struct Store {
  std::mutex mutex;
  std::vector<Cookie> cookies;
  unsigned long long next_order = 0;
};

// Never destroyed: a worker abandoned at a time-out may still use the store while the process
// runs its exit handlers.
Store& TheStore() {
  static Store* const store = new Store();
  return *store;
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsCookieText(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f || c == ';') return false;
  }
  return true;
}

bool IsCookieName(std::string_view name) {
  if (name.empty() || name.front() == '#') return false;
  for (const char c : name) {
    if (c == '=' || c == ',' || c == ' ' || c == '\t') return false;
  }
  return IsCookieText(name);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view WithoutQuery(std::string_view path) {
  return path.substr(0, path.find('?'));
}

// The directory of the URL's path, which a cookie without a path attribute belongs to.
std::string DefaultPath(std::string_view url) {
  std::string path(WithoutQuery(UrlPath(url)));
  const auto last_slash = path.rfind('/');
  if (last_slash == std::string::npos || last_slash == 0) return "/";
  path.erase(last_slash);
  return path;
}

bool PathMatches(std::string_view cookie_path, std::string_view request_path) {
  if (!request_path.starts_with(cookie_path)) return false;
  return request_path.size() == cookie_path.size() || cookie_path.back() == '/' ||
         request_path[cookie_path.size()] == '/';
}

bool Expired(const Cookie& cookie, long long now) {
  return cookie.expires != 0 && cookie.expires <= now;
}

// Drops the oldest cookies of `host` beyond the per-host limit and the oldest of all beyond
// the overall limit, so that a hostile server cannot grow the store without end.
void Evict(std::vector<Cookie>& cookies, const std::string& host) {
  const auto oldest_where = [&](auto&& belongs) {
    auto oldest = cookies.end();
    for (auto it = cookies.begin(); it != cookies.end(); ++it) {
      if (belongs(*it) && (oldest == cookies.end() || it->order < oldest->order)) oldest = it;
    }
    return oldest;
  };
  while (static_cast<std::size_t>(std::count_if(cookies.begin(), cookies.end(), [&](const auto& c) {
           return c.host == host;
         })) > kMaxCookiesPerHost) {
    cookies.erase(oldest_where([&](const Cookie& c) { return c.host == host; }));
  }
  while (cookies.size() > kMaxCookies) {
    cookies.erase(oldest_where([](const Cookie&) { return true; }));
  }
}

}  // namespace

bool SetCookie(std::string_view url, std::string_view name, std::string_view data) {
  const std::string host = UrlHost(url, false);
  if (!IsPlainHostName(host) || !IsCookieName(name)) return false;
  if (name.size() + data.size() > kMaxCookieBytes) return false;

  const auto value_end = data.find(';');
  const std::string_view value = Trim(data.substr(0, value_end));
  if (!IsCookieText(value)) return false;

  Cookie cookie{host, DefaultPath(url), std::string(name), std::string(value)};
  const long long now = std::time(nullptr);
  bool has_max_age = false;
  std::string_view attributes =
      value_end == std::string_view::npos ? std::string_view{} : data.substr(value_end + 1);
  while (!attributes.empty()) {
    const auto end = attributes.find(';');
    const std::string_view attribute = Trim(attributes.substr(0, end));
    attributes = end == std::string_view::npos ? std::string_view{} : attributes.substr(end + 1);
    if (!IsCookieText(attribute)) return false;
    const auto equals = attribute.find('=');
    const std::string_view key = Trim(attribute.substr(0, equals));
    const std::string_view text =
        equals == std::string_view::npos ? std::string_view{} : Trim(attribute.substr(equals + 1));
    if (EqualsIgnoringCase(key, "path")) {
      if (!text.empty() && text.front() == '/') cookie.path = text;
    } else if (EqualsIgnoringCase(key, "secure")) {
      cookie.secure = true;
    } else if (EqualsIgnoringCase(key, "max-age")) {
      long long seconds = 0;
      const auto [end_of_number, error] =
          std::from_chars(text.data(), text.data() + text.size(), seconds);
      if (error == std::errc() && end_of_number == text.data() + text.size()) {
        has_max_age = true;
        if (seconds <= 0) {
          cookie.expires = 1;
        } else {
          cookie.expires =
              seconds > std::numeric_limits<long long>::max() - now ? 0 : now + seconds;
        }
      }
    } else if (EqualsIgnoringCase(key, "expires") && !has_max_age) {
      const std::string date(text);
      const time_t when = curl::GetDate(date.c_str());
      if (when > 0) cookie.expires = when;
      if (when == 0) cookie.expires = 1;
    }
  }

  Store& store = TheStore();
  const std::lock_guard lock(store.mutex);
  auto& cookies = store.cookies;
  const auto same = std::find_if(cookies.begin(), cookies.end(), [&](const Cookie& c) {
    return c.host == cookie.host && c.name == cookie.name && c.path == cookie.path;
  });
  if (Expired(cookie, now)) {
    if (same != cookies.end()) cookies.erase(same);
    return true;
  }
  if (same != cookies.end()) {
    cookie.order = same->order;
    *same = std::move(cookie);
    return true;
  }
  cookie.order = store.next_order++;
  cookies.push_back(std::move(cookie));
  Evict(cookies, host);
  return true;
}

std::string CookieHeaderFor(std::string_view host, std::string_view path) {
  const std::string_view request_path = WithoutQuery(path);
  const long long now = std::time(nullptr);
  Store& store = TheStore();
  const std::lock_guard lock(store.mutex);
  auto& cookies = store.cookies;
  std::erase_if(cookies, [&](const Cookie& c) { return Expired(c, now); });
  std::vector<const Cookie*> sent;
  for (const Cookie& cookie : cookies) {
    if (cookie.host == host && !cookie.secure && PathMatches(cookie.path, request_path)) {
      sent.push_back(&cookie);
    }
  }
  std::stable_sort(sent.begin(), sent.end(), [](const Cookie* a, const Cookie* b) {
    if (a->path.size() != b->path.size()) return a->path.size() > b->path.size();
    return a->order < b->order;
  });
  std::string header;
  for (const Cookie* cookie : sent) {
    if (!header.empty()) header += "; ";
    header += cookie->name;
    header += '=';
    header += cookie->value;
  }
  return header;
}

void ClearCookieStore() {
  Store& store = TheStore();
  const std::lock_guard lock(store.mutex);
  store.cookies.clear();
}

std::vector<StoredCookie> StoredCookies() {
  Store& store = TheStore();
  const std::lock_guard lock(store.mutex);
  std::vector<StoredCookie> cookies;
  cookies.reserve(store.cookies.size());
  for (const Cookie& cookie : store.cookies) {
    cookies.push_back({cookie.host, cookie.path, cookie.name, cookie.value});
  }
  return cookies;
}

}  // namespace velmora
