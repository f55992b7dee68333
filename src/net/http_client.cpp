#include "net/http_client.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

#include "net/cookie_store.h"
#include "net/url_parts.h"

namespace velmora {
namespace {

// Request workers still running (see TransfersInProgress).
std::atomic<int> running_transfers{0};

constexpr std::string_view kProtocolVersion = "HTTP/1.1";
constexpr std::string_view kDefaultAccept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
constexpr std::string_view kDefaultAcceptLanguage = "Accept-Language: zh-cn\r\n";
constexpr std::string_view kFormContentType = "Content-Type: application/x-www-form-urlencoded\r\n";
constexpr std::string_view kProxyListPrefix = "http=";
constexpr std::size_t kReadChunk = 512;
constexpr std::size_t kRawHeaderBuffer = 1024;
constexpr std::string_view kSetCookie = "Set-Cookie: ";
constexpr auto kEventSlice = std::chrono::milliseconds(10);
constexpr std::string_view kSecureScheme = "https://";
constexpr int kSecurePort = 443;

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSecureUrl(std::string_view url) {
  return url.size() >= kSecureScheme.size() &&
         std::equal(kSecureScheme.begin(), kSecureScheme.end(), url.begin(),
                    [](char a, char b) { return a == AsciiLower(b); });
}

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     [](char a, char b) { return AsciiLower(a) == AsciiLower(b); }) != text.end();
}

bool IsGiven(std::string_view text) {
  return text.find_first_not_of(' ') != text.npos;
}

// CR, LF, NUL, the other bytes below 0x20 and DEL. A URL, user name or password holding one
// could add header lines of its own to the request (the Referer line is built from the URL).
bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

std::string BuildHeaderBlock(std::string_view extra_headers, std::string_view url) {
  std::string block(extra_headers);
  // Without this, a caller's last line missing its CR LF would run into the first added line.
  if (!block.empty() && block.back() != '\n') block += "\r\n";
  if (!ContainsIgnoringCase(block, "Accept: ")) block += kDefaultAccept;
  if (!ContainsIgnoringCase(block, "Referer: ")) {
    block += "Referer: ";
    block += url;
    block += "\r\n";
  }
  if (!ContainsIgnoringCase(block, "Accept-Language: ")) block += kDefaultAcceptLanguage;
  return block;
}

void StoreCookies(std::string_view headers, std::string_view host) {
  if (!ContainsIgnoringCase(headers, kSetCookie)) return;
  const std::string url = "http://" + std::string(host);
  while (!headers.empty()) {
    const auto end = headers.find("\r\n");
    const std::string_view line = headers.substr(0, end);
    headers = end == std::string_view::npos ? std::string_view{} : headers.substr(end + 2);
    if (!ContainsIgnoringCase(line, kSetCookie)) continue;
    const std::string_view cookie = line.substr(std::min(kSetCookie.size(), line.size()));
    const auto equals = cookie.find('=');
    const std::string_view data =
        equals == std::string_view::npos ? std::string_view{} : cookie.substr(equals + 1);
    SetCookie(url, cookie.substr(0, equals), data);
  }
}

struct WorkerRelease {
  std::thread& worker;
  const std::shared_ptr<std::atomic<bool>>& abandoned;
  ~WorkerRelease() {
    if (worker.joinable()) {
      abandoned->store(true);
      worker.detach();
    }
  }
};

// What the caller and its worker share: the buffer, and whether the worker has finished.
struct Exchange {
  RequestBuffer buffer;
  std::mutex mutex;
  std::condition_variable finished_changed;
  bool finished = false;
};

}  // namespace

int PerformRequest(RequestBuffer* buffer) {
  if (buffer == nullptr || buffer->marker != kRequestMarker) return 0;
  buffer->error = TransferError::kNotSent;
  const RequestBuffer& request = *buffer;
  if (HasControlCharacter(request.url) || HasControlCharacter(request.user_name) ||
      HasControlCharacter(request.password) || HasControlCharacter(request.proxy)) {
    return 0;
  }

  // A secure URL is read as the plain one behind its scheme, with its own default port.
  const bool secure = IsSecureUrl(request.url);
  const std::string plain_url =
      secure ? "http://" + request.url.substr(kSecureScheme.size()) : request.url;
  const std::string host = UrlHost(plain_url, false);
  const std::string path = UrlPath(plain_url);
  const bool names_port = UrlHost(plain_url, true).find(':') != std::string::npos;
  const int port = secure && !names_port ? kSecurePort : UrlPort(plain_url);
  TransferError transfer_error = TransferError::kNone;
  std::string headers;
  std::string body;
  {
    const std::optional<InternetSession> session =
        IsGiven(request.proxy)
            ? InternetSession::Open(kUserAgent, InternetAccess::kProxy,
                                    std::string(kProxyListPrefix) + request.proxy)
            : InternetSession::Open(kUserAgent, InternetAccess::kDirect, {});
    if (!session) return 0;
    const std::optional<InternetConnection> connection = InternetConnection::Connect(
        *session, host, port,
        IsGiven(request.user_name) ? std::string_view(request.user_name) : std::string_view{},
        IsGiven(request.password) ? std::string_view(request.password) : std::string_view{},
        secure);
    if (!connection) return 0;
    const std::string method = AsciiUpper(request.method);
    std::optional<InternetRequest> http =
        InternetRequest::Open(*connection, method, path, kProtocolVersion, kRequestReload);
    if (!http) return 0;
    http->SetLimits(request.limits);

    std::string block = BuildHeaderBlock(request.extra_headers, request.url);
    if (method.empty() || method == "GET") {
      http->Send(block, {});
    } else if (method == "POST") {
      if (!request.form_data.empty()) {
        if (!ContainsIgnoringCase(block, "Content-Type: ")) block += kFormContentType;
        std::array<char, 24> digits{};
        const auto length_end =
            std::to_chars(digits.data(), digits.data() + digits.size(), request.form_data.size())
                .ptr;
        block += "Content-Length: ";
        block.append(digits.data(), length_end);
        block += "\r\n";
      }
      http->Send(block, request.form_data);
    } else {
      return 0;
    }

    std::array<char, kReadChunk> chunk{};
    while (true) {
      const std::optional<std::size_t> count = http->Read(chunk);
      if (!count) {
        // An unreachable server or a broken transfer reads as an empty body; a body over its
        // limit or a transfer stopped at the time-out is no response at all.
        const TransferError error = http->error();
        if (error == TransferError::kBodyTooLarge || error == TransferError::kTimedOut ||
            error == TransferError::kCancelled) {
          buffer->error = error;
          return 0;
        }
        transfer_error = error;
        break;
      }
      if (*count == 0) break;
      body.append(chunk.data(), *count);
    }
    headers = http->QueryRawHeaders(kRawHeaderBuffer).value_or(std::string());
  }

  buffer->marker = kResponseMarker;
  for (std::string* field : {&buffer->url, &buffer->method, &buffer->proxy, &buffer->user_name,
                             &buffer->password, &buffer->extra_headers, &buffer->form_data}) {
    field->clear();
  }
  buffer->headers = headers;
  buffer->body = std::move(body);
  buffer->error =
      transfer_error == TransferError::kNotSent ? TransferError::kFailed : transfer_error;
  StoreCookies(headers, host);
  return 1;
}

std::string FetchUrl(std::string_view url, const FetchOptions& options) {
  if (options.error != nullptr) *options.error = TransferError::kNotSent;
  if (HasControlCharacter(url)) return {};
  auto exchange = std::make_shared<Exchange>();
  RequestBuffer& buffer = exchange->buffer;
  buffer.url = url;
  buffer.method = options.method;
  buffer.proxy = options.proxy;
  buffer.user_name = options.user_name;
  buffer.password = options.password;
  buffer.extra_headers = options.extra_headers;
  buffer.form_data = options.form_data;

  // A time-out beyond a year is as good as none, and the deadline must not overflow.
  const std::chrono::milliseconds timeout =
      options.timeout > std::chrono::milliseconds::zero()
          ? std::min<std::chrono::milliseconds>(options.timeout, kLongestFetchTimeout)
          : kDefaultFetchTimeout;
  const auto abandoned = std::make_shared<std::atomic<bool>>(false);
  buffer.limits.time_limit = timeout;
  buffer.limits.max_body_bytes = options.max_body_bytes;
  buffer.limits.cancel = abandoned;
  if (options.response_headers != nullptr) options.response_headers->clear();

  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::thread worker;
  running_transfers.fetch_add(1);
  try {
    // The worker holds the exchange too, so it stays alive for a worker that outlasts the wait.
    worker = std::thread([exchange] {
      try {
        PerformRequest(&exchange->buffer);
      } catch (...) {
        // Out of memory for the body: no response, as for any failure.
      }
      {
        const std::lock_guard lock(exchange->mutex);
        exchange->finished = true;
      }
      exchange->finished_changed.notify_all();
      running_transfers.fetch_sub(1);
    });
  } catch (const std::system_error&) {
    running_transfers.fetch_sub(1);
    return {};
  }

  // However the wait ends (an exception from process_events included), a worker that is still
  // running is told to stop and left to finish on its own.
  const WorkerRelease release{worker, abandoned};
  std::unique_lock lock(exchange->mutex);
  const auto has_finished = [&exchange] { return exchange->finished; };
  bool finished = false;
  if (!options.process_events) {
    finished = exchange->finished_changed.wait_until(lock, deadline, has_finished);
  } else {
    // Events are processed between short waits; the time-out counts from the start however
    // many events arrive.
    while (true) {
      const auto slice_end = std::min(deadline, std::chrono::steady_clock::now() + kEventSlice);
      finished = exchange->finished_changed.wait_until(lock, slice_end, has_finished);
      if (finished || std::chrono::steady_clock::now() >= deadline) break;
      lock.unlock();
      options.process_events();
      lock.lock();
    }
  }
  lock.unlock();

  // Whatever an abandoned worker produces from now on never reaches this caller.
  if (!finished) {
    if (options.error != nullptr) *options.error = TransferError::kTimedOut;
    return {};
  }
  worker.join();
  if (options.error != nullptr) *options.error = buffer.error;
  if (buffer.marker != kResponseMarker) return {};
  if (options.response_headers != nullptr) *options.response_headers = buffer.headers;
  return std::move(buffer.body);
}

int TransfersInProgress() {
  return running_transfers.load();
}

void EndWithTransfersRunning(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}

}  // namespace velmora
