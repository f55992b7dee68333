#include "calc/evaluator.h"

#include <optional>
#include <vector>

#include "calc/expression_text.h"
#include "calc/flat_expression.h"
#include "calc/functions.h"
#include "calc/operand.h"

namespace velmora {
namespace {

using calc::FlatResult;
using calc::Function;

// One open "(" during the single left-to-right pass. Its content is the tail of the shared buffer
// from `start`; groups and calls inside it have already been replaced by their values there.
struct Frame {
  enum class Kind { kRoot, kGroup, kCall };
  Kind kind = Kind::kRoot;
  Function function = Function::kSin;
  std::size_t start = 0;
  // Operator characters in the content, so that an operator-free content (returned as written)
  // costs nothing to recognise however often it is wrapped in parentheses.
  std::size_t operators = 0;
  // Something in this frame's evaluation failed: for a call its argument result is empty, for a
  // group or the whole text the failure spreads outwards.
  bool failed = false;
};

class Reducer {
 public:
  Reducer(std::string_view text, bool functions) : text_(text), functions_(functions) {
    buffer_.reserve(text.size() + 32);
    frames_.push_back(Frame{});
  }

  // The marked result text, or nothing on failure.
  std::optional<std::string> Run() {
    for (std::size_t i = 0; i < text_.size(); ++i) {
      const char c = text_[i];
      if (c == '(') {
        Open(i);
      } else if (c == ')') {
        Close();
      } else {
        Append(c);
      }
      if (frames_.front().failed) return std::nullopt;
    }
    return Finish();
  }

 private:
  void Append(char c) {
    buffer_.push_back(c);
    if (calc::IsOperatorCharacter(c)) ++frames_.back().operators;
  }

  void AppendValue(double value, Frame& into) {
    const std::string text = calc::WriteValue(value);
    if (text.front() == calc::kValueSign) ++into.operators;
    buffer_ += text;
  }

  void Open(std::size_t position) {
    Frame frame;
    frame.kind = Frame::Kind::kGroup;
    const auto function =
        functions_ ? calc::FunctionNameAtEnd(text_.substr(0, position)) : std::nullopt;
    if (function) {
      frame.kind = Frame::Kind::kCall;
      frame.function = *function;
      buffer_.resize(buffer_.size() - calc::FunctionName(*function).size());
      ++open_calls_;
    } else if (stray_closings_ > 0 && open_calls_ == 0) {
      // Groups are reduced from the first ")" on; one that stands behind a ")" without partner can
      // never be reached.
      frames_.front().failed = true;
    }
    frame.start = buffer_.size();
    frames_.push_back(frame);
  }

  void Close() {
    if (frames_.size() == 1) {
      // Without an open "(" the ")" is an ordinary character of the text.
      ++stray_closings_;
      buffer_.push_back(')');
      return;
    }
    const Frame frame = frames_.back();
    frames_.pop_back();
    Frame& parent = frames_.back();
    if (frame.kind == Frame::Kind::kCall) {
      --open_calls_;
      CompleteCall(frame, parent, !frame.failed);
    } else {
      CompleteGroup(frame, parent);
    }
  }

  std::string_view Content(const Frame& frame) const {
    return std::string_view(buffer_).substr(frame.start);
  }

  void CompleteGroup(const Frame& frame, Frame& parent) {
    const FlatResult result = frame.failed
                                  ? FlatResult{FlatResult::Kind::kFailed}
                                  : calc::EvaluateFlatText(Content(frame), frame.operators > 0);
    switch (result.kind) {
      case FlatResult::Kind::kUnchanged:
        // The content is the group's value as written; an empty pair fails.
        if (!Content(frame).empty()) return;
        [[fallthrough]];
      case FlatResult::Kind::kFailed:
        buffer_.resize(frame.start);
        parent.failed = true;
        return;
      case FlatResult::Kind::kValue:
        buffer_.resize(frame.start);
        AppendValue(result.value, parent);
        return;
    }
  }

  // Evaluates the call's argument (its content) when `evaluate_argument`, otherwise the argument
  // result is empty, and puts the function's value in place of the call. False when the call fails.
  bool CompleteCall(const Frame& frame, Frame& parent, bool evaluate_argument) {
    std::optional<double> value;
    const FlatResult result = evaluate_argument
                                  ? calc::EvaluateFlatText(Content(frame), frame.operators > 0)
                                  : FlatResult{FlatResult::Kind::kFailed};
    switch (result.kind) {
      case FlatResult::Kind::kFailed:
        value = calc::ApplyFunction(frame.function, "");
        break;
      case FlatResult::Kind::kUnchanged:
        value = calc::ApplyFunction(frame.function, Content(frame));
        break;
      case FlatResult::Kind::kValue:
        value = calc::ApplyFunction(frame.function, calc::WriteValue(result.value));
        break;
    }
    buffer_.resize(frame.start);
    if (!value) {
      parent.failed = true;
      return false;
    }
    AppendValue(*value, parent);
    return true;
  }

  // Calls and groups still open at the end are nested in one another, the first outermost; they
  // take their arguments to the end of the text. Their "(" balance ")" that come before any "(",
  // all at the outermost level. Taken by name as the calls are searched for, a call is complete
  // only when every call opened after it has been completed already; otherwise its argument still
  // holds a "(" without partner and its result is empty. The groups among them are never closed,
  // so the whole text fails when one is left over.
  std::optional<std::string> Finish() {
    for (std::size_t k = frames_.size() - 1; k >= 1; --k) {
      if (frames_[k].failed && frames_[k].kind == Frame::Kind::kGroup) {
        frames_[k - 1].failed = true;
      }
    }
    if (frames_.front().failed) return std::nullopt;
    std::size_t last = frames_.size() - 1;
    for (const Function function : calc::kFunctionOrder) {
      std::size_t j = 1;
      while (j <= last &&
             !(frames_[j].kind == Frame::Kind::kCall && frames_[j].function == function)) {
        ++j;
      }
      if (j > last) continue;
      // Every one of these calls is evaluated at the outermost level, so its failure is final.
      const bool complete = j == last && !frames_[j].failed;
      if (!CompleteCall(frames_[j], frames_[j - 1], complete)) return std::nullopt;
      last = j - 1;
    }
    if (last >= 1) return std::nullopt;

    const Frame& root = frames_.front();
    const FlatResult result = calc::EvaluateFlatText(buffer_, root.operators > 0);
    switch (result.kind) {
      case FlatResult::Kind::kFailed:
        return std::nullopt;
      case FlatResult::Kind::kUnchanged:
        return std::move(buffer_);
      case FlatResult::Kind::kValue:
        return calc::WriteValue(result.value);
    }
    return std::nullopt;
  }

  std::string_view text_;
  bool functions_;
  std::string buffer_;
  std::vector<Frame> frames_;
  std::size_t open_calls_ = 0;
  std::size_t stray_closings_ = 0;
};

std::string WithoutValueSigns(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    if (c != calc::kValueSign) result.push_back(c);
  }
  return result;
}

}  // namespace

std::string Evaluate(std::string_view expression) {
  const std::string text = calc::NormaliseExpression(expression);
  if (!calc::ParenthesesBalanced(text)) return {};
  const std::string expanded = calc::InsertImpliedProducts(text);
  if (!calc::IsWellFormedExpression(expanded)) return {};
  auto result = Reducer(expanded, /*functions=*/true).Run();
  return result ? calc::PlainText(std::move(*result)) : std::string();
}

std::string ReduceParentheses(std::string_view text) {
  const std::string own = WithoutValueSigns(text);
  auto result = Reducer(own, /*functions=*/false).Run();
  return result ? calc::PlainText(std::move(*result)) : std::string();
}

std::string EvaluateFlat(std::string_view text) {
  const std::string own = WithoutValueSigns(text);
  const FlatResult result = calc::EvaluateFlatText(own);
  switch (result.kind) {
    case FlatResult::Kind::kFailed:
      return {};
    case FlatResult::Kind::kUnchanged:
      return own;
    case FlatResult::Kind::kValue:
      return calc::PlainText(calc::WriteValue(result.value));
  }
  return {};
}

}  // namespace velmora
