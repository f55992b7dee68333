#include "net/url_parts.h"

namespace velmora {
namespace {

constexpr std::string_view kScheme = "http://";
constexpr int kDefaultPort = 80;
constexpr int kBeyondLastPort = 65536;

// Where the host part starts: behind the first "http://", or at the start.
std::size_t HostStart(std::string_view url) {
  const auto scheme = url.find(kScheme);
  return scheme == std::string_view::npos ? 0 : scheme + kScheme.size();
}

}  // namespace

std::string UrlHost(std::string_view url, bool keep_port) {
  const std::size_t start = HostStart(url);
  std::string_view host = url.substr(start, url.find('/', start) - start);
  if (!keep_port) host = host.substr(0, host.find(':'));
  std::string lowered(host);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

int UrlPort(std::string_view url) {
  const std::string host = UrlHost(url, true);
  const auto colon = host.find(':');
  if (colon == std::string::npos) return kDefaultPort;
  int port = 0;
  for (std::size_t i = colon + 1; i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i) {
    port = port * 10 + (host[i] - '0');
    if (port >= kBeyondLastPort) return kBeyondLastPort;
  }
  return port;
}

std::string UrlPath(std::string_view url) {
  // The host is matched where it stands; a search from the start of the URL would find a host
  // such as "tt" inside "http://" and take "//tt/..." for the path.
  const auto slash = url.find('/', HostStart(url));
  return slash == std::string_view::npos ? std::string("/") : std::string(url.substr(slash));
}

bool IsPlainHostName(std::string_view host) {
  if (host.empty() || host.front() == '.') return false;
  for (const char c : host) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    if (!allowed) return false;
  }
  return true;
}

}  // namespace velmora
