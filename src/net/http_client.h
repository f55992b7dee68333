#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "net/internet.h"

namespace velmora {

inline constexpr std::string_view kRequestMarker = "Pellwick";
inline constexpr std::string_view kResponseMarker = "Pellwick_OK";
inline constexpr std::string_view kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
inline constexpr std::chrono::seconds kDefaultFetchTimeout{90};
// Longer time-outs are cut to this.
inline constexpr std::chrono::hours kLongestFetchTimeout{24 * 365};

// The record through which a caller hands a request to its worker and gets the response back.
// The marker tells which of the two it holds: the worker replaces the request by the response.
// Texts are bytes (code page 936); an empty text is a value not given, and so is a proxy, user
// name or password made only of spaces.
struct RequestBuffer {
  std::string marker{kRequestMarker};

  // The request, while the marker is kRequestMarker.
  std::string url;
  std::string method;
  std::string proxy;  // host:port
  std::string user_name;
  std::string password;
  std::string extra_headers;  // header lines, each ending in CR LF
  std::string form_data;

  // The response, once the marker is kResponseMarker.
  std::string headers;  // raw headers, empty when they did not fit in 1,024 bytes
  std::string body;

  // Bounds on the worker's transfer; they do not change the meaning of the request.
  TransferLimits limits;
  // How the worker's transfer ended: kNone for a complete response, kFailed for a server that
  // could not be reached or broke off (a response with an empty body), the reason otherwise.
  TransferError error = TransferError::kNotSent;
};

// Performs the request held in `buffer` and, when it could be carried out, writes the response
// into it and returns 1. Returns 0 and leaves the buffer as it is (but for `error`) when there is
// no buffer, it holds no request, the method is neither GET nor POST (nothing is sent then), a
// handle cannot be opened, the URL, user name, password or proxy holds a control character (nothing
// is sent then), the body grew beyond the limit, or the transfer was cancelled or ran out of time.
// An unreachable server or a lost connection is a response with an empty body; an HTTP error status
// is a response like any other. Cookies set by the response are kept in the process's cookie store
// for its host.
int PerformRequest(RequestBuffer* buffer);

struct FetchOptions {
  std::string method;  // GET when empty; POST; anything else fails without a request
  std::string proxy;
  std::string user_name;
  std::string password;
  std::string extra_headers;
  std::string form_data;
  // How long the caller waits; zero or less means kDefaultFetchTimeout, more than
  // kLongestFetchTimeout means kLongestFetchTimeout.
  std::chrono::milliseconds timeout{0};
  // Receives the raw headers of a successful request, or empty text.
  std::string* response_headers = nullptr;
  // Receives how the transfer ended: kNone when a complete response arrived, kFailed when the
  // server could not be reached or broke off, kTimedOut at the time-out, kBodyTooLarge, or
  // kNotSent for a request that was refused before anything was sent.
  TransferError* error = nullptr;
  // A body longer than this makes the fetch fail; no limit when not given.
  std::optional<std::size_t> max_body_bytes;
  // Called on the calling thread, about every 10 ms while it waits, so that a thread that owns
  // windows can process its events (for Qt: QCoreApplication::processEvents). An exception from
  // it ends the wait and reaches the caller of FetchUrl; the worker is told to stop.
  std::function<void()> process_events;
};

// Runs the request on a worker thread of its own and waits for it at most `timeout` in all. A URL
// that starts with "https://" (any case) is fetched over TLS, port 443 unless it names one, with
// the server's certificate checked; every other URL is plain HTTP as UrlHost reads it.
// Returns the response body, or empty bytes on any failure or at the time-out; a URL with a
// control character (CR, LF, NUL, any byte below 0x20, DEL) fails at once. A worker left
// behind at the time-out is told to stop, stops soon after, and its result is thrown away.
std::string FetchUrl(std::string_view url, const FetchOptions& options = {});

// How many request workers are still running, abandoned ones included. While one is inside
// libcurl, the process must not end through the libraries' exit handlers: OpenSSL's frees the
// state a running transfer (or its first initialisation) uses. A process that ends with workers
// still running ends with EndWithTransfersRunning instead.
int TransfersInProgress();

// Flushes the standard streams and ends the process at once with `status`, without running
// exit handlers.
[[noreturn]] void EndWithTransfersRunning(int status);

}  // namespace velmora
