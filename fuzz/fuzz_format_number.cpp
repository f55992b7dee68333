#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "convert/format_number.h"
#include "fuzz_support.h"
#include "text/number_text.h"

namespace {

using velmora::fuzz::Check;

constexpr double kScientificFrom = 1e15;

std::string Show(double value) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The grouped text must have "," exactly between groups of three integer digits.
bool IsWellGrouped(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  std::string_view integer = text.substr(0, text.find('.'));
  const std::size_t first = std::min(integer.find(','), integer.size());
  if (first == 0 || first > 3) return false;
  integer.remove_prefix(first);
  for (; !integer.empty(); integer.remove_prefix(4)) {
    if (integer.size() < 4 || integer[0] != ',' ||
        integer.substr(1, 3).find(',') != std::string_view::npos) {
      return false;
    }
  }
  return true;
}

void CheckPositional(double value, int decimals, const std::string& text) {
  // -?digits[.digits]: no exponent, no leading zeros, no trailing zeros in the fraction, at most
  // `decimals` fraction digits, and no "-0".
  std::string_view rest = text;
  const bool negative = rest.starts_with('-');
  if (negative) rest.remove_prefix(1);
  const std::size_t point = rest.find('.');
  const std::string_view integer = rest.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view{} : rest.substr(point + 1);
  Check(!integer.empty() && std::all_of(integer.begin(), integer.end(), IsDigit) &&
            std::all_of(fraction.begin(), fraction.end(), IsDigit),
        "not positional notation", {text});
  Check(integer.size() == 1 || integer.front() != '0', "leading zero", {text});
  Check(point == std::string_view::npos || (!fraction.empty() && fraction.back() != '0'),
        "trailing zero in the fraction", {text});
  Check(static_cast<int>(fraction.size()) <= std::max(decimals, 0), "too many decimals", {text});
  Check(!(negative && text == "-0"), "negative zero", {text});

  // The text is the value rounded to `decimals` places: within half a unit of that place, with
  // room for the rounding of the double to its shortest decimal form and of the text back.
  const double parsed = velmora::TextToNumber(text);
  const long double unit = std::pow(10.0L, -decimals);
  const long double error = std::fabs(static_cast<long double>(parsed) - value);
  const double larger = std::max(std::fabs(value), std::fabs(parsed));
  const long double slack = std::nextafter(larger, INFINITY) - larger;
  // Values keep at most 15 significant digits before the decimals apply, so the 15th digit's
  // rounding may add to that of the decimals.
  const long double significant =
      value == 0 ? 0.0L
                 : std::pow(10.0L, std::floor(std::log10(std::fabs((long double)value))) - 14);
  Check(error <= (unit + significant) / 2 * (1 + 1e-15L) + slack,
        "not the value rounded to its decimals", {text, Show(value), std::to_string(decimals)});
}

void CheckScientific(double value, const std::string& text) {
  const std::size_t e = text.find("e+");
  Check(e != std::string::npos, "no exponent for a large magnitude", {text});
  std::size_t digits = 0;
  for (std::size_t i = 0; i < e; ++i) digits += IsDigit(text[i]) ? 1 : 0;
  Check(digits <= 15, "more than 15 significant digits", {text});
  const double parsed = velmora::TextToNumber(text);
  const long double relative = std::fabs((static_cast<long double>(parsed) - value) / value);
  Check(relative <= 5e-15L * (1 + 1e-12L) + 2.3e-16L, "scientific text far from the value",
        {text, Show(value)});
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  while (input.remaining_bytes() > sizeof(double)) {
    // Mostly ordinary decimals; now and then any int, which must be taken within bounds.
    const bool any_decimals = input.ConsumeIntegralInRange(0, 15) == 0;
    const int decimals =
        any_decimals ? input.ConsumeIntegral<int>() : input.ConsumeIntegralInRange(-5, 20);
    double value = 0;
    const std::vector<std::uint8_t> raw = input.ConsumeBytes<std::uint8_t>(sizeof value);
    if (raw.size() < sizeof value) break;
    std::memcpy(&value, raw.data(), sizeof value);

    const std::string plain = velmora::FormatNumber(value, decimals, false);
    const std::string grouped = velmora::FormatNumber(value, decimals, true);
    std::string ungrouped = grouped;
    std::erase(ungrouped, ',');
    Check(ungrouped == plain, "the separators changed more than the separators", {plain, grouped});
    Check(IsWellGrouped(grouped), "separators in the wrong places", {grouped});

    if (std::isnan(value)) {
      Check(plain == "NaN", "undefined value", {plain});
    } else if (std::isinf(value)) {
      Check(plain == (value > 0 ? "∞" : "-∞"), "infinite value", {plain});
    } else if (std::fabs(value) >= kScientificFrom) {
      CheckScientific(value, plain);
    } else if (!any_decimals) {
      CheckPositional(value, decimals, plain);
    } else {
      CheckPositional(value, std::clamp(decimals, -16, 20), plain);
    }
  }
  return 0;
}
