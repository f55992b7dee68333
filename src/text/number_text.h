#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Reads the number at the start of `text`: optional blanks, an optional sign, digits with at most
// one point, and an exponent ("e" or "E", optional sign, digits) when digits follow it. Whatever
// comes after the number is ignored. Text without a leading number gives 0. The texts "∞", "-∞"
// and "NaN" that NumberToText writes for non-finite values read back as those values.
// Independent of the process locale.
double TextToNumber(std::string_view text);

// Writes `value` in positional decimal notation with the fewest digits that read back to the same
// double: whole numbers without a point ("90", "0", "-3"), never an exponent, "-" for negatives.
// Infinite values are written "∞" / "-∞", undefined ones "NaN". Independent of the process locale.
std::string NumberToText(double value);

}  // namespace velmora
