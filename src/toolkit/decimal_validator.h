#pragma once

#include <QValidator>

namespace velmora {

// Accepts decimal-number text as TextToNumber reads it: an optional leading minus, digits with at
// most one point, and an exponent ("e" or "E", optional sign, digits) after a mantissa digit.
// Partial forms that typing passes through ("", "-", ".", "1e", "1e-") are intermediate.
// Characters that only the program writes into such boxes (the "," of grouped results and the
// "∞" / "NaN" of undefined ones) are dropped from an edit, so a result can be edited in place;
// any other character rejects the edit.
class DecimalValidator final : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& position) const override;
};

// The state of `text` alone, without dropping any characters.
QValidator::State ClassifyDecimalText(const QString& text);

}  // namespace velmora
