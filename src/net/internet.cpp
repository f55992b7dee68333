#include "net/internet.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <vector>

#include "net/cookie_store.h"
#include "net/curl_support.h"
#include "net/url_parts.h"

namespace velmora {
namespace {

constexpr int kDefaultPort = 80;
constexpr int kDefaultSecurePort = 443;
constexpr int kLastPort = 65535;
// Headers beyond this are not a response worth waiting for; the transfer stops.
constexpr std::size_t kMaxHeaderBytes = 64 * 1024;

std::string PortText(int port) {
  std::array<char, 8> digits{};
  return {digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), port).ptr};
}

// "host" or "host:port" with an optional "http://" in front; nothing when it is not usable.
std::optional<std::string> ProxyUrl(std::string_view entry) {
  constexpr std::string_view kScheme = "http://";
  if (entry.substr(0, kScheme.size()) == kScheme) entry.remove_prefix(kScheme.size());
  if (!entry.empty() && entry.back() == '/') entry.remove_suffix(1);
  const auto colon = entry.find(':');
  std::string host(entry.substr(0, colon));
  if (!IsPlainHostName(host)) return std::nullopt;
  int port = kDefaultPort;
  if (colon != std::string_view::npos) {
    const std::string_view digits = entry.substr(colon + 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (error != std::errc() || end != digits.data() + digits.size() || port < 1 ||
        port > kLastPort) {
      return std::nullopt;
    }
  }
  return "http://" + host + ":" + PortText(port);
}

bool IsTokenChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::strchr("!#$%&'*+-.^_`|~", c) != nullptr;
}

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7f;
  });
}

bool IsStatusLine(std::string_view line) {
  constexpr std::string_view kProtocol = "http/";
  return line.size() >= kProtocol.size() &&
         std::equal(kProtocol.begin(), kProtocol.end(), line.begin(), [](char a, char b) {
           return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
         });
}

}  // namespace

std::optional<InternetSession> InternetSession::Open(std::string_view user_agent,
                                                     InternetAccess access,
                                                     std::string_view proxy_list) {
  if (!curl::EnsureInitialised() || HasControlCharacter(user_agent)) return std::nullopt;
  if (access == InternetAccess::kDirect) return InternetSession(std::string(user_agent), {});

  std::optional<std::string> proxy;
  while (!proxy_list.empty()) {
    const auto end = proxy_list.find_first_of(" \t;");
    const std::string_view entry = proxy_list.substr(0, end);
    proxy_list = end == std::string_view::npos ? std::string_view{} : proxy_list.substr(end + 1);
    const auto equals = entry.find('=');
    if (equals == std::string_view::npos) {
      if (!proxy) proxy = ProxyUrl(entry);
    } else if (entry.substr(0, equals) == "http") {
      proxy = ProxyUrl(entry.substr(equals + 1));
      if (proxy) break;
    }
  }
  if (!proxy) return std::nullopt;
  return InternetSession(std::string(user_agent), std::move(*proxy));
}

std::optional<InternetConnection> InternetConnection::Connect(const InternetSession& session,
                                                              std::string_view host, int port,
                                                              std::string_view user_name,
                                                              std::string_view password,
                                                              bool secure) {
  if (!IsPlainHostName(host) || port < 0 || port > kLastPort) return std::nullopt;
  const int default_port = secure ? kDefaultSecurePort : kDefaultPort;
  return InternetConnection(session, std::string(host), port == 0 ? default_port : port,
                            std::string(user_name), std::string(password), secure);
}

struct InternetRequest::State {
  curl::EasyHandle handle;
  std::string method;
  TransferLimits limits;
  bool sent = false;
  TransferError error = TransferError::kNotSent;
  std::string post_data;
  std::string headers;
  bool headers_complete = false;
  std::size_t header_bytes_seen = 0;
  bool headers_too_large = false;
  std::string body;
  std::size_t read_offset = 0;

  static std::size_t OnHeader(char* bytes, std::size_t size, std::size_t count, void* self) {
    auto& state = *static_cast<State*>(self);
    const std::string_view line(bytes, size * count);
    state.header_bytes_seen += line.size();
    if (state.header_bytes_seen > kMaxHeaderBytes) {
      state.headers_too_large = true;
      return 0;
    }
    // Interim responses (100 Continue, a 401 answered with credentials) come before the final
    // one; only the final response's headers and body are kept, and no trailers. libcurl takes
    // the protocol name of a status line in any case.
    if (IsStatusLine(line)) {
      state.headers.clear();
      state.headers_complete = false;
      state.body.clear();
    }
    if (!state.headers_complete) state.headers.append(line);
    if (line == "\r\n" || line == "\n") state.headers_complete = true;
    return line.size();
  }

  static std::size_t OnBody(char* bytes, std::size_t size, std::size_t count, void* self) {
    auto& state = *static_cast<State*>(self);
    const std::size_t length = size * count;
    if (state.limits.max_body_bytes && length > *state.limits.max_body_bytes - state.body.size()) {
      state.error = TransferError::kBodyTooLarge;
      return 0;
    }
    state.body.append(bytes, length);
    return length;
  }

  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto& state = *static_cast<State*>(self);
    return state.limits.cancel && state.limits.cancel->load() ? 1 : 0;
  }
};

InternetRequest::InternetRequest(std::unique_ptr<State> state) : state_(std::move(state)) {}
InternetRequest::InternetRequest(InternetRequest&&) noexcept = default;
InternetRequest& InternetRequest::operator=(InternetRequest&&) noexcept = default;
InternetRequest::~InternetRequest() = default;

std::optional<InternetRequest> InternetRequest::Open(const InternetConnection& connection,
                                                     std::string_view method, std::string_view path,
                                                     std::string_view version, unsigned flags) {
  static_cast<void>(flags);  // kRequestReload is the only behaviour this layer has
  if (method.empty()) method = "GET";
  if (!std::all_of(method.begin(), method.end(), IsTokenChar)) return std::nullopt;
  if (path.empty() || path.front() != '/' || HasControlCharacter(path)) return std::nullopt;
  long http_version = CURL_HTTP_VERSION_1_1;
  if (version == "HTTP/1.0") {
    http_version = CURL_HTTP_VERSION_1_0;
  } else if (!version.empty() && version != "HTTP/1.1") {
    return std::nullopt;
  }

  auto state = std::make_unique<State>();
  state->handle.reset(curl::EasyInit());
  state->method = method;
  CURL* const h = state->handle.get();
  if (h == nullptr) return std::nullopt;

  const InternetSession& session = connection.session();
  const char* const scheme = connection.secure() ? "https" : "http";
  const std::string url = std::string(scheme) + "://" + connection.host() + ":" +
                          PortText(connection.port()) + std::string(path);
  bool ok = curl::SetOption(h, CURLOPT_URL, url.c_str()) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_PROTOCOLS_STR, scheme) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_HTTP_VERSION, http_version) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_USERAGENT, session.user_agent().c_str()) == CURLE_OK &&
            // An empty proxy also keeps libcurl from taking one from http_proxy and its kin.
            curl::SetOption(h, CURLOPT_PROXY, session.proxy().c_str()) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_NOPROXY, "") == CURLE_OK &&
            curl::SetOption(h, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_HEADERFUNCTION, &State::OnHeader) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_HEADERDATA, state.get()) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_WRITEFUNCTION, &State::OnBody) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_WRITEDATA, state.get()) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_XFERINFOFUNCTION, &State::OnProgress) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_XFERINFODATA, state.get()) == CURLE_OK &&
            curl::SetOption(h, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
  // The Cookie line comes from the program's own store; libcurl's cookie engine stays off, so
  // that no Set-Cookie line of a response is stored behind the store's back.
  const std::string cookies = CookieHeaderFor(connection.host(), path);
  if (ok && !cookies.empty()) ok = curl::SetOption(h, CURLOPT_COOKIE, cookies.c_str()) == CURLE_OK;
  if (ok && !connection.user_name().empty()) {
    // Offering more than one scheme makes libcurl ask without credentials first, so they are
    // only sent to a server that asks for them.
    ok = curl::SetOption(h, CURLOPT_USERNAME, connection.user_name().c_str()) == CURLE_OK &&
         curl::SetOption(h, CURLOPT_PASSWORD, connection.password().c_str()) == CURLE_OK &&
         curl::SetOption(h, CURLOPT_HTTPAUTH, CURLAUTH_BASIC | CURLAUTH_DIGEST) == CURLE_OK;
  }
  if (!ok) return std::nullopt;
  return InternetRequest(std::move(state));
}

void InternetRequest::SetLimits(TransferLimits limits) {
  state_->limits = std::move(limits);
}

bool InternetRequest::Send(std::string_view header_block, std::string_view data) {
  State& state = *state_;
  if (state.sent) {
    state.error = TransferError::kNotSent;
    return false;
  }
  state.sent = true;
  CURL* const h = state.handle.get();

  curl::HeaderList headers;
  bool ok = true;
  while (ok && !header_block.empty()) {
    const auto end = header_block.find('\n');
    std::string_view line = header_block.substr(0, end);
    header_block =
        end == std::string_view::npos ? std::string_view{} : header_block.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (HasControlCharacter(line)) return false;
    ok = curl::Append(headers, std::string(line).c_str());
  }
  // Entries with nothing behind the colon keep libcurl from adding its own header of that name,
  // so the request carries exactly the caller's lines.
  ok = ok && curl::Append(headers, "Accept:") && curl::Append(headers, "Expect:");
  const bool has_body = !data.empty();
  if (has_body) ok = ok && curl::Append(headers, "Content-Type:");
  if (!ok) return false;

  state.post_data = data;
  const TransferLimits& limits = state.limits;
  ok = curl::SetOption(h, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK &&
       curl::SetOption(h, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.time_limit.count())) ==
           CURLE_OK;
  if (ok && limits.max_body_bytes) {
    ok = curl::SetOption(h, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(*limits.max_body_bytes)) == CURLE_OK;
  }
  if (ok && has_body) {
    ok = curl::SetOption(h, CURLOPT_POSTFIELDS, state.post_data.data()) == CURLE_OK &&
         curl::SetOption(h, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(state.post_data.size())) == CURLE_OK;
  }
  if (ok && state.method == "HEAD") {
    ok = curl::SetOption(h, CURLOPT_NOBODY, 1L) == CURLE_OK;
  } else if (ok && (state.method != "GET" || has_body) && !(state.method == "POST" && has_body)) {
    // Data alone makes a POST; any other combination names its method, and a POST without data
    // then goes out without a body and without Content-Length, as the header block describes it.
    ok = curl::SetOption(h, CURLOPT_CUSTOMREQUEST, state.method.c_str()) == CURLE_OK;
  }
  if (!ok) return false;

  const CURLcode result = curl::Perform(h);
  // The header list must outlive the transfer only.
  curl::SetOption(h, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(nullptr));
  if (result == CURLE_OK) {
    state.error = TransferError::kNone;
  } else if (state.error == TransferError::kBodyTooLarge || result == CURLE_FILESIZE_EXCEEDED) {
    state.error = TransferError::kBodyTooLarge;
  } else if (result == CURLE_ABORTED_BY_CALLBACK) {
    state.error = TransferError::kCancelled;
  } else if (result == CURLE_OPERATION_TIMEDOUT) {
    state.error = TransferError::kTimedOut;
  } else {
    state.error = TransferError::kFailed;
  }
  if (state.error != TransferError::kNone) {
    state.body.clear();
    state.body.shrink_to_fit();
  }
  return state.error == TransferError::kNone;
}

std::optional<std::size_t> InternetRequest::Read(std::span<char> into) {
  State& state = *state_;
  if (state.error != TransferError::kNone) return std::nullopt;
  const std::size_t count = std::min(into.size(), state.body.size() - state.read_offset);
  std::copy_n(state.body.data() + state.read_offset, count, into.data());
  state.read_offset += count;
  return count;
}

std::optional<std::string> InternetRequest::QueryRawHeaders(std::size_t buffer_size) const {
  const State& state = *state_;
  if (!state.headers_complete || state.headers_too_large || state.headers.size() >= buffer_size) {
    return std::nullopt;
  }
  return state.headers;
}

TransferError InternetRequest::error() const {
  return state_->error;
}

}  // namespace velmora
