#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace velmora::calc {

// The functions in the order their calls are looked for.
enum class Function { kSin, kCos, kTan, kCtg, kLog, kLn, kExp };

inline constexpr std::array<Function, 7> kFunctionOrder = {
    Function::kSin, Function::kCos, Function::kTan, Function::kCtg,
    Function::kLog, Function::kLn,  Function::kExp};

// The name as written in front of its "(": "sin", "cos", "tan", "ctg", "log", "ln", "e".
std::string_view FunctionName(Function function);

// The function whose name ends `text`, for a "(" that follows it. No name is the tail of another,
// so at most one matches.
std::optional<Function> FunctionNameAtEnd(std::string_view text);

// The value of `function` for the result text `argument` of its argument (empty when the argument
// failed). Angles are in degrees with the factor 3.14159265359 / 180. Returns nothing when the call
// fails: tan of "90" or of an empty result, ctg of "0" or of an empty result, log, ln and e of an
// empty result. sin and cos read an empty result as 0.
std::optional<double> ApplyFunction(Function function, std::string_view argument);

}  // namespace velmora::calc
