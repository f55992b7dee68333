#include "calc/evaluator.h"

#include <gtest/gtest.h>

#include <clocale>
#include <ostream>
#include <string>

namespace velmora {
namespace {

struct Case {
  const char* name;
  const char* expression;
  const char* result;  // "" for failure
  friend std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << '"' << c.expression << '"';
  }
};

class EvaluateTest : public ::testing::TestWithParam<Case> {};

TEST_P(EvaluateTest, GivesResultText) {
  EXPECT_EQ(Evaluate(GetParam().expression), GetParam().result);
}

// clang-format off
const Case kCases[] = {
    // Implied products.
    {"DigitBeforeGroup",            "2(3+4)",             "14"},
    {"GroupBeforeGroup",            "(1+2)(3+4)",         "21"},
    {"GroupBeforeDigit",            "(1+2)3",             "9"},
    {"DigitBeforeFunction",         "2sin(30)",           "1.0000000000000597"},
    {"DigitBeforeExpNotExponent",   "2e(1)",              "5.43656365691809"},
    {"ExponentNotationFails",       "2e5",                ""},
    {"PointBeforeEFails",           "1.e5+1",             ""},
    // Normalisation.
    {"UpperCase",                   "SIN(30)",            "0.5000000000000299"},
    {"SpacesRemoved",               "sin( 30 )",          "0.5000000000000299"},
    {"FullWidthDigitsAndPlus",      "２＋３",             "5"},
    {"FullWidthUpperCaseFunction",  "ＳＩＮ（３０）",     "0.5000000000000299"},
    {"IdeographicSpace",            "1\u3000+\u30002",    "3"},
    {"LineBreaksAndTabsRemoved",    "1\r\n+\t2\n",        "3"},
    {"BlanksOnlyFail",              " \n ",               ""},
    {"ControlCharactersRemoved",    "\x01" "2+0",         "2"},
    // Functions; the degree factor is 3.14159265359.
    {"Sine",                        "sin(30)",            "0.5000000000000299"},
    {"CosineOfNinetyNotZero",       "cos(90)",            "-0.00000000000010363359816003225"},
    {"TanOfNinetyFails",            "tan(90)",            ""},
    {"TanOfComputedNinetyFails",    "tan(45+45)",         ""},
    {"TanOfNinetyWrittenOtherwise", "tan(90.0)",          "-9649380295141.232"},
    {"CtgOfZeroFails",              "ctg(0)",             ""},
    {"CtgOfComputedZeroFails",      "ctg(0*-1)",          ""},
    {"Ctg",                         "ctg(45)",            "0.9999999999998963"},
    {"CtgOfZeroWrittenOtherwise",   "ctg(0.0)",           "∞"},
    {"Log",                         "log(100)",           "2"},
    {"Exp",                         "e(0)",               "1"},
    {"LnOfExp",                     "ln(e(1))",           "1"},
    {"FunctionOfFunction",          "sin(cos(0)*30)",     "0.5000000000000299"},
    {"ExpOfNothingFails",           "e()",                ""},
    {"TanOfNothingFails",           "tan()",              ""},
    {"LnOfFailedArgumentFails",     "ln(1/0)",            ""},
    {"SinOfNothingIsZero",          "sin()",              "0"},
    {"CosOfNothingIsOne",           "cos()",              "1"},
    {"SinOfFailedArgumentIsZero",   "sin(1/0)",           "0"},
    // Groups and failures.
    {"EmptyGroupFails",             "()",                 ""},
    {"ProductWithEmptyGroupFails",  "2*()",               ""},
    {"UnclosedGroupFails",          "(1+2",               ""},
    {"UnopenedGroupFails",          "1+2)",               ""},
    {"ClosingBeforeOpeningFails",   ")1+2(",              ""},
    {"DivisionByZeroFails",         "1/0",                ""},
    {"DivisorAtLimitFails",         "1/0.0000001",        ""},
    {"DivisorAboveLimit",           "1/0.000001",         "1000000"},
    {"EmptyFails",                  "",                   ""},
    // Order of operations.
    {"Power",                       "2^3",                "8"},
    {"PowerBeforeProduct",          "2*3^2",              "18"},
    {"ProductTakesNextNumberOnly",  "2*3+4",              "10"},
    {"QuotientsLeftToRight",        "8/4*2",              "4"},
    {"ProductsBeforeSums",          "2-3*4+5",            "-5"},
    {"LeadingMinusAfterPower",      "-2^2",               "-4"},
    {"LeadingPlus",                 "+5",                 "5"},
    {"TrailingOperatorAddsZero",    "1+",                 "1"},
    {"WorkedExample",               "2sin(30)+(1+2)^2",   "10.00000000000006"},
    // Texts without an operator come back as written; computed ones as NumberToText writes them.
    {"PlainNumber",                 "5",                  "5"},
    {"LeadingZerosKept",            "007",                "007"},
    {"GroupedNumberKept",           "(1.50)",             "1.50"},
    {"NegatedNumberComputed",       "-007",               "-7"},
    {"LargeValuePositional",        "10^20",              "100000000000000000000"},
    {"SmallValuePositional",        "10^-20",             "0.00000000000000000001"},
    // Signs right after an operator belong to the operand behind them.
    {"NegativeGroupInProduct",      "2*(1-3)",            "-4"},
    {"NegativeGroupInDifference",   "5-(0-3)",            "8"},
    {"TypedSignAfterProduct",       "2*-3",               "-6"},
    {"SignRun",                     "2*--3",              "6"},
    {"NegativeExponent",            "2^-1",               "0.5"},
    {"NegativeGroupExponent",       "2^(0-1)",            "0.5"},
    {"TypedSignAppliesAfterPower",  "3+-2^2",             "-1"},
    // Chains of powers group from the right.
    {"PowerChain",                  "2^3^2",              "512"},
    {"PowerChainNegativeExponent",  "2^-2^2",             "0.0625"},
    // A negative group or function value raised to a power stays one base.
    {"NegativeGroupSquared",        "(1-3)^2",            "4"},
    {"NegativeGroupSquaredInSum",   "3+(1-3)^2",          "7"},
    {"NegativeFunctionSquared",     "cos(120)^2",         "0.25000000000011946"},
    {"NegatedNegativeGroupSquared", "-(0-2)^2",           "-4"},
    // Infinite and undefined values and their texts read back.
    {"LnOfZero",                    "ln(0)",              "-∞"},
    {"LogOfZero",                   "log(0)",             "-∞"},
    {"LogOfNegative",               "log(0-1)",           "NaN"},
    {"Overflow",                    "e(1000)",            "∞"},
    {"RootOfNegative",              "(0-8)^0.5",          "NaN"},
    {"InfiniteTextReadsBack",       "-∞+1",               "-∞"},
    {"InfiniteTimesZero",           "∞*0",                "NaN"},
    {"InfiniteNegated",             "ln(0)*-1",           "∞"},
    {"UndefinedTextReadsBack",      "NaN+1",              "NaN"},
    {"SineOfInfinite",              "sin(ln(0))",         "NaN"},
    // Text that is no number, operator or call fails instead of reading as 0.
    {"LoneClosingFails",            "2+)+sin(30",         ""},
    {"NameOfPiFails",               "PI*2",               ""},
    {"WordAloneFails",              "abc",                ""},
    {"PercentFails",                "50%",                ""},
    {"PercentAloneFails",           "%",                  ""},
    {"ExponentFormFails",           "1e3",                ""},
    {"NegativeExponentFormFails",   "1e-3",               ""},
    {"ExponentOfCallStillWorks",    "1e(0)",              "1"},
    {"TwoPointsFail",               "1.2.3",              ""},
    {"PointAloneFails",             ".+1",                ""},
    {"WordInsideSineFails",         "sin(pi)",            ""},
    {"WordInsideFailingSumFails",   "sin(1/0+x)",         ""},
    {"UnknownFunctionFails",        "sine(30)",           ""},
    {"CommaFails",                  "1,000+1",            ""},
    {"ValueAfterGroupFails",        "(1+2).5",            ""},
    {"ValueAfterInfiniteFails",     "∞5",                 ""},
    {"UndefinedBeforeDigitFails",   "nan5",               ""},
    {"PiKeyDigits",                 "3.1415926535897932384626433832795*2", "6.283185307179586"},
    {"PointFormsAreNumbers",        "5.+.5",              "5.5"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, EvaluateTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The two steps on their own: ReduceParentheses knows no functions, EvaluateFlat no groups.
struct StepCase {
  const char* name;
  std::string (*step)(std::string_view);
  const char* text;
  const char* result;
  friend std::ostream& operator<<(std::ostream& os, const StepCase& c) {
    return os << '"' << c.text << '"';
  }
};

class EvaluatorStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(EvaluatorStepTest, GivesResultText) {
  EXPECT_EQ(GetParam().step(GetParam().text), GetParam().result);
}

// clang-format off
const StepCase kStepCases[] = {
    {"ReduceInnermostFirst",      ReduceParentheses, "(1+2)*(3+(4-1))", "18"},
    {"ReduceNestedNumberKept",    ReduceParentheses, "((2.50))",        "2.50"},
    {"ReduceNegativeGroup",       ReduceParentheses, "2*(0-3)",         "-6"},
    {"ReduceKnowsNoFunctions",    ReduceParentheses, "sin(30)",         "sin30"},
    {"ReduceClosingFirstFails",   ReduceParentheses, "1)(2",            ""},
    {"ReduceUnclosedFails",       ReduceParentheses, "(1",              ""},
    {"ReduceLoneClosingAtEnd",    ReduceParentheses, "(2)1)",           "21)"},
    {"FlatPowerBeforeProduct",    EvaluateFlat,      "2*3^2",           "18"},
    {"FlatLeadingMinus",          EvaluateFlat,      "-2^2",            "-4"},
    {"FlatSignAfterOperator",     EvaluateFlat,      "5--3",            "8"},
    {"FlatNumberKept",            EvaluateFlat,      "007",             "007"},
    {"FlatDivisionByZeroFails",   EvaluateFlat,      "1/0",             ""},
    {"FlatEmptyFails",            EvaluateFlat,      "",                ""},
    // The evaluator's own sign for computed values cannot be smuggled in.
    {"FlatIgnoresInternalSign",   EvaluateFlat,      "\x01" "2+0",     "2"},
    {"ReduceIgnoresInternalSign", ReduceParentheses, "(\x01" "2)+0",   "2"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, EvaluatorStepTest, ::testing::ValuesIn(kStepCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Evaluate, ResultsReadBackAsTheSameValue) {
  // A result pasted back (as the memory keys do) must mean the same value, never a function or
  // an operator, and no result is written with an exponent.
  for (const char* expression : {"10^300", "10^-300", "0-2/3", "ln(0)", "e(1000)", "log(0-1)"}) {
    const std::string result = Evaluate(expression);
    ASSERT_FALSE(result.empty()) << expression;
    EXPECT_EQ(result.find('e'), std::string::npos) << expression;
    EXPECT_EQ(Evaluate("(" + result + ")*1"), result) << expression;
    EXPECT_EQ(Evaluate("2(" + result + ")"), Evaluate("2*(" + std::string(expression) + ")"))
        << expression;
  }
}

TEST(Evaluate, IgnoresCommaDecimalLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE.UTF-8 locale";
  const std::string sum = Evaluate("1.5+1.25");
  const std::string quotient = Evaluate("1/4");
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(sum, "2.75");
  EXPECT_EQ(quotient, "0.25");
}

std::string Repeat(std::string_view piece, std::size_t count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (std::size_t i = 0; i < count; ++i) text += piece;
  return text;
}

constexpr std::size_t kDeep = 100000;

TEST(EvaluateRobustness, DeepNestingNeedsNoStack) {
  EXPECT_EQ(Evaluate(Repeat("(", kDeep) + "1+1" + Repeat(")", kDeep)), "2");
  EXPECT_EQ(Evaluate(Repeat("2*(", kDeep) + "0-1" + Repeat(")", kDeep)), "-∞");
  EXPECT_EQ(Evaluate(Repeat("sin(", kDeep) + "30" + Repeat(")", kDeep)), "0");
  EXPECT_EQ(Evaluate(Repeat("e(", kDeep) + "0" + Repeat(")", kDeep)), "∞");
  EXPECT_EQ(Evaluate(Repeat("ln((", kDeep) + "1" + Repeat("))", kDeep)), "NaN");
  EXPECT_EQ(Evaluate(Repeat("tan(", kDeep) + Repeat(")", kDeep)), "");
}

TEST(EvaluateRobustness, DeepUnclosedCalls) {
  // Counts that match but ")" in front of every "(" fail however deep.
  EXPECT_EQ(Evaluate(Repeat(")", kDeep) + Repeat("sin(", kDeep) + "1"), "");
  EXPECT_EQ(Evaluate(Repeat(")", kDeep) + Repeat("ln(", kDeep) + "1"), "");
  EXPECT_EQ(Evaluate(Repeat(")", kDeep) + Repeat("(", kDeep)), "");
}

TEST(EvaluateRobustness, PastedSixtyFourKibExpressions) {
  EXPECT_EQ(Evaluate(Repeat("1+", 32768)), "32768");
  EXPECT_EQ(Evaluate(Repeat("(1+2)^2-8+", 6554) + "0"), "6554");
  EXPECT_EQ(Evaluate(Repeat("2*", 32767) + "0.5"), "∞");
  EXPECT_EQ(Evaluate(Repeat("2^", 32767) + "0"), "∞");
  EXPECT_EQ(Evaluate(Repeat("e(1)-e(1)+", 6553) + "0"), "0");
  const std::string digits = "1" + Repeat("0", 65535);
  EXPECT_TRUE(Evaluate(digits) == digits);
  EXPECT_EQ(Evaluate(digits + "+0"), "∞");
}

}  // namespace
}  // namespace velmora
