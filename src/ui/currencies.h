#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "net/exchange_rates.h"

namespace velmora {

// One row of the currency window: its code, the label beside its box ("美元(USD)") and how many
// of it make one euro.
struct CurrencyRow {
  std::string code;
  std::string label;
  double per_euro = 1.0;
};

// The Chinese name of a currency the bank lists or has listed; the code itself for any other.
std::string CurrencyName(std::string_view code);

// The rows for a set of rates: the euro and every currency of the rates, the most used first
// (人民币, 美元, 欧元, 港币, 日元, 英镑), then the others by their names in pinyin order, codes
// without a Chinese name last in code order.
std::vector<CurrencyRow> CurrencyRows(const ExchangeRates& rates);

}  // namespace velmora
