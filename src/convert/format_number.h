#pragma once

#include <string>

namespace velmora {

// Result text of the converter, independent of the process locale:
// - the value is rounded to `decimals` places, exact halves away from zero, working on the
//   shortest decimal form of the double (so 1.005 at two places gives 1.01, as typed);
// - trailing zeros of the fraction are dropped (2 at two places is "2", 2.5 is "2.5");
// - a negative `decimals` rounds to tens, hundreds, …; `decimals` is taken within -16 to 20;
// - `group` puts "," between the thousands of the integer part;
// - magnitudes of 1e15 and more are written in scientific form with 15 significant digits
//   ("1.23456789012346e+20"), which TextToNumber reads back;
// - infinite values are "∞" and "-∞", undefined ones "NaN"; a result that rounds to zero is "0".
std::string FormatNumber(double value, int decimals, bool group);

}  // namespace velmora
