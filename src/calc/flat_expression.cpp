#include "calc/flat_expression.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "calc/operand.h"

namespace velmora::calc {
namespace {

// Divisors at most this far from 0 fail the evaluation instead of giving huge quotients.
constexpr double kSmallestDivisor = 1e-07;

bool IsSign(char c) {
  return c == '+' || c == '-';
}

bool EndsOperand(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/';
}

// One base or exponent of a power chain and whether the signs written in front of it negate it.
struct PowerPiece {
  std::string_view text;
  bool negative = false;
};

class FlatReader {
 public:
  explicit FlatReader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }
  char Take() { return text_[pos_++]; }

  // Reads the operand at the current position: its signs, then its body up to the next operator.
  // Inside the body a "^" may be followed by the exponent's own signs.
  double ReadOperandWithPowers() {
    const std::size_t start = pos_;
    while (!AtEnd() && IsSign(Peek())) ++pos_;
    const std::size_t body = pos_;
    pieces_.clear();
    std::size_t piece_start = body;
    bool piece_negative = false;
    while (!AtEnd() && !EndsOperand(Peek())) {
      if (Take() != '^') continue;
      pieces_.push_back({text_.substr(piece_start, pos_ - 1 - piece_start), piece_negative});
      piece_negative = false;
      while (!AtEnd() && IsSign(Peek())) {
        if (Take() == '-') piece_negative = !piece_negative;
      }
      piece_start = pos_;
    }
    if (pieces_.empty()) return ReadOperand(text_.substr(start, pos_ - start));
    pieces_.push_back({text_.substr(piece_start, pos_ - piece_start), piece_negative});

    // The chain groups from the right: each exponent is the power of everything behind it.
    double exponent = ReadOperand(pieces_.back().text);
    if (pieces_.back().negative) exponent = -exponent;
    for (std::size_t k = pieces_.size() - 2; k >= 1; --k) {
      exponent = std::pow(ReadOperand(pieces_[k].text), exponent);
      if (pieces_[k].negative) exponent = -exponent;
    }
    const double power = Canonical(std::pow(ReadOperand(pieces_.front().text), exponent));
    const bool negative = std::count(text_.begin() + static_cast<std::ptrdiff_t>(start),
                                     text_.begin() + static_cast<std::ptrdiff_t>(body), '-') %
                              2 ==
                          1;
    return negative ? -power : power;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::vector<PowerPiece> pieces_;
};

}  // namespace

bool IsOperatorCharacter(char c) {
  return EndsOperand(c) || c == '^' || c == kValueSign;
}

FlatResult EvaluateFlatText(std::string_view text) {
  return EvaluateFlatText(text, std::any_of(text.begin(), text.end(), IsOperatorCharacter));
}

FlatResult EvaluateFlatText(std::string_view text, bool has_operators) {
  if (!has_operators) return {FlatResult::Kind::kUnchanged};
  FlatReader reader(text);
  double sum = 0.0;
  char sum_operator = 0;
  for (;;) {
    double term = reader.ReadOperandWithPowers();
    while (!reader.AtEnd() && (reader.Peek() == '*' || reader.Peek() == '/')) {
      const char op = reader.Take();
      const double right = reader.ReadOperandWithPowers();
      if (op == '*') {
        term = Canonical(term * right);
      } else if (std::fabs(right) <= kSmallestDivisor) {
        return {FlatResult::Kind::kFailed};
      } else {
        term = Canonical(term / right);
      }
    }
    if (sum_operator == 0) {
      sum = term;
    } else {
      sum = Canonical(sum_operator == '+' ? sum + term : sum - term);
    }
    if (reader.AtEnd()) break;
    sum_operator = reader.Take();
  }
  return {FlatResult::Kind::kValue, Canonical(sum)};
}

}  // namespace velmora::calc
