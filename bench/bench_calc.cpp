#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "calc/evaluator.h"

namespace {

// A typical piece of calculator input: functions, groups, powers, products, quotients.
constexpr std::string_view kPiece = "sin(30)*2+(1.5-0.25)^2/3-ln(e(2))+cos(60)(4-1)-";

// Repeats kPiece up to `size` bytes and closes the expression with a number.
std::string ExpressionOfSize(std::size_t size) {
  std::string text;
  while (text.size() + kPiece.size() + 1 <= size) text += kPiece;
  text += "1";
  return text;
}

std::string Nested(std::string_view open, std::string_view inner, std::string_view close,
                   std::size_t depth) {
  std::string text;
  for (std::size_t i = 0; i < depth; ++i) text += open;
  text += inner;
  for (std::size_t i = 0; i < depth; ++i) text += close;
  return text;
}

void Run(benchmark::State& state, const std::string& expression) {
  for (auto _ : state) {
    std::string result = velmora::Evaluate(expression);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(expression.size()));
}

void BM_WorkedExample(benchmark::State& state) {
  Run(state, "2sin(30)+(1+2)^2");
}
BENCHMARK(BM_WorkedExample);

void BM_OneKibExpression(benchmark::State& state) {
  Run(state, ExpressionOfSize(1024));
}
BENCHMARK(BM_OneKibExpression);

// A pasted expression of 64 KiB must come back well within 100 ms.
void BM_SixtyFourKibExpression(benchmark::State& state) {
  Run(state, ExpressionOfSize(64 * 1024));
}
BENCHMARK(BM_SixtyFourKibExpression)->Unit(benchmark::kMillisecond);

void BM_SixtyFourKibNestedCalls(benchmark::State& state) {
  Run(state, Nested("sin(", "30", ")", 64 * 1024 / 5));
}
BENCHMARK(BM_SixtyFourKibNestedCalls)->Unit(benchmark::kMillisecond);

void BM_SixtyFourKibNestedGroups(benchmark::State& state) {
  Run(state, Nested("(1+", "1", ")", 64 * 1024 / 4));
}
BENCHMARK(BM_SixtyFourKibNestedGroups)->Unit(benchmark::kMillisecond);

void BM_SixtyFourKibNumber(benchmark::State& state) {
  Run(state, "1" + std::string(64 * 1024 - 3, '7') + "+1");
}
BENCHMARK(BM_SixtyFourKibNumber)->Unit(benchmark::kMillisecond);

void BM_HundredThousandNestedParentheses(benchmark::State& state) {
  Run(state, Nested("(", "1", ")", 100000));
}
BENCHMARK(BM_HundredThousandNestedParentheses)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
