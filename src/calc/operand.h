#pragma once

#include <string>
#include <string_view>

namespace velmora::calc {

// Written in place of "-" in front of a value the evaluator computed and put back into the text.
// Unlike a typed minus it is not an operator, so a negative group or function value stays one
// operand: "(1-3)^2" squares -2. Normalisation removes control characters from the user's text, so
// this byte only ever comes from the evaluator itself.
inline constexpr char kValueSign = '\x01';

// Folds -0 into 0, as writing a value and reading it back does.
double Canonical(double value);

// Reads an operand text: a run of signs ("+", "-" and kValueSign, an odd count of minus signs makes
// it negative) followed by a number as TextToNumber reads it, except that an "e" ends the number
// (in an expression "e" is the exponential function, never an exponent). "NaN" and "nan" (the
// undefined value's text after lower-casing) read as undefined, "∞" as infinite. Anything else that
// does not begin with a number reads as 0.
double ReadOperand(std::string_view text);

// The text of a computed value as it goes back into the expression: NumberToText, with kValueSign
// in place of a leading "-".
std::string WriteValue(double value);

// The user-visible form of a text that may hold kValueSign: every kValueSign becomes "-".
std::string PlainText(std::string text);

}  // namespace velmora::calc
