#include "literal_evaluator.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "calc/expression_text.h"
#include "calc/functions.h"
#include "calc/operand.h"

namespace velmora::literal {
namespace {

using calc::Canonical;
using calc::ReadOperand;
using calc::WriteValue;

constexpr std::string_view kOperators = "+-*/";

bool IsSign(char c) {
  return c == '+' || c == '-';
}

// End of the operand starting at `start`: its own signs are skipped, as are signs right after a
// "^"; the operand ends at the next "+", "-", "*" or "/".
std::size_t OperandEnd(std::string_view text, std::size_t start) {
  std::size_t k = start;
  while (k < text.size() && IsSign(text[k])) ++k;
  while (k < text.size()) {
    if (kOperators.find(text[k]) != std::string_view::npos) return k;
    if (text[k] == '^') {
      ++k;
      while (k < text.size() && IsSign(text[k])) ++k;
      continue;
    }
    ++k;
  }
  return text.size();
}

bool NegativeSigns(std::string_view signs) {
  return std::count(signs.begin(), signs.end(), '-') % 2 == 1;
}

// The value of an exponent text "signs base ^ rest": the signs apply to the power of the rest.
double PowerValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSign(text[i])) ++i;
  const bool negative = NegativeSigns(text.substr(0, i));
  const std::string_view rest = text.substr(i);
  const std::size_t q = rest.find('^');
  const double value = q == std::string_view::npos ? ReadOperand(rest)
                                                   : std::pow(ReadOperand(rest.substr(0, q)),
                                                              PowerValue(rest.substr(q + 1)));
  return negative ? -value : value;
}

// Flat text → marked result text; "" on failure.
std::string Flat(std::string text) {
  if (std::none_of(text.begin(), text.end(), [](char c) {
        return kOperators.find(c) != std::string_view::npos || c == '^' || c == calc::kValueSign;
      })) {
    return text;
  }
  for (std::size_t i = text.find('^'); i != std::string::npos; i = text.find('^')) {
    const std::size_t k = text.find_last_of(kOperators, i);
    const std::size_t base_start = k == std::string::npos ? 0 : k + 1;
    const std::size_t j = OperandEnd(text, i + 1);
    const double value =
        std::pow(ReadOperand(std::string_view(text).substr(base_start, i - base_start)),
                 PowerValue(std::string_view(text).substr(i + 1, j - i - 1)));
    text = text.substr(0, base_start) + WriteValue(Canonical(value)) + text.substr(j);
  }
  std::vector<std::string> operands;
  std::vector<char> operators;
  for (;;) {
    const std::size_t i = OperandEnd(text, 0);
    if (i == text.size()) break;
    if (IsSign(text[i])) {
      operands.push_back(text.substr(0, i));
      operators.push_back(text[i]);
      text = text.substr(i + 1);
      continue;
    }
    const double left = ReadOperand(std::string_view(text).substr(0, i));
    const std::size_t j = OperandEnd(text, i + 1);
    const double right = ReadOperand(std::string_view(text).substr(i + 1, j - i - 1));
    double value = 0.0;
    if (text[i] == '*') {
      value = left * right;
    } else {
      if (std::fabs(right) <= 1e-07) return {};
      value = left / right;
    }
    text = WriteValue(Canonical(value)) + text.substr(j);
  }
  operands.push_back(text);
  double result = ReadOperand(operands[0]);
  for (std::size_t k = 0; k < operators.size(); ++k) {
    const double next = ReadOperand(operands[k + 1]);
    result = Canonical(operators[k] == '+' ? result + next : result - next);
  }
  return WriteValue(result);
}

std::string ReduceParentheses(std::string text) {
  while (text.find('(') != std::string::npos) {
    const std::size_t c = text.find(')');
    if (c == std::string::npos) return {};
    const std::size_t o = text.find_last_of('(', c);
    if (o == std::string::npos) return {};
    const std::string r = Flat(text.substr(o + 1, c - o - 1));
    if (r.empty()) return {};
    text = text.substr(0, o) + r + text.substr(c + 1);
  }
  return Flat(text);
}

std::string EvaluateNormalised(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (!calc::ParenthesesBalanced(text)) return {};
  text = calc::InsertImpliedProducts(text);
  for (const calc::Function function : calc::kFunctionOrder) {
    const std::string name = std::string(calc::FunctionName(function)) + "(";
    for (std::size_t p = text.find(name); p != std::string::npos; p = text.find(name)) {
      const std::string rest = text.substr(p + name.size());
      std::size_t j = 0;
      int depth = 0;
      for (; j < rest.size(); ++j) {
        if (rest[j] == '(') ++depth;
        if (rest[j] == ')' && --depth < 0) break;
      }
      const std::string argument = rest.substr(0, j);
      const std::string after = j < rest.size() ? rest.substr(j + 1) : std::string();
      const std::string r = EvaluateNormalised(argument);
      const auto value = calc::ApplyFunction(function, r);
      if (!value) return {};
      text = text.substr(0, p) + WriteValue(*value) + after;
    }
  }
  return ReduceParentheses(text);
}

}  // namespace

std::string Evaluate(std::string_view expression) {
  const std::string text = calc::NormaliseExpression(expression);
  if (!calc::IsWellFormedExpression(calc::InsertImpliedProducts(text))) return {};
  return calc::PlainText(EvaluateNormalised(text));
}

}  // namespace velmora::literal
