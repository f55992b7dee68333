#pragma once

#include <string>
#include <string_view>

namespace velmora::literal {

// A slow, recursive evaluator that rewrites the expression text step by step exactly as the
// evaluator's rules read: functions name by name (each argument by a full evaluation of its own),
// then the innermost groups, then powers, products and sums, all by searching and splicing the
// text. It makes the same choices as velmora::Evaluate (signs after operators, chains of powers,
// computed-value signs) and shares its leaf helpers (normalisation, operand reading, functions),
// so the two must agree on every input. For short inputs only: its time is quadratic and its
// recursion as deep as the nesting.
std::string Evaluate(std::string_view expression);

}  // namespace velmora::literal
