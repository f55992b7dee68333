#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "calc/evaluator.h"
#include "literal_evaluator.h"

namespace {

// The literal evaluator is quadratic and recurses as deep as the nesting; keep it to short inputs.
constexpr std::size_t kLiteralLimit = 512;

[[noreturn]] void Fail(std::string_view what, std::string_view input, std::string_view a,
                       std::string_view b) {
  std::fprintf(stderr, "%.*s\ninput:   [%.*s]\nresult:  [%.*s]\nliteral: [%.*s]\n",
               static_cast<int>(what.size()), what.data(), static_cast<int>(input.size()),
               input.data(), static_cast<int>(a.size()), a.data(), static_cast<int>(b.size()),
               b.data());
  __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string result = velmora::Evaluate(input);
  if (result.find('\x01') != std::string::npos) Fail("internal sign leaked", input, result, "");
  if (size <= kLiteralLimit) {
    const std::string literal = velmora::literal::Evaluate(input);
    if (result != literal) Fail("evaluators disagree", input, result, literal);
  }
  // Whatever the text, its flat and parenthesis steps must cope with it as well.
  velmora::ReduceParentheses(input.substr(0, 4096));
  velmora::EvaluateFlat(input.substr(0, 4096));
  return 0;
}
