#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace velmora::testing {

class LoopbackServer;

// One accepted connection, handed to the server's handler on a thread of its own.
class LoopbackConnection {
 public:
  // Reads the next request (headers, and a body of its Content-Length) and records its raw
  // bytes with the server. Nothing when the peer closes, the server stops or `limit` passes.
  std::optional<std::string> ReadRequest(std::chrono::milliseconds limit = std::chrono::seconds(5));
  // The raw bytes that arrived once at least `count` of them have (or the peer closed, the server
  // stopped or `limit` passed), not taken for a request: for a client that does not speak HTTP.
  std::string ReadBytes(std::size_t count,
                        std::chrono::milliseconds limit = std::chrono::seconds(5));
  // Sends all of `bytes`; false once the peer has gone or the server stops.
  bool Send(std::string_view bytes);
  // Waits for `duration`; false early when the peer closes or the server stops.
  bool Pause(std::chrono::milliseconds duration);
  // Waits until the peer closes (true) or the server stops or `limit` passes (false).
  bool WaitForClose(std::chrono::milliseconds limit = std::chrono::seconds(10));

 private:
  friend class LoopbackServer;
  enum class Event { kReadable, kTimeout, kPeerClosed, kStopping };
  LoopbackConnection(LoopbackServer& server, int fd) : server_(server), fd_(fd) {}
  Event WaitUntil(std::chrono::steady_clock::time_point deadline, bool for_writing);
  void NotePeerClosed();

  LoopbackServer& server_;
  int fd_;
  std::string pending_;
  bool peer_closed_ = false;
};

// An HTTP test server on a loopback address (127.0.0.1 unless given) and a free port, for the
// life of the object. Every accepted connection runs `handler` on its own thread; the destructor
// stops and joins them all.
class LoopbackServer {
 public:
  using Handler = std::function<void(LoopbackConnection&)>;
  explicit LoopbackServer(Handler handler, std::string address = "127.0.0.1");
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  // "http://<address>:<port>" followed by `path`.
  std::string Url(std::string_view path = "") const;
  // The same for another host name that leads here (such as "a.localhost").
  std::string UrlFor(std::string_view host, std::string_view path = "") const;
  // The raw bytes of every request read so far, in order of arrival.
  std::vector<std::string> Requests() const;
  // Connections accepted so far.
  int ConnectionCount() const;
  // When peers were seen to close their connections, waiting up to `limit` for `count` of them.
  std::vector<std::chrono::steady_clock::time_point> WaitForPeerCloses(
      std::size_t count, std::chrono::milliseconds limit) const;

  // A response with the given status line text, extra header lines (each ending in CR LF) and
  // body, with its Content-Length.
  static std::string Response(std::string_view status, std::string_view headers,
                              std::string_view body);

 private:
  friend class LoopbackConnection;
  void AcceptLoop();
  void Record(std::string request);
  void RecordPeerClosed();
  bool Stopping() const { return stopping_.load(); }
  int WakeFd() const { return wake_read_; }

  Handler handler_;
  std::string address_;
  int listen_fd_ = -1;
  int wake_read_ = -1;
  int wake_write_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<std::chrono::steady_clock::time_point> peer_closes_;
  std::vector<std::thread> connection_threads_;
  std::thread acceptor_;
};

// A port on 127.0.0.1 that nothing listens on (it was free a moment ago).
int UnusedLoopbackPort();

}  // namespace velmora::testing
