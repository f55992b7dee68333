#include "loopback_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <stdexcept>

namespace velmora::testing {
namespace {

using Clock = std::chrono::steady_clock;

int OpenLoopbackSocket(int& port, const char* ip = "127.0.0.1") {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  if (inet_pton(AF_INET, ip, &address.sin_addr) != 1) {
    close(fd);
    return -1;
  }
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

int MillisecondsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The Content-Length of a request's header part, 0 when it has none.
std::size_t ContentLength(std::string_view head) {
  constexpr std::string_view kName = "\r\ncontent-length:";
  std::string lowered(head);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(), Lower);
  const auto at = lowered.find(kName);
  if (at == std::string::npos) return 0;
  std::string_view rest = std::string_view(lowered).substr(at + kName.size());
  rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
  std::size_t length = 0;
  std::from_chars(rest.data(), rest.data() + rest.size(), length);
  return length;
}

}  // namespace

LoopbackConnection::Event LoopbackConnection::WaitUntil(Clock::time_point deadline,
                                                        bool for_writing) {
  while (true) {
    if (server_.Stopping()) return Event::kStopping;
    if (peer_closed_) return Event::kPeerClosed;
    pollfd fds[2] = {{fd_, static_cast<short>(for_writing ? POLLOUT : POLLIN), 0},
                     {server_.WakeFd(), POLLIN, 0}};
    const int ready = poll(fds, 2, MillisecondsUntil(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || fds[1].revents != 0) return Event::kStopping;
    if (ready == 0) return Event::kTimeout;
    if (for_writing) {
      if (fds[0].revents & (POLLERR | POLLHUP)) {
        NotePeerClosed();
        return Event::kPeerClosed;
      }
      return Event::kReadable;
    }
    char bytes[4096];
    const ssize_t got = recv(fd_, bytes, sizeof bytes, 0);
    if (got > 0) {
      pending_.append(bytes, static_cast<std::size_t>(got));
      return Event::kReadable;
    }
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    NotePeerClosed();
    return Event::kPeerClosed;
  }
}

void LoopbackConnection::NotePeerClosed() {
  if (peer_closed_) return;
  peer_closed_ = true;
  server_.RecordPeerClosed();
}

std::optional<std::string> LoopbackConnection::ReadRequest(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (true) {
    const auto head_end = pending_.find("\r\n\r\n");
    if (head_end != std::string::npos) {
      const std::size_t total = head_end + 4 + ContentLength(pending_.substr(0, head_end + 2));
      if (pending_.size() >= total) {
        std::string request = pending_.substr(0, total);
        pending_.erase(0, total);
        server_.Record(request);
        return request;
      }
    }
    if (WaitUntil(deadline, false) != Event::kReadable) return std::nullopt;
  }
}

std::string LoopbackConnection::ReadBytes(std::size_t count, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (pending_.size() < count && WaitUntil(deadline, false) == Event::kReadable) {
  }
  return pending_;
}

bool LoopbackConnection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    } else if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (WaitUntil(Clock::now() + std::chrono::seconds(10), true) != Event::kReadable) {
        return false;
      }
    } else {
      NotePeerClosed();
      return false;
    }
  }
  return true;
}

bool LoopbackConnection::Pause(std::chrono::milliseconds duration) {
  const auto deadline = Clock::now() + duration;
  while (true) {
    switch (WaitUntil(deadline, false)) {
      case Event::kTimeout:
        return true;
      case Event::kReadable:
        continue;
      default:
        return false;
    }
  }
}

bool LoopbackConnection::WaitForClose(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (true) {
    switch (WaitUntil(deadline, false)) {
      case Event::kPeerClosed:
        return true;
      case Event::kReadable:
        continue;
      default:
        return false;
    }
  }
}

LoopbackServer::LoopbackServer(Handler handler, std::string address)
    : handler_(std::move(handler)), address_(std::move(address)) {
  int pipe_fds[2];
  listen_fd_ = OpenLoopbackSocket(port_, address_.c_str());
  if (listen_fd_ < 0 || listen(listen_fd_, 16) != 0 ||
      pipe2(pipe_fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    if (listen_fd_ >= 0) close(listen_fd_);
    throw std::runtime_error("cannot open a loopback test server");
  }
  wake_read_ = pipe_fds[0];
  wake_write_ = pipe_fds[1];
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  const char wake = 1;
  [[maybe_unused]] const ssize_t ignored = write(wake_write_, &wake, 1);
  acceptor_.join();
  // The acceptor has ended, so no thread is added any more.
  for (std::thread& thread : connection_threads_) thread.join();
  close(listen_fd_);
  close(wake_read_);
  close(wake_write_);
}

void LoopbackServer::AcceptLoop() {
  while (!Stopping()) {
    pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {wake_read_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[1].revents != 0) return;
    if ((fds[0].revents & POLLIN) == 0) continue;
    const int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) continue;
    ++accepted_;
    const std::lock_guard lock(mutex_);
    connection_threads_.emplace_back([this, fd] {
      LoopbackConnection connection(*this, fd);
      handler_(connection);
      close(fd);
    });
  }
}

std::string LoopbackServer::Url(std::string_view path) const {
  return UrlFor(address_, path);
}

std::string LoopbackServer::UrlFor(std::string_view host, std::string_view path) const {
  return "http://" + std::string(host) + ":" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> LoopbackServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

int LoopbackServer::ConnectionCount() const {
  return accepted_.load();
}

std::vector<Clock::time_point> LoopbackServer::WaitForPeerCloses(
    std::size_t count, std::chrono::milliseconds limit) const {
  const auto deadline = Clock::now() + limit;
  while (true) {
    {
      const std::lock_guard lock(mutex_);
      if (peer_closes_.size() >= count || Clock::now() >= deadline) return peer_closes_;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string LoopbackServer::Response(std::string_view status, std::string_view headers,
                                     std::string_view body) {
  return "HTTP/1.1 " + std::string(status) + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n" + std::string(headers) + "\r\n" + std::string(body);
}

void LoopbackServer::Record(std::string request) {
  const std::lock_guard lock(mutex_);
  requests_.push_back(std::move(request));
}

void LoopbackServer::RecordPeerClosed() {
  const std::lock_guard lock(mutex_);
  peer_closes_.push_back(Clock::now());
}

int UnusedLoopbackPort() {
  int port = 0;
  const int fd = OpenLoopbackSocket(port);
  if (fd >= 0) close(fd);
  return port;
}

}  // namespace velmora::testing
