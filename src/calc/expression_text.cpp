#include "calc/expression_text.h"

#include <algorithm>

#include "calc/functions.h"

namespace velmora::calc {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
  return c >= 'a' && c <= 'z';
}

bool IsOperator(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

constexpr std::string_view kInfinity = "∞";
constexpr std::string_view kUndefined = "nan";

bool IsFunctionName(std::string_view name) {
  for (const Function function : kFunctionOrder) {
    if (FunctionName(function) == name) return true;
  }
  return false;
}

// Characters after which no "*" is implied, whatever stood before them.
bool EndsImpliedProduct(char c) {
  switch (c) {
    case ')':
    case '.':
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string NormaliseExpression(std::string_view expression) {
  std::string text;
  text.reserve(expression.size());
  for (std::size_t i = 0; i < expression.size(); ++i) {
    const auto byte = static_cast<unsigned char>(expression[i]);
    unsigned char c = byte;
    if (byte == 0xEF && i + 2 < expression.size()) {
      // U+FF01..U+FF3F is EF BC 81..BF, U+FF40..U+FF5E is EF BD 80..9E; both map onto 0x21..0x7E.
      const auto second = static_cast<unsigned char>(expression[i + 1]);
      const auto third = static_cast<unsigned char>(expression[i + 2]);
      if (second == 0xBC && third >= 0x81 && third <= 0xBF) {
        c = static_cast<unsigned char>(0x21 + (third - 0x81));
        i += 2;
      } else if (second == 0xBD && third >= 0x80 && third <= 0x9E) {
        c = static_cast<unsigned char>(0x60 + (third - 0x80));
        i += 2;
      }
    } else if (byte == 0xE3 && expression.substr(i, 3) == "\xE3\x80\x80") {
      i += 2;
      continue;  // ideographic space
    }
    if (c == ' ' || c < 0x20 || c == 0x7F) continue;
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    text.push_back(static_cast<char>(c));
  }
  return text;
}

bool ParenthesesBalanced(std::string_view text) {
  return std::count(text.begin(), text.end(), '(') == std::count(text.begin(), text.end(), ')');
}

std::string InsertImpliedProducts(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 4);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    result.push_back(c);
    if (i + 1 == text.size()) break;
    const char next = text[i + 1];
    if ((IsDigit(c) && !IsDigit(next) && !EndsImpliedProduct(next)) ||
        (c == ')' && !EndsImpliedProduct(next))) {
      result.push_back('*');
    }
  }
  return result;
}

bool IsWellFormedExpression(std::string_view text) {
  std::size_t depth = 0;
  // The last piece was a value (a number or a closed group): another value, a call or a group may
  // not follow without an operator.
  bool after_value = false;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (IsOperator(c)) {
      after_value = false;
      ++i;
    } else if (c == '(') {
      if (after_value) return false;
      ++depth;
      ++i;
    } else if (c == ')') {
      if (depth == 0) return false;
      --depth;
      after_value = true;
      ++i;
    } else if (IsDigit(c) || c == '.') {
      if (after_value) return false;
      std::size_t points = 0;
      bool digits = false;
      for (; i < text.size() && (IsDigit(text[i]) || text[i] == '.'); ++i) {
        if (text[i] == '.') ++points;
        digits = digits || text[i] != '.';
      }
      if (points > 1 || !digits) return false;
      after_value = true;
    } else if (text.substr(i).starts_with(kInfinity)) {
      if (after_value) return false;
      i += kInfinity.size();
      after_value = true;
    } else if (IsLetter(c)) {
      if (after_value) return false;
      const std::size_t start = i;
      while (i < text.size() && IsLetter(text[i])) ++i;
      const std::string_view word = text.substr(start, i - start);
      if (i < text.size() && text[i] == '(') {
        // A call: its "(" is read on the next round.
        if (!IsFunctionName(word)) return false;
      } else {
        if (word != kUndefined) return false;
        after_value = true;
      }
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace velmora::calc
