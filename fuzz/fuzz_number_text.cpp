#include <fuzzer/FuzzedDataProvider.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "text/number_text.h"

namespace {

using velmora::fuzz::Check;

bool SameNumber(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || a == b;
}

std::string Show(double value) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

// The value of a text that starts (after blanks and a sign) with a digit or a point, read by the
// standard library's parser. Nothing when that parser cannot tell (a result out of range).
std::optional<double> ReferenceValue(std::string_view text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return std::nullopt;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  if (i == text.size() || !(text[i] == '.' || (text[i] >= '0' && text[i] <= '9'))) {
    return std::nullopt;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                            std::chars_format::general);
  if (error == std::errc::invalid_argument) return 0.0;
  if (error != std::errc()) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The conversions must not follow the process locale; a comma-decimal one shows if they do.
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The whole input as text, in a buffer of exactly its size so that any read beyond it shows.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double value = velmora::TextToNumber(text);
  if (const auto reference = ReferenceValue(text)) {
    Check(SameNumber(value, *reference), "text read differently from the standard parser",
          {text, Show(value), Show(*reference)});
  }
  // Whatever follows the number is ignored.
  std::string extended(text);
  extended += '#';
  Check(SameNumber(velmora::TextToNumber(extended), value),
        "a trailing character changed the value", {text});

  // Every double the bytes spell out survives NumberToText and TextToNumber exactly.
  FuzzedDataProvider input(data, size);
  while (input.remaining_bytes() >= sizeof(double)) {
    double x = 0;
    const std::vector<std::uint8_t> raw = input.ConsumeBytes<std::uint8_t>(sizeof x);
    std::memcpy(&x, raw.data(), sizeof x);
    const std::string written = velmora::NumberToText(x);
    const double read = velmora::TextToNumber(written);
    if (std::isfinite(x)) {
      Check(written.find_first_of("eE") == std::string::npos, "exponent in NumberToText",
            {written});
      Check(read == x, "NumberToText did not read back", {written, Show(x), Show(read)});
    } else {
      Check(SameNumber(read, x), "a non-finite value did not read back", {written});
    }
  }
  return 0;
}
