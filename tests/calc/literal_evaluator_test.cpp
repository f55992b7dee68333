#include "literal_evaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "calc/evaluator.h"

namespace velmora {
namespace {

// Pieces that make the interesting collisions likely: failing calls inside others, negative
// values next to powers, divisors at the limit. Text that is no expression (a stray word, "2e5")
// fails before either evaluator reduces anything; the evaluator's own tests cover it.
const char* const kPieces[] = {
    "0",    "1",  "2",   "3",     "90",   "0.",        "+",       "-",     "*",        "/",
    "^",    "()", "(1)", "(0-2)", "sin(", "cos(",      "tan(",    "ctg(",  "log(",     "ln(",
    "e(",   "(",  ")",   ")",     "1/0",  "0.0000001", "tan(90)", "e()",   "ln(0)",    "e(1000)",
    "SIN(", "２", " ",   "0.5",   "∞",    "nan",       "--",      "2e(5)", "ctg(0.0)", "\n"};

// Random texts, mostly given as many "(" as ")", so that the parenthesis count passes.
std::string RandomExpression(std::mt19937& random) {
  std::string text;
  const std::size_t pieces = random() % 18;
  for (std::size_t i = 0; i < pieces; ++i) text += kPieces[random() % std::size(kPieces)];
  const auto opens = std::count(text.begin(), text.end(), '(');
  const auto closes = std::count(text.begin(), text.end(), ')');
  if (closes > opens) return std::string(static_cast<std::size_t>(closes - opens), '(') + text;
  const auto missing = static_cast<std::size_t>(opens - closes);
  // A ")" in front of its "(" fails the whole text, so only a few texts get one.
  const std::size_t in_front = random() % 8 == 0 ? random() % (missing + 1) : 0;
  return std::string(in_front, ')') + text + std::string(missing - in_front, ')');
}

TEST(LiteralEvaluator, AgreesWithEvaluatorOnRandomExpressions) {
  std::mt19937 random(20240611);
  int nonempty = 0;
  for (int i = 0; i < 45000; ++i) {
    const std::string expression = RandomExpression(random);
    const std::string result = Evaluate(expression);
    ASSERT_EQ(result, literal::Evaluate(expression)) << "expression: \"" << expression << '"';
    nonempty += result.empty() ? 0 : 1;
  }
  // The comparison means little if nearly everything fails; texts that are no expression fail
  // before any reduction, so it takes more of them to reach as many real comparisons.
  EXPECT_GT(nonempty, 10000);
}

}  // namespace
}  // namespace velmora
