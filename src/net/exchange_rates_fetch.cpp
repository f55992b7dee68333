#include <cstdlib>

#include "net/exchange_rates.h"
#include "net/http_client.h"

#ifndef VELMORA_RATES_URL
#define VELMORA_RATES_URL ""
#endif

namespace velmora {
namespace {

// The status code of the first line of raw response headers ("HTTP/1.1 404 Not Found"); 0 when
// there is none to read.
int StatusOf(std::string_view headers) {
  const auto line_end = headers.find("\r\n");
  const std::string_view line = headers.substr(0, line_end);
  const auto space = line.find(' ');
  if (!line.starts_with("HTTP/") || space == std::string_view::npos) return 0;
  const std::string_view code = line.substr(space + 1, 3);
  if (code.size() != 3) return 0;
  int status = 0;
  for (const char c : code) {
    if (c < '0' || c > '9') return 0;
    status = status * 10 + (c - '0');
  }
  return status;
}

}  // namespace

std::string RatesAddress() {
  if (const char* address = std::getenv(kRatesUrlVariable)) return address;
  return VELMORA_RATES_URL;
}

RatesFetch FetchRates(std::string_view address, std::chrono::milliseconds timeout) {
  RatesFetch result;
  if (address.empty()) {
    result.problem = RatesProblem::kFetchingOff;
    return result;
  }
  std::string headers;
  TransferError error = TransferError::kNotSent;
  FetchOptions options;
  options.timeout = timeout;
  options.max_body_bytes = kRatesBodyLimit;
  options.response_headers = &headers;
  options.error = &error;
  const std::string body = FetchUrl(address, options);
  switch (error) {
    case TransferError::kNone:
      break;
    case TransferError::kTimedOut:
      result.problem = RatesProblem::kTimedOut;
      return result;
    case TransferError::kBodyTooLarge:
      result.problem = RatesProblem::kTooLarge;
      return result;
    case TransferError::kNotSent:
    case TransferError::kFailed:
    case TransferError::kCancelled:
      result.problem = RatesProblem::kNoAnswer;
      return result;
  }
  // Headers too long for the client's buffer come as empty text; the body then speaks for
  // itself.
  result.http_status = StatusOf(headers);
  if (result.http_status != 0 && (result.http_status < 200 || result.http_status > 299)) {
    result.problem = RatesProblem::kHttpStatus;
    return result;
  }
  RatesParse parse = ParseRates(body);
  result.rates = std::move(parse.rates);
  result.problem = parse.problem;
  return result;
}

}  // namespace velmora
