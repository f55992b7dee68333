#pragma once

#include <string>
#include <string_view>

namespace velmora::calc {

// Lower-cases the text, replaces full-width forms of ASCII characters (U+FF01 to U+FF5E, and the
// ideographic space U+3000) by their ASCII forms and removes blanks. Full-width letters are
// lower-cased too, so "ＳＩＮ" reads as "sin". Line breaks, tabs and every other ASCII control
// character count as blanks: a pasted multi-line expression is one expression.
std::string NormaliseExpression(std::string_view expression);

// True when the text holds as many "(" as ")".
bool ParenthesesBalanced(std::string_view text);

// Writes the multiplications a user leaves out: "*" after a digit or ")" unless a digit (after a
// digit only), ")", ".", an operator or the end follows. "2(3)" becomes "2*(3)", "2sin(30)"
// becomes "2*sin(30)", "(1)(2)" becomes "(1)*(2)".
std::string InsertImpliedProducts(std::string_view text);

// True when the text (normalised, with its implied products written) is made only of numbers
// (digits with at most one point, or the texts "∞" and "nan" of computed values pasted back),
// operators, function names directly followed by their "(", and parentheses that never close more
// groups than are open. Anything else ("pi", "abc", "%", the "e3" of "1e3", "1.2.3", a ")" without
// its "(", a value directly followed by another value or by "(") is no expression: evaluating it
// must fail rather than read the stray text as 0.
bool IsWellFormedExpression(std::string_view text);

}  // namespace velmora::calc
