#include "toolkit/decimal_validator.h"

namespace velmora {
namespace {

bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

bool IsProgramMark(QChar c) {
  return c == u',' || c == QChar(0x221E) || c == u'N' || c == u'a';
}

}  // namespace

QValidator::State ClassifyDecimalText(const QString& text) {
  using enum QValidator::State;
  qsizetype i = 0;
  const qsizetype n = text.size();
  if (i < n && text[i] == u'-') ++i;
  qsizetype mantissa_digits = 0;
  bool point = false;
  for (; i < n; ++i) {
    if (IsDigit(text[i])) {
      ++mantissa_digits;
    } else if (text[i] == u'.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (i == n) return mantissa_digits > 0 ? Acceptable : Intermediate;
  if ((text[i] != u'e' && text[i] != u'E') || mantissa_digits == 0) return Invalid;
  ++i;
  if (i < n && (text[i] == u'-' || text[i] == u'+')) ++i;
  qsizetype exponent_digits = 0;
  for (; i < n; ++i) {
    if (!IsDigit(text[i])) return Invalid;
    ++exponent_digits;
  }
  return exponent_digits > 0 ? Acceptable : Intermediate;
}

QValidator::State DecimalValidator::validate(QString& input, int& position) const {
  QString kept;
  kept.reserve(input.size());
  int kept_position = position;
  for (qsizetype i = 0; i < input.size(); ++i) {
    if (IsProgramMark(input[i])) {
      if (i < position) --kept_position;
      continue;
    }
    kept.append(input[i]);
  }
  const State state = ClassifyDecimalText(kept);
  if (state != Invalid && kept.size() != input.size()) {
    input = kept;
    position = kept_position;
  }
  return state;
}

}  // namespace velmora
