#include "literal_evaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "calc/evaluator.h"

namespace velmora {
namespace {

// Pieces that make the interesting collisions likely: failing calls inside others, negative
// values next to powers, open calls behind lone ")", divisors at the limit.
const char* const kPieces[] = {
    "0",    "1",  "2",   "3",     "90",   ".",         "+",       "-",    "*",        "/",
    "^",    "()", "(1)", "(0-2)", "sin(", "cos(",      "tan(",    "ctg(", "log(",     "ln(",
    "e(",   "(",  ")",   ")",     "1/0",  "0.0000001", "tan(90)", "e()",  "ln(0)",    "e(1000)",
    "SIN(", "２", " ",   "x",     "∞",    "nan",       "--",      "2e5",  "ctg(0.0)", "\n"};

// Random texts, mostly given as many "(" as ")" in varied places, so that the parenthesis count
// passes and the open-call rules come into play.
std::string RandomExpression(std::mt19937& random) {
  std::string text;
  const std::size_t pieces = random() % 18;
  for (std::size_t i = 0; i < pieces; ++i) text += kPieces[random() % std::size(kPieces)];
  const auto opens = std::count(text.begin(), text.end(), '(');
  const auto closes = std::count(text.begin(), text.end(), ')');
  if (closes > opens) return std::string(static_cast<std::size_t>(closes - opens), '(') + text;
  const auto missing = static_cast<std::size_t>(opens - closes);
  const std::size_t in_front = random() % 4 == 0 ? missing : random() % (missing + 1);
  return std::string(in_front, ')') + text + std::string(missing - in_front, ')');
}

TEST(LiteralEvaluator, AgreesWithEvaluatorOnRandomExpressions) {
  std::mt19937 random(20240611);
  int nonempty = 0;
  for (int i = 0; i < 30000; ++i) {
    const std::string expression = RandomExpression(random);
    const std::string result = Evaluate(expression);
    ASSERT_EQ(result, literal::Evaluate(expression)) << "expression: \"" << expression << '"';
    nonempty += result.empty() ? 0 : 1;
  }
  // The comparison means little if nearly everything fails.
  EXPECT_GT(nonempty, 10000);
}

}  // namespace
}  // namespace velmora
