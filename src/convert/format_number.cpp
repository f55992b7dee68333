#include "convert/format_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace velmora {
namespace {

constexpr int kMinDecimals = -16;
constexpr int kMaxDecimals = 20;
constexpr double kScientificFrom = 1e15;

std::string Scientific(double magnitude) {
  // 15 significant digits, rounded. The largest doubles would round up past the largest double,
  // to a text that reads back as infinity; their first 15 digits of 17 are kept instead.
  char buffer[64];
  for (const int precision : {14, 16}) {
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                            std::chars_format::scientific, precision);
    if (error != std::errc()) return "0";
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    double back = 0;
    if (precision == 14 && std::from_chars(text.data(), text.data() + text.size(), back).ec ==
                               std::errc::result_out_of_range) {
      continue;
    }
    const std::size_t e = text.find('e');
    std::string_view mantissa = text.substr(0, std::min<std::size_t>(e, 16));  // "d." and 14
    while (mantissa.ends_with('0')) mantissa.remove_suffix(1);
    if (mantissa.ends_with('.')) mantissa.remove_suffix(1);
    return std::string(mantissa) + std::string(text.substr(e));
  }
  return "0";
}

std::string Grouped(const std::string& digits) {
  std::string result;
  result.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) result.push_back(',');
    result.push_back(digits[i]);
  }
  return result;
}

}  // namespace

std::string FormatNumber(double value, int decimals, bool group) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "∞" : "-∞";
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);
  if (magnitude >= kScientificFrom) return (negative ? "-" : "") + Scientific(magnitude);
  decimals = std::clamp(decimals, kMinDecimals, kMaxDecimals);

  // The shortest digits that read back to the double, and where its decimal point stands:
  // magnitude = 0.digits × 10^point.
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
  if (error != std::errc()) return "0";
  const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  const std::size_t e = text.find('e');
  std::string digits;
  for (const char c : text.substr(0, e)) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                  exponent);
  int point = exponent + 1;

  const int keep = point + decimals;
  if (keep < 0) {
    digits.clear();
  } else if (keep < static_cast<int>(digits.size())) {
    const bool round_up = digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    if (round_up) {
      int i = keep - 1;
      while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
        digits[static_cast<std::size_t>(i)] = '0';
        --i;
      }
      if (i < 0) {
        digits.insert(digits.begin(), '1');
        ++point;
      } else {
        ++digits[static_cast<std::size_t>(i)];
      }
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) return "0";

  const int size = static_cast<int>(digits.size());
  std::string integer = "0";
  if (point > 0) {
    integer = digits.substr(0, static_cast<std::size_t>(std::min(point, size)));
    integer.append(static_cast<std::size_t>(std::max(point - size, 0)), '0');
  }
  std::string fraction;
  if (point < size) {
    fraction.assign(static_cast<std::size_t>(std::max(-point, 0)), '0');
    fraction += digits.substr(static_cast<std::size_t>(std::max(point, 0)));
  }

  std::string result = negative ? "-" : "";
  result += group ? Grouped(integer) : integer;
  if (!fraction.empty()) result += "." + fraction;
  return result;
}

}  // namespace velmora
