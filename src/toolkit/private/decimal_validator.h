#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

namespace velmora {

// Accepts decimal-number text as TextToNumber reads it: an optional leading minus, digits with at
// most one point, and an exponent ("e" or "E", optional sign, digits) after a mantissa digit.
// Partial forms that typing passes through ("", "-", ".", "1e", "1e-") are intermediate.
// What typing, pasting and a Chinese input method bring in is made plain first:
// - full-width digits, point, minus, plus and "e" (１２．５), the ideographic full stop and the
//   minus sign become their ASCII forms;
// - blanks and line breaks around the text (copied from a spreadsheet or a terminal) go;
// - the "∞" / "NaN" of undefined results are dropped, so a result can be edited in place;
// - commas go when they only group digits: the commas of a grouped result the program wrote, or
//   commas brought in by the edit that split the integer part into threes (1,234,567.8). Any
//   other comma ("5,5", "1,23") rejects the edit rather than silently changing the number.
// Any other character rejects the edit.
class DecimalValidator final : public QValidator {
 public:
  DecimalValidator() = default;
  // Validates the edits of `box`, whose child it becomes; it follows the text the box shows.
  explicit DecimalValidator(QLineEdit* box);

  State validate(QString& input, int& position) const override;

 private:
  QString shown_;
};

// The state of `text` alone, without changing any characters.
QValidator::State ClassifyDecimalText(const QString& text);

// The judgement of one edit: `before` is the text shown before it, `input` and `position` the
// text and caret after it, both rewritten to their plain form unless the edit is rejected.
QValidator::State ValidateDecimalEdit(const QString& before, QString& input, int& position);

}  // namespace velmora
