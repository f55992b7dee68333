#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// A small internet API in the shape of the Windows one (a root session, a connection to a host, a
// request on it), carried out by libcurl. Handles are move-only values; destroying one closes it.
// Plain HTTP and HTTP over TLS are spoken, requests go only to the host (or proxy) given, redirects
// are not followed, and no proxy or other setting is taken from the environment.
namespace velmora {

enum class InternetAccess { kDirect, kProxy };

// The root handle: the user agent of every request and how requests reach their hosts.
class InternetSession {
 public:
  // `proxy_list` (used with kProxy) is a list of "scheme=host:port" or "host:port" entries
  // separated by blanks or ";"; the entry for "http" or the one without a scheme is used. Fails
  // when no entry names a usable proxy or libcurl is not available.
  static std::optional<InternetSession> Open(std::string_view user_agent, InternetAccess access,
                                             std::string_view proxy_list);

  const std::string& user_agent() const { return user_agent_; }
  // The proxy as libcurl takes it ("http://host:port"), or empty for a direct connection.
  const std::string& proxy() const { return proxy_; }

 private:
  InternetSession(std::string user_agent, std::string proxy)
      : user_agent_(std::move(user_agent)), proxy_(std::move(proxy)) {}
  std::string user_agent_;
  std::string proxy_;
};

// A connection to one HTTP server, plain or over TLS (`secure`, with the server's certificate
// and name checked). Nothing goes on the wire until a request is sent.
class InternetConnection {
 public:
  // Port 0 stands for the default port, 80 or 443 when secure. Fails for a host that is not a
  // plain name or IPv4 address and for a port beyond 65535. An empty user name sends no
  // credentials; otherwise they are offered (Basic or Digest) when the server asks for them.
  static std::optional<InternetConnection> Connect(const InternetSession& session,
                                                   std::string_view host, int port,
                                                   std::string_view user_name,
                                                   std::string_view password, bool secure = false);

  const InternetSession& session() const { return session_; }
  const std::string& host() const { return host_; }
  int port() const { return port_; }
  const std::string& user_name() const { return user_name_; }
  const std::string& password() const { return password_; }
  bool secure() const { return secure_; }

 private:
  InternetConnection(InternetSession session, std::string host, int port, std::string user_name,
                     std::string password, bool secure)
      : session_(std::move(session)),
        host_(std::move(host)),
        port_(port),
        user_name_(std::move(user_name)),
        password_(std::move(password)),
        secure_(secure) {}
  InternetSession session_;
  std::string host_;
  int port_;
  std::string user_name_;
  std::string password_;
  bool secure_;
};

// Bounds on one transfer. The request stops soon (within about a second) after `cancel` becomes
// true, and at `time_limit` at the latest.
struct TransferLimits {
  std::chrono::milliseconds time_limit{0};  // 0: no limit
  std::optional<std::size_t> max_body_bytes;
  std::shared_ptr<const std::atomic<bool>> cancel;
};

enum class TransferError {
  kNone,
  kNotSent,       // Send was not called, was called twice, or refused its header block
  kFailed,        // no complete response: unreachable server, lost connection, time limit, ...
  kBodyTooLarge,  // the body grew beyond `max_body_bytes`
  kTimedOut,      // the time limit passed
  kCancelled,
};

// Always fetch from the server; this layer keeps no cache, so it is the only behaviour there is.
inline constexpr unsigned kRequestReload = 0x1;

class InternetRequest {
 public:
  // An empty method means GET; a method that is not an HTTP token fails, as does a path that does
  // not start with "/" or a version other than "HTTP/1.1" or "HTTP/1.0" (empty means 1.1).
  static std::optional<InternetRequest> Open(const InternetConnection& connection,
                                             std::string_view method, std::string_view path,
                                             std::string_view version, unsigned flags);
  InternetRequest(InternetRequest&&) noexcept;
  InternetRequest& operator=(InternetRequest&&) noexcept;
  ~InternetRequest();

  void SetLimits(TransferLimits limits);

  // Sends the request with the lines of `header_block` (CR LF separated) as its headers, after
  // the Host and User-Agent lines, and `data` as its body, and receives the whole response. The
  // header lines go on the wire as given; no other header is added except Cookie for stored
  // cookies and Authorization when the server asks for credentials. Returns true when a complete
  // response arrived. A header line holding a control character fails without a request.
  bool Send(std::string_view header_block, std::string_view data);

  // Copies the next bytes of the response body into `into`: 0 at its end, nothing when the
  // transfer failed (see error()).
  std::optional<std::size_t> Read(std::span<char> into);

  // The status line and header lines of the final response, each ending in CR LF, followed by
  // an empty line; nothing when they do not fit a buffer of `buffer_size` bytes together with a
  // terminating zero, or when no complete header part arrived.
  std::optional<std::string> QueryRawHeaders(std::size_t buffer_size) const;

  TransferError error() const;

 private:
  struct State;
  explicit InternetRequest(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace velmora
