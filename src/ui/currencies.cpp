#include "ui/currencies.h"

#include <algorithm>
#include <iterator>

namespace velmora {
namespace {

struct KnownCurrency {
  std::string_view code;
  std::string_view name;
};

// The most used currencies in their order, then every other currency the bank lists or has
// listed, ordered by the pinyin of its name.
// clang-format off
constexpr KnownCurrency kKnownCurrencies[] = {
  {"CNY", "人民币"},         {"USD", "美元"},           {"EUR", "欧元"},
  {"HKD", "港币"},           {"JPY", "日元"},           {"GBP", "英镑"},
  {"EEK", "爱沙尼亚克朗"},   {"AUD", "澳大利亚元"},     {"BRL", "巴西雷亚尔"},
  {"BGN", "保加利亚列弗"},   {"ISK", "冰岛克朗"},       {"PLN", "波兰兹罗提"},
  {"DKK", "丹麦克朗"},       {"RUB", "俄罗斯卢布"},     {"PHP", "菲律宾比索"},
  {"KRW", "韩元"},           {"CAD", "加拿大元"},       {"CZK", "捷克克朗"},
  {"HRK", "克罗地亚库纳"},   {"LVL", "拉脱维亚拉特"},   {"LTL", "立陶宛立特"},
  {"RON", "罗马尼亚列伊"},   {"MTL", "马耳他里拉"},     {"MYR", "马来西亚林吉特"},
  {"MXN", "墨西哥比索"},     {"ZAR", "南非兰特"},       {"NOK", "挪威克朗"},
  {"SEK", "瑞典克朗"},       {"CHF", "瑞士法郎"},       {"CYP", "塞浦路斯镑"},
  {"SKK", "斯洛伐克克朗"},   {"SIT", "斯洛文尼亚托拉尔"}, {"THB", "泰铢"},
  {"TRY", "土耳其里拉"},     {"SGD", "新加坡元"},       {"NZD", "新西兰元"},
  {"HUF", "匈牙利福林"},     {"ILS", "以色列新谢克尔"}, {"INR", "印度卢比"},
  {"IDR", "印尼盾"},
};
// clang-format on

constexpr std::size_t kKnownCount = std::size(kKnownCurrencies);

std::size_t RankOf(std::string_view code) {
  for (std::size_t i = 0; i < kKnownCount; ++i) {
    if (kKnownCurrencies[i].code == code) return i;
  }
  return kKnownCount;
}

}  // namespace

std::string CurrencyName(std::string_view code) {
  const std::size_t rank = RankOf(code);
  return std::string(rank < kKnownCount ? kKnownCurrencies[rank].name : code);
}

std::vector<CurrencyRow> CurrencyRows(const ExchangeRates& rates) {
  std::vector<CurrencyRate> all = rates.rates;
  all.push_back({"EUR", 1.0});
  std::stable_sort(all.begin(), all.end(), [](const CurrencyRate& a, const CurrencyRate& b) {
    const std::size_t rank_a = RankOf(a.code);
    const std::size_t rank_b = RankOf(b.code);
    if (rank_a != rank_b) return rank_a < rank_b;
    return a.code < b.code;
  });
  std::vector<CurrencyRow> rows;
  rows.reserve(all.size());
  for (const CurrencyRate& rate : all) {
    // A code without a Chinese name is its own label.
    std::string label = RankOf(rate.code) < kKnownCount
                            ? CurrencyName(rate.code) + "(" + rate.code + ")"
                            : rate.code;
    rows.push_back({rate.code, std::move(label), rate.rate});
  }
  return rows;
}

}  // namespace velmora
