#pragma once

#include <optional>
#include <string_view>

namespace velmora {

// The value of a --convert argument: a number ("-40", "1.5e3") or an arithmetic expression that
// the calculator's evaluator computes ("1/3", "2^10", "2(3+4)", "sin(30)"). Nothing when the text
// is neither, when the expression fails (a division by zero, tan(90)) or when its value is not a
// finite number. Unlike the calculator, which reads stray letters and operators somehow, an
// expression here must be well formed: numbers, + - * / ^, parentheses and the calculator's
// functions (sin cos tan ctg log ln e) with their parenthesis.
std::optional<double> ReadValueText(std::string_view text);

}  // namespace velmora
