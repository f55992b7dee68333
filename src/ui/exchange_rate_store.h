#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/exchange_rates.h"
#include "settings/settings_file.h"

namespace velmora {

// Where the fetched rates live in the settings file: the rates' date, when they were fetched
// (seconds since 1970, UTC), the list of their currency codes and one item per code.
inline constexpr std::string_view kRatesSection = "汇率";
inline constexpr std::string_view kRatesDateKey = "日期";
inline constexpr std::string_view kRatesFetchedKey = "获取时间";
inline constexpr std::string_view kRatesCodesKey = "币种";
// Rates fetched longer ago than this are fetched again when the window opens.
inline constexpr std::int64_t kRatesMaxAgeSeconds = 24 * 60 * 60;

struct StoredRates {
  ExchangeRates rates;
  std::int64_t fetched_at = 0;
};

// The rates in the settings file. Items that are damaged (a code that is not three capital
// letters, a rate that is not a finite positive number) are left out; nothing when the date is
// not a date or no currency is left.
std::optional<StoredRates> LoadStoredRates(const SettingsFile& file);
std::optional<StoredRates> LoadStoredRates();

// Replaces the section with `rates` in one atomic write; a failed write leaves the old section.
SettingsWriteResult StoreRates(const SettingsFile& file, const ExchangeRates& rates,
                               std::int64_t fetched_at);
SettingsWriteResult StoreRates(const ExchangeRates& rates, std::int64_t fetched_at);

// Whether the window fetches when it opens: no stored rates, rates fetched more than a day
// before `now`, or a fetch time in the future (the clock was set back).
bool RatesNeedFetching(const std::optional<StoredRates>& stored, std::int64_t now);

// Seconds since 1970 (UTC) now.
std::int64_t SecondsNow();

}  // namespace velmora
