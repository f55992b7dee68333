#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "net/exchange_rates.h"

// Any body, as it stands and inside a dated Cube: the reader gives rates exactly when it names
// no problem; the rates have a calendar date, at least one and at most kMaxCurrencies entries,
// each a distinct code of three capital letters other than EUR with a finite positive rate that
// ParseRate reads back from the same text; every code occurs in the body.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string wrapped = "<Cube time='2026-12-10'>" + std::string(input) + "</Cube>";
  for (const std::string_view body : {input, std::string_view(wrapped)}) {
    const velmora::RatesParse parse = velmora::ParseRates(body);
    if (parse.rates.has_value() != (parse.problem == velmora::RatesProblem::kNone)) {
      __builtin_trap();
    }
    if (!parse.rates) continue;
    if (!velmora::IsRatesDate(parse.rates->date)) __builtin_trap();
    const auto& rates = parse.rates->rates;
    if (rates.empty() || rates.size() > velmora::kMaxCurrencies) __builtin_trap();
    std::set<std::string> codes;
    for (const velmora::CurrencyRate& rate : rates) {
      if (!velmora::IsCurrencyCode(rate.code) || rate.code == "EUR") __builtin_trap();
      if (!codes.insert(rate.code).second) __builtin_trap();
      if (!std::isfinite(rate.rate) || !(rate.rate > 0)) __builtin_trap();
      if (body.find(rate.code) == std::string_view::npos) __builtin_trap();
    }
  }
  return 0;
}
