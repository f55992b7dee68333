#pragma once

#include <functional>
#include <string>

#include "settings/settings.h"

namespace velmora {

// Result text of the converter, independent of the process locale:
// - the value is first taken to 15 significant digits, the precision a double holds reliably, so
//   that arithmetic noise never shows (31535999999.999992 gives 31536000000);
// - it is then rounded to `decimals` places; both roundings work on the shortest decimal form
//   of the double and take exact halves away from zero (1.005 at two places gives 1.01, as typed);
// - trailing zeros of the fraction are dropped (2 at two places is "2", 2.5 is "2.5");
// - a negative `decimals` rounds to tens, hundreds, …; `decimals` is taken within -16 to 20;
// - `group` puts "," between the thousands of the integer part;
// - magnitudes of 1e15 and more are written in scientific form with at most 15 significant
//   digits ("1.23456789012346e+20", "1e+15"), which TextToNumber reads back;
// - infinite values are "∞" and "-∞", undefined ones "NaN"; a result that rounds to zero is "0".
std::string FormatNumber(double value, int decimals, bool group);

// FormatNumber's text when `fits` accepts it; otherwise the longest shorter form of the same
// value that fits: fewer decimal places for values of 1 and more (the integer part stays whole),
// then scientific form with fewer significant digits. A shorter form never drops leading or
// integer digits, so it cannot read as another number. When nothing fits, the full text.
std::string FormatNumberToFit(double value, int decimals, bool group,
                              const std::function<bool(const std::string&)>& fits);

// Result text with `digits` significant digits (taken within 1 to 15), as C's "%g" writes it but
// with the rounding FormatNumber uses (the value first taken to 15 significant digits, exact halves
// of the shortest decimal form away from zero):
// - positional notation while the rounded value's decimal exponent is -4 to 14 ("0.0001057",
//   "1230000"), with `group` putting "," between the thousands of the integer part;
// - exponent form outside it, a mantissa, "e", a sign and at least two exponent digits
//   ("1.057e-13", "9.46073e+24");
// - trailing zeros after the point dropped; zero is "0"; infinite values "∞" / "-∞", undefined
//   ones "NaN".
std::string FormatSignificant(double value, int digits, bool group);

// FormatSignificant's text when `fits` accepts it; otherwise the same value with fewer significant
// digits, then in exponent form with fewer digits, the first that fits. When nothing fits, the
// full text.
std::string FormatSignificantToFit(double value, int digits, bool group,
                                   const std::function<bool(const std::string&)>& fits);

// How the converter shows its results, from the general settings: `precision` is the decimal
// places, or the significant digits when `significant` is on.
struct ResultFormat {
  int precision = 0;
  bool group = false;
  bool significant = false;
};

inline ResultFormat ResultFormatOf(const Settings& settings) {
  return {settings.DecimalPlaces, settings.ThousandsSeparators, settings.SignificantDigits};
}

// The text of a converted value as the converter's rows show it: FormatNumber or
// FormatSignificant after `format`. Other windows showing converted amounts call these with the
// same settings so that their numbers read like the rows.
std::string FormatResult(double value, const ResultFormat& format);
std::string FormatResultToFit(double value, const ResultFormat& format,
                              const std::function<bool(const std::string&)>& fits);

// A value as the command line prints it, independent of the process locale: rounded to at most 15
// significant digits, in plain notation while its decimal exponent is -4 to 14 and in exponent
// form otherwise ("1.057e-13", "1e+15"), without trailing zeros after the point. Zero is "0" (also
// for -0); infinite and undefined values are "inf", "-inf" and "nan".
std::string FormatShortNumber(double value);

}  // namespace velmora
