#include <utility>

#include "settings/profile_text.h"
#include "text/gb18030.h"

namespace velmora {
namespace {

bool InRange(unsigned char byte, unsigned lo, unsigned hi) {
  return byte >= lo && byte <= hi;
}

char32_t DecodeUtf8(std::string_view sequence) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
  switch (sequence.size()) {
    case 1:
      return byte(0);
    case 2:
      return (char32_t(byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
    case 3:
      return (char32_t(byte(0) & 0x0F) << 12) | (char32_t(byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    default:
      return (char32_t(byte(0) & 0x07) << 18) | (char32_t(byte(1) & 0x3F) << 12) |
             (char32_t(byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
  }
}

bool IsCjkIdeograph(char32_t c) {
  return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3134F);
}

// Characters that text in a settings file plausibly holds. GBK bytes read as UTF-8 give mostly
// characters of other scripts (U+0500 to U+1DFF), C1 controls and private use, all left out.
bool IsPlausibleText(char32_t c) {
  static constexpr std::pair<char32_t, char32_t> kRanges[] = {
      {0x00A0, 0x024F},    // Latin-1 supplement, Latin extended A and B
      {0x0300, 0x04FF},    // combining marks, Greek, Cyrillic
      {0x1E00, 0x1EFF},    // Latin extended additional
      {0x2000, 0x2BFF},    // punctuation, super- and subscripts, letterlike, arrows, maths, ...
      {0x2E80, 0x2FDF},    // CJK radicals
      {0x3000, 0x9FFF},    // CJK symbols, kana, bopomofo, CJK compatibility, ideographs
      {0xAC00, 0xD7AF},    // Hangul syllables
      {0xF900, 0xFAFF},    // CJK compatibility ideographs
      {0xFE10, 0xFE6F},    // vertical and small forms
      {0xFF00, 0xFFEF},    // full-width and half-width forms
      {0x1F000, 0x1FAFF},  // emoji and pictographs
      {0x20000, 0x3134F},  // CJK ideographs, extensions B to G
  };
  for (const auto& [lo, hi] : kRanges) {
    if (c >= lo && c <= hi) return true;
  }
  return false;
}

// True when `body` read as UTF-8 is valid, holds a CJK ideograph and only plausible characters.
bool IsPlausibleUtf8(std::string_view body) {
  bool has_ideograph = false;
  while (!body.empty()) {
    const std::size_t length = Utf8SequenceLength(body);
    if (length == 0) return false;
    if (length > 1) {
      const char32_t c = DecodeUtf8(body.substr(0, length));
      if (!IsPlausibleText(c)) return false;
      has_ideograph = has_ideograph || IsCjkIdeograph(c);
    }
    body.remove_prefix(length);
  }
  return has_ideograph;
}

// True when `body` read as GB18030 is valid and made of ASCII and characters of GB2312 (rows
// A1 to A9 and B0 to F7, trail bytes A1 to FE, not mapped to private use), the text that
// programs writing GBK produce.
bool IsPlainGb2312(std::string_view body) {
  for (std::size_t i = 0; i < body.size();) {
    const auto lead = static_cast<unsigned char>(body[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if (i + 1 >= body.size()) return false;
    const auto trail = static_cast<unsigned char>(body[i + 1]);
    if (!(InRange(lead, 0xA1, 0xA9) || InRange(lead, 0xB0, 0xF7)) || !InRange(trail, 0xA1, 0xFE)) {
      return false;
    }
    i += 2;
  }
  // Cells that GB2312 leaves empty decode to private use (U+E000 to U+F8FF: EE 80 80 to
  // EF A3 BF in UTF-8).
  const std::string text = Gb18030ToUtf8(body);
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    if (b0 == 0xEE || (b0 == 0xEF && b1 <= 0xA3)) return false;
  }
  return true;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  if (lead < 0x80) {
    return 1;
  } else if (InRange(lead, 0xC2, 0xDF)) {
    length = 2;
  } else if (InRange(lead, 0xE0, 0xEF)) {
    length = 3;
  } else if (InRange(lead, 0xF0, 0xF4)) {
    length = 4;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) return 0;
  }
  const auto second = static_cast<unsigned char>(text[1]);
  // Overlong forms, UTF-16 surrogates and code points above U+10FFFF.
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
    return 0;
  }
  return length;
}

ProfileEncoding DetectProfileEncoding(std::string_view body) {
  // Most GBK files fail the first test within their first few non-ASCII bytes.
  if (IsPlausibleUtf8(body) && !IsPlainGb2312(body)) return ProfileEncoding::kUtf8;
  return ProfileEncoding::kGb18030;
}

}  // namespace velmora
