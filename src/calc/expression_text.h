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

}  // namespace velmora::calc
