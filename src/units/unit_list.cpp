#include "units/unit_list.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "text/number_text.h"
#include "text/utf8.h"
#include "units/category.h"

namespace velmora {
namespace {

constexpr std::string_view kFullWidthComma = "，";

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += IsContinuationByte(c) ? 0 : 1;
  return count;
}

// "1.5e-05" -> "1.5e-5", "1.000e+20" -> "1e20": no zeros that carry nothing, no plus sign.
std::string TidyExponentForm(std::string_view text) {
  const std::size_t e = text.find('e');
  std::string mantissa(text.substr(0, e));
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  if (e == std::string_view::npos) return mantissa;
  std::string_view exponent = text.substr(e + 1);
  const bool negative = exponent.starts_with('-');
  if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.remove_prefix(1);
  while (exponent.size() > 1 && exponent[0] == '0') exponent.remove_prefix(1);
  return mantissa + "e" + (negative ? "-" : "") + std::string(exponent);
}

std::string ExponentForm(double value, std::optional<int> precision) {
  char buffer[64];
  const auto [end, error] = precision ? std::to_chars(buffer, buffer + sizeof buffer, value,
                                                      std::chars_format::scientific, *precision)
                                      : std::to_chars(buffer, buffer + sizeof buffer, value,
                                                      std::chars_format::scientific);
  if (error != std::errc()) return "0";
  return TidyExponentForm(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

// "6.684587122268445e-12" -> "6684587122268445e-27": the same digits without the point, so a
// number of 16 or 17 digits with a two-digit exponent still fits 20 characters.
std::string WholeMantissaForm(std::string_view exponent_form) {
  const std::size_t e = exponent_form.find('e');
  if (e == std::string_view::npos) return std::string(exponent_form);
  const std::string_view mantissa = exponent_form.substr(0, e);
  const std::size_t point = mantissa.find('.');
  if (point == std::string_view::npos) return std::string(exponent_form);
  const long exponent = std::strtol(std::string(exponent_form.substr(e + 1)).c_str(), nullptr, 10);
  const long fraction_digits = static_cast<long>(mantissa.size() - point - 1);
  return std::string(mantissa.substr(0, point)) + std::string(mantissa.substr(point + 1)) + "e" +
         std::to_string(exponent - fraction_digits);
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Whether the text is one number as TextToNumber reads it, with nothing left over: an optional
// sign, digits with at most one point, and an optional exponent with at least one digit.
bool IsWholeNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i >= text.size() || !IsDigit(text[i])) return false;
    while (i < text.size() && IsDigit(text[i])) ++i;
  }
  return i == text.size();
}

}  // namespace

std::optional<int> EditablePageOfSection(std::string_view section) {
  for (int page = 1; page <= kCategoryCount; ++page) {
    if (page != kTemperaturePage && section == UnitSection(page)) return page;
  }
  return std::nullopt;
}

ManagedUnit ParseManagedUnit(std::string_view value) {
  const std::size_t comma = value.find(',');
  if (comma == std::string_view::npos) return ManagedUnit{std::string(value), 0.0};
  const std::string_view factor = value.substr(comma + 1);
  return ManagedUnit{std::string(value.substr(0, comma)),
                     TextToNumber(factor.substr(0, Utf8Prefix(factor, kManagerFactorCharacters)))};
}

std::string FactorText(double factor) {
  std::string text = NumberToText(factor);
  if (CharacterCount(text) <= kManagerFactorCharacters || !std::isfinite(factor)) return text;
  text = ExponentForm(factor, std::nullopt);
  if (text.size() <= kManagerFactorCharacters) return text;
  text = WholeMantissaForm(text);
  for (int precision = 16; text.size() > kManagerFactorCharacters && precision >= 0; --precision) {
    text = ExponentForm(factor, precision);
    if (text.size() > kManagerFactorCharacters) text = WholeMantissaForm(text);
  }
  return text;
}

FactorProblem ProblemOfFactor(double factor) {
  if (std::isnan(factor)) return FactorProblem::NotANumber;
  if (std::isinf(factor)) return FactorProblem::OutOfRange;
  if (!(factor > 0.0)) return FactorProblem::NotPositive;
  return FactorProblem::None;
}

CheckedFactor CheckTypedFactor(std::string_view typed) {
  const std::string_view number = TrimBlanks(typed);
  if (number.empty()) return {FactorProblem::Empty, 0.0, {}};
  if (!IsWholeNumber(number)) return {FactorProblem::NotANumber, 0.0, {}};
  const double value = TextToNumber(number);
  // A number too small for a double reads as 0, and is refused as such.
  if (const FactorProblem problem = ProblemOfFactor(value); problem != FactorProblem::None) {
    return {problem, value, {}};
  }
  if (number.size() <= kManagerFactorCharacters)
    return {FactorProblem::None, value, std::string(number)};
  std::string text = FactorText(value);
  if (CharacterCount(text) > kManagerFactorCharacters || TextToNumber(text) != value) {
    return {FactorProblem::TooLong, value, {}};
  }
  return {FactorProblem::None, value, std::move(text)};
}

StoredUnitList MakeStoredUnitList(int page, std::span<const UnitRowText> rows) {
  StoredUnitList list;
  list.items.reserve(rows.size());
  int key = PageBase(page);
  for (const UnitRowText& row : rows) {
    std::string name;
    name.reserve(row.name.size());
    for (const char c : row.name) {
      if (c == ',') {
        name += kFullWidthComma;
        list.commas_replaced = true;
      } else {
        name += c;
      }
    }
    list.items.push_back({std::to_string(++key), name + "," + row.factor});
  }
  return list;
}

StoreResult StoreUnitList(int page, std::span<const UnitRowText> rows) {
  const StoredUnitList list = MakeStoredUnitList(page, rows);
  return StoreResult{ReplaceSection(UnitSection(page), list.items), list.commas_replaced};
}

}  // namespace velmora
