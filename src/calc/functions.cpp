#include "calc/functions.h"

#include <cmath>

#include "calc/operand.h"

namespace velmora::calc {
namespace {

// The degree factor is this twelve-digit value, not the double nearest to pi, so cos(90) is about
// -1.04e-13 rather than 6.1e-17.
constexpr double kPi = 3.14159265359;

double Radians(double degrees) {
  return degrees * kPi / 180.0;
}

}  // namespace

std::string_view FunctionName(Function function) {
  switch (function) {
    case Function::kSin:
      return "sin";
    case Function::kCos:
      return "cos";
    case Function::kTan:
      return "tan";
    case Function::kCtg:
      return "ctg";
    case Function::kLog:
      return "log";
    case Function::kLn:
      return "ln";
    case Function::kExp:
      return "e";
  }
  return {};
}

std::optional<Function> FunctionNameAtEnd(std::string_view text) {
  for (const Function function : kFunctionOrder) {
    if (text.ends_with(FunctionName(function))) return function;
  }
  return std::nullopt;
}

std::optional<double> ApplyFunction(Function function, std::string_view argument) {
  const double x = ReadOperand(argument);
  switch (function) {
    case Function::kSin:
      return std::sin(Radians(x));
    case Function::kCos:
      return std::cos(Radians(x));
    case Function::kTan:
      if (argument == "90" || argument.empty()) return std::nullopt;
      return std::tan(Radians(x));
    case Function::kCtg:
      if (argument == "0" || argument.empty()) return std::nullopt;
      // The tangent passes through its text first, which folds -0 into 0.
      return 1.0 / Canonical(std::tan(Radians(x)));
    case Function::kLog:
      if (argument.empty()) return std::nullopt;
      return std::log(x) / std::log(10.0);
    case Function::kLn:
      if (argument.empty()) return std::nullopt;
      return std::log(x);
    case Function::kExp:
      if (argument.empty()) return std::nullopt;
      return std::exp(x);
  }
  return std::nullopt;
}

}  // namespace velmora::calc
