#include <arpa/inet.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "cookie_check.h"
#include "fuzz_support.h"
#include "net/cookie_store.h"
#include "net/http_client.h"

namespace {

using velmora::fuzz::Check;
using velmora::fuzz::Lower;

// A server on 127.0.0.1 that answers every request with the response of the current input and
// then closes the connection. Requests come one at a time.
class ResponseServer {
 public:
  ResponseServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      velmora::fuzz::Fail("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    std::thread([this] { Serve(); }).detach();  // lives as long as the process
  }

  int port() const { return port_; }

  void SetResponse(std::string response) {
    const std::lock_guard lock(mutex_);
    response_ = std::move(response);
  }

 private:
  void Serve() {
    while (true) {
      const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      std::string request;
      char chunk[4096];
      // The request has no body: it ends with its empty line.
      while (request.find("\r\n\r\n") == std::string::npos && Readable(client)) {
        const ssize_t got = ::recv(client, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        request.append(chunk, static_cast<std::size_t>(got));
      }
      std::string response;
      {
        const std::lock_guard lock(mutex_);
        response = response_;
      }
      std::string_view rest = response;
      while (!rest.empty()) {
        const ssize_t sent = ::send(client, rest.data(), rest.size(), MSG_NOSIGNAL);
        if (sent <= 0) break;
        rest.remove_prefix(static_cast<std::size_t>(sent));
      }
      ::shutdown(client, SHUT_WR);
      while (Readable(client) && ::recv(client, chunk, sizeof chunk, 0) > 0) {
      }
      ::close(client);
    }
  }

  static bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 2000) > 0;
  }

  int listener_ = -1;
  int port_ = 0;
  std::mutex mutex_;
  std::string response_;
};

ResponseServer& Server() {
  static ResponseServer* const server = new ResponseServer();
  return *server;
}

// Header lines the response may carry; none of them changes how the body is framed.
constexpr std::string_view kHeaderNames[] = {
    "Set-Cookie", "set-cookie", "SET-COOKIE: x", "Content-Type", "Server", "X-Note", "Location"};
constexpr int kStatuses[] = {200, 201, 301, 302, 401, 403, 404, 500, 503};

struct Response {
  std::string bytes;
  // For a well-formed response: its header part and its body.
  bool well_formed = false;
  std::string headers;
  std::string body;
};

Response MakeResponse(FuzzedDataProvider& input) {
  Response response;
  if (input.ConsumeIntegralInRange(0, 3) == 0) {
    response.bytes = input.ConsumeRemainingBytesAsString();
    return response;
  }
  response.well_formed = true;
  response.headers = "HTTP/1.1 " + std::to_string(input.PickValueInArray(kStatuses)) + " X\r\n";
  const int lines = input.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < lines; ++i) {
    std::string value = input.ConsumeRandomLengthString(96);
    std::erase_if(value, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
    response.headers += std::string(input.PickValueInArray(kHeaderNames)) + ": " + value + "\r\n";
  }
  response.headers += "\r\n";
  response.body = input.ConsumeRemainingBytesAsString();
  response.bytes = response.headers + response.body;
  return response;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const Response response = MakeResponse(input);
  ResponseServer& server = Server();
  server.SetResponse(response.bytes);
  velmora::ClearCookieStore();

  velmora::RequestBuffer buffer;
  buffer.url = "http://127.0.0.1:" + std::to_string(server.port()) + "/regsoft/msg.txt";
  buffer.limits.time_limit = std::chrono::seconds(3);
  if (velmora::PerformRequest(&buffer) != 1) return 0;  // only a stopped transfer gives 0
  Check(buffer.marker == velmora::kResponseMarker, "response without its marker");

  // The raw headers are the final response's status and header lines and the empty line, or
  // nothing when they did not fit.
  const std::string& headers = buffer.headers;
  if (!headers.empty()) {
    Check(headers.size() < 1024 && headers.size() >= 5 && Lower(headers.substr(0, 5)) == "http/" &&
              (headers.ends_with("\n\r\n") || headers.ends_with("\n\n")),
          "raw headers are not a header part", {headers, response.bytes});
  }
  if (response.well_formed) {
    Check(headers == (response.headers.size() < 1024 ? response.headers : ""),
          "raw headers differ from those sent", {headers, response.headers});
    Check(buffer.body == response.body, "body differs from the one sent",
          {buffer.body, response.body});
  }

  // Cookies stay with the host that set them, whatever domain the response names.
  for (const auto& cookie : velmora::fuzz::StoredCookies()) {
    std::string_view domain = cookie.host;
    if (domain.starts_with('.')) domain.remove_prefix(1);
    Check(domain == "127.0.0.1", "cookie stored for another host", {cookie.host, headers});
  }
  return 0;
}
