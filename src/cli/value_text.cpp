#include "cli/value_text.h"

#include <array>
#include <cmath>
#include <string>

#include "calc/evaluator.h"
#include "calc/expression_text.h"
#include "text/number_text.h"

namespace velmora {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Digits with at most one point and at least one digit, from `i`; returns the end or npos.
std::size_t NumberEnd(std::string_view text, std::size_t i) {
  bool digit = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      digit = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  return digit ? i : std::string_view::npos;
}

// A number as a whole: optional sign, digits with at most one point, optional exponent.
bool IsPlainNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  i = NumberEnd(text, i);
  if (i == std::string_view::npos) return false;
  if (i < text.size() && text[i] == 'e') {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digits = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == digits) return false;
  }
  return i == text.size();
}

// The length of the calculator's function name with its "(" at `i`, or 0.
std::size_t FunctionAt(std::string_view text, std::size_t i) {
  static constexpr std::array<std::string_view, 7> kNames = {"sin(", "cos(", "tan(", "ctg(",
                                                             "log(", "ln(",  "e("};
  for (const std::string_view name : kNames) {
    if (text.substr(i, name.size()) == name) return name.size();
  }
  return 0;
}

bool IsOperator(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

// Operands (numbers, groups, calls, each with signs in front) joined by operators, or written
// side by side after a number or group for the calculator's implied product.
bool WellFormed(std::string_view text) {
  int depth = 0;
  bool want_operand = true;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (want_operand && (c == '+' || c == '-')) {
      ++i;
    } else if (c == '(') {
      ++depth;
      ++i;
      want_operand = true;
    } else if (const std::size_t call = FunctionAt(text, i); call > 0) {
      ++depth;
      i += call;
      want_operand = true;
    } else if (IsDigit(c) || c == '.') {
      i = NumberEnd(text, i);
      if (i == std::string_view::npos) return false;
      // A second point makes no number.
      if (i < text.size() && text[i] == '.') return false;
      want_operand = false;
    } else if (c == ')') {
      if (want_operand || depth == 0) return false;
      --depth;
      ++i;
    } else if (IsOperator(c)) {
      if (want_operand) return false;
      want_operand = true;
      ++i;
    } else {
      return false;
    }
  }
  return !want_operand && depth == 0;
}

}  // namespace

std::optional<double> ReadValueText(std::string_view text) {
  const std::string normalised = calc::NormaliseExpression(text);
  if (normalised.empty()) return std::nullopt;
  double value = 0.0;
  if (IsPlainNumber(normalised)) {
    value = TextToNumber(normalised);
  } else {
    if (!WellFormed(normalised)) return std::nullopt;
    const std::string result = Evaluate(normalised);
    if (!IsPlainNumber(result)) return std::nullopt;
    value = TextToNumber(result);
  }
  if (!std::isfinite(value)) return std::nullopt;
  return value == 0.0 ? 0.0 : value;
}

}  // namespace velmora
