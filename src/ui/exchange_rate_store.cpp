#include "ui/exchange_rate_store.h"

#include <chrono>
#include <cmath>

#include "text/number_text.h"

namespace velmora {

std::optional<StoredRates> LoadStoredRates(const SettingsFile& file) {
  StoredRates stored;
  stored.rates.date = file.Read(kRatesSection, kRatesDateKey);
  if (!IsRatesDate(stored.rates.date)) return std::nullopt;
  const double fetched = TextToNumber(file.Read(kRatesSection, kRatesFetchedKey));
  // A damaged time reads as long ago, so that the rates are fetched again.
  stored.fetched_at =
      std::isfinite(fetched) && std::abs(fetched) < 1e15 ? static_cast<std::int64_t>(fetched) : 0;
  const std::string list = file.Read(kRatesSection, kRatesCodesKey);
  std::string_view codes = list;
  while (!codes.empty() && stored.rates.rates.size() < kMaxCurrencies) {
    const auto comma = codes.find(',');
    const std::string_view code = codes.substr(0, comma);
    codes = comma == std::string_view::npos ? std::string_view{} : codes.substr(comma + 1);
    if (!IsCurrencyCode(code) || code == "EUR") continue;
    bool repeated = false;
    for (const CurrencyRate& rate : stored.rates.rates) repeated = repeated || rate.code == code;
    if (repeated) continue;
    const std::optional<double> rate = ParseRate(file.Read(kRatesSection, code));
    if (rate) stored.rates.rates.push_back({std::string(code), *rate});
  }
  if (stored.rates.rates.empty()) return std::nullopt;
  return stored;
}

std::optional<StoredRates> LoadStoredRates() {
  return LoadStoredRates(SettingsFile(SettingsPath()));
}

SettingsWriteResult StoreRates(const SettingsFile& file, const ExchangeRates& rates,
                               std::int64_t fetched_at) {
  std::vector<SettingsItem> items;
  std::string codes;
  for (const CurrencyRate& rate : rates.rates) {
    if (!codes.empty()) codes += ',';
    codes += rate.code;
  }
  items.push_back({std::string(kRatesDateKey), rates.date});
  items.push_back({std::string(kRatesFetchedKey), NumberToText(static_cast<double>(fetched_at))});
  items.push_back({std::string(kRatesCodesKey), codes});
  for (const CurrencyRate& rate : rates.rates) {
    items.push_back({rate.code, NumberToText(rate.rate)});
  }
  return file.ReplaceSection(kRatesSection, items);
}

SettingsWriteResult StoreRates(const ExchangeRates& rates, std::int64_t fetched_at) {
  return StoreRates(SettingsFile(SettingsPath()), rates, fetched_at);
}

bool RatesNeedFetching(const std::optional<StoredRates>& stored, std::int64_t now) {
  if (!stored) return true;
  const std::int64_t age = now - stored->fetched_at;
  return age < 0 || age > kRatesMaxAgeSeconds;
}

std::int64_t SecondsNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace velmora
