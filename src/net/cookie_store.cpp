#include "net/cookie_store.h"

#include <array>
#include <charconv>
#include <ctime>
#include <limits>
#include <mutex>
#include <string>

#include "net/curl_support.h"
#include "net/url_parts.h"

namespace velmora {
namespace {

class SharedCookies {
 public:
  SharedCookies() : share_(curl_share_init()) {
    if (share_ == nullptr) return;
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &Lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &Unlock);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    if (curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE) != CURLSHE_OK) {
      curl_share_cleanup(share_);
      share_ = nullptr;
    }
  }
  SharedCookies(const SharedCookies&) = delete;
  SharedCookies& operator=(const SharedCookies&) = delete;

  CURLSH* share() const { return share_; }

 private:
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<SharedCookies*>(self)->MutexFor(data).lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<SharedCookies*>(self)->MutexFor(data).unlock();
  }
  std::mutex& MutexFor(curl_lock_data data) {
    const auto index = static_cast<std::size_t>(data);
    return mutexes_[index < mutexes_.size() ? index : 0];
  }

  CURLSH* share_;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
};

// Never destroyed: a worker abandoned at a time-out may still use the store while the process
// runs its exit handlers.
const SharedCookies* Cookies() {
  if (!curl::EnsureInitialised()) return nullptr;
  static const SharedCookies* const cookies = new SharedCookies();
  return cookies->share() != nullptr ? cookies : nullptr;
}

// A handle that only reads or changes the store.
curl::EasyHandle StoreHandle() {
  curl::EasyHandle handle(Cookies() != nullptr ? curl_easy_init() : nullptr);
  if (handle && !AttachCookieStore(handle.get())) handle.reset();
  return handle;
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

// The directory of the URL's path, which a cookie without a path attribute belongs to.
std::string DefaultPath(std::string_view url) {
  std::string path = UrlPath(url);
  path.erase(std::min(path.find('?'), path.size()));
  const auto last_slash = path.rfind('/');
  if (last_slash == std::string::npos || last_slash == 0) return "/";
  path.erase(last_slash);
  return path;
}

}  // namespace

bool AttachCookieStore(CURL* handle) {
  const SharedCookies* const cookies = Cookies();
  if (cookies == nullptr || handle == nullptr) return false;
  // The shared store is only consulted once the handle's own cookie engine is switched on.
  return curl_easy_setopt(handle, CURLOPT_SHARE, cookies->share()) == CURLE_OK &&
         curl_easy_setopt(handle, CURLOPT_COOKIEFILE, "") == CURLE_OK;
}

bool SetCookie(std::string_view url, std::string_view name, std::string_view data) {
  const std::string host = UrlHost(url, false);
  if (!IsPlainHostName(host) || !IsCookieName(name)) return false;

  const auto value_end = data.find(';');
  const std::string_view value = Trim(data.substr(0, value_end));
  if (!IsCookieText(value)) return false;

  std::string path = DefaultPath(url);
  bool secure = false;
  long long expires = 0;  // 0 keeps the cookie for the rest of the run
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
      if (!text.empty() && text.front() == '/') path = text;
    } else if (EqualsIgnoringCase(key, "secure")) {
      secure = true;
    } else if (EqualsIgnoringCase(key, "max-age")) {
      long long seconds = 0;
      const auto [end_of_number, error] =
          std::from_chars(text.data(), text.data() + text.size(), seconds);
      if (error == std::errc() && end_of_number == text.data() + text.size()) {
        has_max_age = true;
        const long long now = std::time(nullptr);
        if (seconds <= 0) {
          expires = 1;
        } else {
          expires = seconds > std::numeric_limits<long long>::max() - now ? 0 : now + seconds;
        }
      }
    } else if (EqualsIgnoringCase(key, "expires") && !has_max_age) {
      const std::string date(text);
      const time_t when = curl_getdate(date.c_str(), nullptr);
      if (when > 0) expires = when;
      if (when == 0) expires = 1;
    }
  }

  // A cookie line in the Netscape format names the host exactly, which a Set-Cookie line handed
  // to libcurl without its request cannot do.
  std::string line = host;
  line += "\tFALSE\t";
  line += path;
  line += secure ? "\tTRUE\t" : "\tFALSE\t";
  std::array<char, 24> digits{};
  line.append(digits.data(),
              std::to_chars(digits.data(), digits.data() + digits.size(), expires).ptr);
  line += '\t';
  line += name;
  line += '\t';
  line += value;

  const curl::EasyHandle handle = StoreHandle();
  return handle && curl_easy_setopt(handle.get(), CURLOPT_COOKIELIST, line.c_str()) == CURLE_OK;
}

void ClearCookieStore() {
  if (const curl::EasyHandle handle = StoreHandle()) {
    curl_easy_setopt(handle.get(), CURLOPT_COOKIELIST, "ALL");
  }
}

}  // namespace velmora
