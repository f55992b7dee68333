#include "convert/format_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {
namespace {

constexpr int kMinDecimals = -16;
constexpr int kMaxDecimals = 20;
// A double carries 15 significant decimal digits reliably; the 16th and 17th of its shortest
// form are mostly the noise of the arithmetic (31535999999.999992 for 365 days in ms).
constexpr int kSignificantDigits = 15;
// Integer parts of more digits than this are written in scientific form.
constexpr int kLargestPlainPoint = 15;
// Significant digits show in positional notation for decimal exponents -4 to 14, as point
// places -3 to 15.
constexpr int kSmallestSignificantPoint = -3;

// A decimal number as digits without leading zeros and the place of its point:
// value = 0.digits × 10^point.
struct Decimal {
  std::string digits;
  int point = 0;
};

// The shortest digits that read back to the double.
Decimal ShortestDigits(double magnitude) {
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
  if (error != std::errc()) return {};
  const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  const std::size_t e = text.find('e');
  Decimal result;
  for (const char c : text.substr(0, e)) {
    if (c != '.') result.digits.push_back(c);
  }
  int exponent = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                  exponent);
  result.point = exponent + 1;
  return result;
}

// Keeps the first `keep` digits, rounding exact halves of the decimal form away from zero, and
// drops trailing zeros. No digits left means zero.
void RoundTo(Decimal& number, int keep) {
  std::string& digits = number.digits;
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
        ++number.point;
      } else {
        ++digits[static_cast<std::size_t>(i)];
      }
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

std::string Scientific(const Decimal& number) {
  std::string result(1, number.digits.front());
  if (number.digits.size() > 1) {
    result.push_back('.');
    result.append(number.digits, 1);
  }
  const int exponent = number.point - 1;
  result.append(exponent < 0 ? "e-" : "e+");
  const std::string power = std::to_string(exponent < 0 ? -exponent : exponent);
  if (power.size() < 2) result.push_back('0');
  result.append(power);
  return result;
}

// `text` behind the sign of a negative value.
std::string Signed(bool negative, const std::string& text) {
  std::string result;
  result.reserve(text.size() + 1);
  if (negative) result.push_back('-');
  result.append(text);
  return result;
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

std::string Positional(const Decimal& number, bool group) {
  const std::string& digits = number.digits;
  const int point = number.point;
  const int size = static_cast<int>(digits.size());
  std::string integer = "0";
  if (point > 0) {
    integer = digits.substr(0, static_cast<std::size_t>(std::min(point, size)));
    integer.append(static_cast<std::size_t>(std::max(point - size, 0)), '0');
  }
  std::string result = group ? Grouped(integer) : integer;
  if (point < size) {
    result.push_back('.');
    result.append(static_cast<std::size_t>(std::max(-point, 0)), '0');
    result.append(digits, static_cast<std::size_t>(std::max(point, 0)));
  }
  return result;
}

// The value to `digits` significant digits, or nothing for zero and non-finite values.
std::optional<Decimal> SignificantDigits(double value, int digits) {
  if (!std::isfinite(value)) return std::nullopt;
  Decimal number = ShortestDigits(std::fabs(value));
  RoundTo(number, kSignificantDigits);
  RoundTo(number, std::clamp(digits, 1, kSignificantDigits));
  if (number.digits.empty()) return std::nullopt;
  return number;
}

std::string SignificantText(const Decimal& number, bool group) {
  if (number.point < kSmallestSignificantPoint || number.point > kLargestPlainPoint) {
    return Scientific(number);
  }
  return Positional(number, group);
}

std::string NonFinite(double value) {
  if (std::isnan(value)) return "NaN";
  return value > 0 ? "∞" : "-∞";
}

}  // namespace

std::string FormatNumber(double value, int decimals, bool group) {
  if (!std::isfinite(value)) return NonFinite(value);
  const bool negative = std::signbit(value);
  const Decimal exact = ShortestDigits(std::fabs(value));
  Decimal number = exact;
  RoundTo(number, kSignificantDigits);
  if (number.digits.empty()) return "0";
  if (number.point > kLargestPlainPoint) {
    std::string text = Scientific(number);
    double back = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), back).ec ==
        std::errc::result_out_of_range) {
      // The largest doubles would round up past the largest double, to a text that reads back
      // as infinity; their first 15 digits are kept unrounded instead.
      Decimal cut = exact;
      cut.digits.resize(std::min<std::size_t>(cut.digits.size(), kSignificantDigits));
      while (!cut.digits.empty() && cut.digits.back() == '0') cut.digits.pop_back();
      text = Scientific(cut);
    }
    return Signed(negative, text);
  }
  RoundTo(number, number.point + std::clamp(decimals, kMinDecimals, kMaxDecimals));
  if (number.digits.empty()) return "0";
  return Signed(negative, Positional(number, group));
}

std::string FormatNumberToFit(double value, int decimals, bool group,
                              const std::function<bool(const std::string&)>& fits) {
  std::string text = FormatNumber(value, decimals, group);
  if (fits(text) || !std::isfinite(value)) return text;
  const bool negative = std::signbit(value);
  Decimal number = ShortestDigits(std::fabs(value));
  RoundTo(number, kSignificantDigits);
  // Fewer places keep the integer part whole, so the value reads the same to a coarser step;
  // a value below 1 would lose its only digits, and goes to scientific form instead.
  if (number.point > 0 && number.point <= kLargestPlainPoint) {
    for (int places = std::min(decimals, kMaxDecimals) - 1; places >= 0; --places) {
      Decimal fewer = number;
      RoundTo(fewer, fewer.point + places);
      const std::string shorter = Signed(negative, Positional(fewer, group));
      if (fits(shorter)) return shorter;
    }
  }
  // No more significant digits than the full text showed.
  int most = kSignificantDigits - 1;
  if (number.point <= kLargestPlainPoint) {
    Decimal rounded = number;
    RoundTo(rounded, rounded.point + std::clamp(decimals, kMinDecimals, kMaxDecimals));
    most = std::max(static_cast<int>(rounded.digits.size()), 1);
  }
  for (int digits = most; digits >= 1; --digits) {
    Decimal fewer = number;
    RoundTo(fewer, digits);
    if (fewer.digits.empty()) break;
    const std::string shorter = Signed(negative, Scientific(fewer));
    if (fits(shorter)) return shorter;
  }
  return text;
}

std::string FormatSignificant(double value, int digits, bool group) {
  if (!std::isfinite(value)) return NonFinite(value);
  const std::optional<Decimal> number = SignificantDigits(value, digits);
  if (!number) return "0";
  return Signed(std::signbit(value), SignificantText(*number, group));
}

std::string FormatSignificantToFit(double value, int digits, bool group,
                                   const std::function<bool(const std::string&)>& fits) {
  std::string text = FormatSignificant(value, digits, group);
  if (fits(text) || !std::isfinite(value)) return text;
  const bool negative = std::signbit(value);
  const int most = std::clamp(digits, 1, kSignificantDigits);
  for (int fewer = most - 1; fewer >= 1; --fewer) {
    const std::optional<Decimal> number = SignificantDigits(value, fewer);
    if (!number) break;
    const std::string shorter = Signed(negative, SignificantText(*number, group));
    if (fits(shorter)) return shorter;
  }
  // Long integer parts keep all their places in positional notation; the exponent form is shorter.
  for (int fewer = most; fewer >= 1; --fewer) {
    const std::optional<Decimal> number = SignificantDigits(value, fewer);
    if (!number) break;
    const std::string shorter = Signed(negative, Scientific(*number));
    if (fits(shorter)) return shorter;
  }
  return text;
}

std::string FormatResult(double value, const ResultFormat& format) {
  return format.significant ? FormatSignificant(value, format.precision, format.group)
                            : FormatNumber(value, format.precision, format.group);
}

std::string FormatResultToFit(double value, const ResultFormat& format,
                              const std::function<bool(const std::string&)>& fits) {
  return format.significant ? FormatSignificantToFit(value, format.precision, format.group, fits)
                            : FormatNumberToFit(value, format.precision, format.group, fits);
}

}  // namespace velmora

namespace velmora {

std::string FormatShortNumber(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0.0) return "0";
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::general, kSignificantDigits);
  if (error != std::errc()) return "nan";
  return std::string(buffer, end);
}

}  // namespace velmora
