#include "text/number_text.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace velmora {
namespace {

constexpr std::string_view kInfinity = "∞";
constexpr std::string_view kNotANumber = "NaN";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Caps the exponent; anything past +-99999 is far outside the range of a double either way.
constexpr long kExponentCap = 99999;

}  // namespace

double TextToNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::string_view rest = text.substr(i);
  if (rest.starts_with(kInfinity)) {
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
  }
  if (rest.starts_with(kNotANumber)) return std::numeric_limits<double>::quiet_NaN();

  // Mantissa: digits, at most one point, at least one digit in all.
  std::string mantissa;
  std::size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    mantissa.push_back(c);
  }
  if (digits == 0) return 0.0;

  // Exponent, only when at least one digit follows the "e" and its sign.
  long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool exponent_negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exponent_negative = text[j] == '-';
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        if (exponent < kExponentCap) exponent = exponent * 10 + (text[j] - '0');
      }
      if (exponent_negative) exponent = -exponent;
    }
  }

  std::string number = std::move(mantissa);
  if (exponent != 0) number.append("e").append(std::to_string(exponent));
  // strtod in the "C" locale rounds correctly and saturates to infinity or zero out of range.
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  const double value = strtod_l(number.c_str(), nullptr, c_locale);
  return negative ? -value : value;
}

std::string NumberToText(double value) {
  if (std::isnan(value)) return std::string(kNotANumber);
  if (std::isinf(value)) return std::string(value > 0 ? "" : "-").append(kInfinity);
  if (value == 0.0) return "0";  // also folds -0 into "0"
  // Fixed notation of a double needs at most ~330 characters (5e-324 or 1.8e308).
  char buffer[400];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (error != std::errc()) return "0";
  return std::string(buffer, end);
}

}  // namespace velmora
