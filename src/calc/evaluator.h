#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Evaluates an arithmetic expression as the calculator's user types it (UTF-8) and returns the text
// of its value, or the empty text when it fails. Knows + - * / ^, parentheses with implied
// multiplication ("2(3)", "(1)(2)", "2sin(30)"), sin, cos, tan and ctg of degrees, log (base 10),
// ln and the exponential e(x). Upper case, full-width forms, blanks and line breaks are normalised
// first. Text that is no number, operator or function call ("pi", "abc", "%", the "e3" of "1e3",
// "1.2.3", a ")" without its "(") fails the whole evaluation instead of reading as 0; "e" is only
// ever the exponential function, never an exponent. A text left without any operator is returned as
// written ("007" gives "007"); a computed value is written by NumberToText: never an exponent, "∞"
// / "-∞" for infinite values and "NaN" for undefined ones (ln of 0 or of a negative number), texts
// that read back as those values. Runs in time linear in the length of the expression and without
// recursion, so any nesting depth is safe.
std::string Evaluate(std::string_view expression);

// Evaluates a text without function calls: parenthesised groups from the innermost outwards, then
// EvaluateFlat on what is left. Empty when a group is empty or fails, or a ")" stands in front of
// every remaining "(", or a "(" is never closed.
std::string ReduceParentheses(std::string_view text);

// Evaluates a text without parentheses and function calls: powers, then products and quotients,
// then sums and differences. Empty when a divisor is at most 1e-07 or the text is empty.
std::string EvaluateFlat(std::string_view text);

}  // namespace velmora
