#include "calc/operand.h"

#include <limits>

#include "text/number_text.h"

namespace velmora::calc {

double Canonical(double value) {
  return value == 0.0 ? 0.0 : value;
}

double ReadOperand(std::string_view text) {
  bool negative = false;
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '-' || c == kValueSign) {
      negative = !negative;
    } else if (c != '+') {
      break;
    }
  }
  std::string_view rest = text.substr(i);
  double value = 0.0;
  if (rest.starts_with("nan") || rest.starts_with("NaN")) {
    value = std::numeric_limits<double>::quiet_NaN();
  } else {
    value = TextToNumber(rest.substr(0, rest.find_first_of("eE")));
  }
  return negative ? -value : value;
}

std::string WriteValue(double value) {
  std::string text = NumberToText(value);
  if (!text.empty() && text.front() == '-') text.front() = kValueSign;
  return text;
}

std::string PlainText(std::string text) {
  for (char& c : text) {
    if (c == kValueSign) c = '-';
  }
  return text;
}

}  // namespace velmora::calc
