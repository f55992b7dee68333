#pragma once

#include <string_view>

namespace velmora::calc {

// The outcome of evaluating a text without parentheses and function calls.
struct FlatResult {
  enum class Kind {
    kFailed,     // a divisor of at most 1e-07
    kUnchanged,  // the text holds no operator: it is its own value, exactly as written
    kValue,      // the computed value
  };
  Kind kind = Kind::kUnchanged;
  double value = 0.0;
};

// True for the characters that make a text more than a plain number: "+", "-", "*", "/", "^" and
// the computed-value sign.
bool IsOperatorCharacter(char c);

// Evaluates a flat text in one pass: powers first (a chain such as 2^3^2 from the right, a sign
// right after "^" belonging to the exponent), then products and quotients from left to right, each
// taking only the operand that follows its operator, then sums and differences from left to right.
// Every operand starts with its own signs: a leading sign, like one right after an operator, is the
// operand's sign and is applied after the operand's powers ("-2^2" is -4, "2*-3" is -6, "5--3" is
// 8). A computed-value sign stays with its value ("(1-3)^2" is 4). Intermediate values are exactly
// what writing them as text and reading them back gives. `has_operators` must be true when the text
// holds any IsOperatorCharacter.
FlatResult EvaluateFlatText(std::string_view text, bool has_operators);
FlatResult EvaluateFlatText(std::string_view text);

}  // namespace velmora::calc
