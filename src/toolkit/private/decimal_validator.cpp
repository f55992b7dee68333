#include "toolkit/private/decimal_validator.h"

#include <QLineEdit>
#include <algorithm>

namespace velmora {
namespace {

bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

bool IsProgramMark(QChar c) {
  return c == QChar(0x221E) || c == u'N' || c == u'a';
}

// The ASCII form of a character a Chinese input method writes in full-width mode.
QChar Plain(QChar c) {
  const char16_t code = c.unicode();
  if (code >= 0xFF10 && code <= 0xFF19) return QChar(u'0' + (code - 0xFF10));
  switch (code) {
    case 0xFF0E:  // full-width point
    case 0x3002:  // ideographic full stop
      return u'.';
    case 0xFF0D:  // full-width hyphen-minus
    case 0x2212:  // minus sign
      return u'-';
    case 0xFF0B:
      return u'+';
    case 0xFF0C:
      return u',';
    case 0xFF45:
      return u'e';
    case 0xFF25:
      return u'E';
    default:
      return c;
  }
}

// Whether the commas of `text` (plain, without blanks) stand only in the integer part and split
// it into groups of three digits after a first group of one to three.
bool GroupsDigitsInThrees(const QString& text) {
  qsizetype i = text.startsWith(u'-') ? 1 : 0;
  qsizetype group = 0;
  bool first = true;
  for (; i < text.size() && (IsDigit(text[i]) || text[i] == u','); ++i) {
    if (text[i] != u',') {
      ++group;
      continue;
    }
    if (group == 0 || group > 3 || (!first && group != 3)) return false;
    first = false;
    group = 0;
  }
  if (!first && group != 3) return false;
  return !text.mid(i).contains(u',');
}

// Whether the edit from `before` to `after` brought in a comma: the part of `after` between what
// the two texts share at their start and at their end.
bool EditBroughtComma(const QString& before, const QString& after) {
  const qsizetype shortest = std::min(before.size(), after.size());
  qsizetype start = 0;
  while (start < shortest && before[start] == after[start]) ++start;
  qsizetype end = 0;
  while (end < shortest - start &&
         before[before.size() - 1 - end] == after[after.size() - 1 - end]) {
    ++end;
  }
  const QStringView inserted = QStringView(after).mid(start, after.size() - start - end);
  return inserted.contains(u',') || inserted.contains(QChar(0xFF0C));
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

QValidator::State ValidateDecimalEdit(const QString& before, QString& input, int& position) {
  qsizetype first = 0;
  qsizetype last = input.size();
  while (first < last && input[first].isSpace()) ++first;
  while (last > first && input[last - 1].isSpace()) --last;

  // The plain text with the program's marks gone; commas are judged below.
  QString plain;
  plain.reserve(last - first);
  int plain_position = 0;
  for (qsizetype i = first; i < last; ++i) {
    const QChar c = Plain(input[i]);
    if (IsProgramMark(c)) continue;
    plain.append(c);
    if (i < position) ++plain_position;
  }
  if (plain.contains(u',')) {
    if (EditBroughtComma(before, input) && !GroupsDigitsInThrees(plain)) {
      return QValidator::Invalid;
    }
    QString kept;
    kept.reserve(plain.size());
    int kept_position = plain_position;
    for (qsizetype i = 0; i < plain.size(); ++i) {
      if (plain[i] == u',') {
        if (i < plain_position) --kept_position;
        continue;
      }
      kept.append(plain[i]);
    }
    plain = kept;
    plain_position = kept_position;
  }

  const QValidator::State state = ClassifyDecimalText(plain);
  if (state != QValidator::Invalid && plain != input) {
    input = plain;
    position = plain_position;
  }
  return state;
}

DecimalValidator::DecimalValidator(QLineEdit* box) : QValidator(box), shown_(box->text()) {
  connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text; });
}

QValidator::State DecimalValidator::validate(QString& input, int& position) const {
  return ValidateDecimalEdit(shown_, input, position);
}

}  // namespace velmora
