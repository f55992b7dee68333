#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One currency of a reference rates file: its ISO code and how many of it make one euro.
struct CurrencyRate {
  std::string code;
  double rate = 0.0;
  friend bool operator==(const CurrencyRate&, const CurrencyRate&) = default;
};

// The euro reference rates of one day ("YYYY-MM-DD"), in the order of the file. The euro itself
// is not among them.
struct ExchangeRates {
  std::string date;
  std::vector<CurrencyRate> rates;
  friend bool operator==(const ExchangeRates&, const ExchangeRates&) = default;
};

// A rates body longer than this is no rates file; the fetch stops reading there.
inline constexpr std::size_t kRatesBodyLimit = 1024 * 1024;
// More currencies than this is no reference rates file (the bank lists about thirty).
inline constexpr std::size_t kMaxCurrencies = 200;
inline constexpr std::chrono::seconds kRatesFetchTimeout{30};

// Why a rates body or fetch gave no rates.
enum class RatesProblem {
  kNone,
  kNotRatesFile,  // not the bank's XML: no dated Cube, a broken tag, no entries, a bad date
  kBadRate,       // a rate that is not a finite positive decimal number
  kBadCode,       // a currency code that is not three capital letters, the euro, or a repeat
  kTooLarge,      // a body over kRatesBodyLimit
  kHttpStatus,    // the server answered with a status other than 2xx
  kTimedOut,
  kNoAnswer,     // no server, a refused or broken connection
  kFetchingOff,  // no address to fetch from
};

struct RatesParse {
  std::optional<ExchangeRates> rates;
  RatesProblem problem = RatesProblem::kNone;
};

// Reads a body in the daily reference rates format of the European Central Bank:
//   <Cube time='2026-12-10'> <Cube currency='USD' rate='1.0492'/> ... </Cube>
// inside any envelope, attributes in single or double quotes. Only the first dated Cube counts.
// Every entry must have a code of three capital letters (not EUR, none twice) and a rate written
// as a plain decimal number (digits, one point, an optional exponent) that is finite and above
// zero; one bad entry rejects the whole body. Gives the rates or the problem, never both.
RatesParse ParseRates(std::string_view body);

// Whether `text` is a calendar date written YYYY-MM-DD.
bool IsRatesDate(std::string_view text);
// Whether `code` is three capital ASCII letters.
bool IsCurrencyCode(std::string_view code);
// The rate written in `text` when it is a plain decimal number, finite and above zero.
std::optional<double> ParseRate(std::string_view text);

// The environment variable that names the rates address at run time. When it is set, even to
// nothing, it replaces the address the program was built with; empty turns fetching off.
inline constexpr const char* kRatesUrlVariable = "VELMORA_RATES_URL";
// The rates address for this run: the environment's, else the built-in one.
std::string RatesAddress();

struct RatesFetch {
  std::optional<ExchangeRates> rates;
  RatesProblem problem = RatesProblem::kNone;
  int http_status = 0;  // the status of the answer, 0 when none came
};

// Fetches and reads the rates at `address` (http:// or https://) with the program's HTTP
// client, a GET of at most kRatesBodyLimit bytes that gives up after `timeout`. Blocks its
// thread for as long as that takes; safe on any thread.
RatesFetch FetchRates(std::string_view address,
                      std::chrono::milliseconds timeout = kRatesFetchTimeout);

}  // namespace velmora
