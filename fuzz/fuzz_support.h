#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace velmora::fuzz {

// Prints what went wrong with the texts involved (escaped, so that any bytes show) and stops the
// run, so that libFuzzer saves the input.
[[noreturn]] inline void Fail(std::string_view what,
                              std::initializer_list<std::string_view> texts = {}) {
  std::fprintf(stderr, "%.*s\n", static_cast<int>(what.size()), what.data());
  for (const std::string_view text : texts) {
    std::fputc('[', stderr);
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x20 && byte < 0x7f && c != '\\') {
        std::fputc(c, stderr);
      } else {
        std::fprintf(stderr, "\\x%02X", byte);
      }
    }
    std::fputs("]\n", stderr);
  }
  __builtin_trap();
}

inline void Check(bool condition, std::string_view what,
                  std::initializer_list<std::string_view> texts = {}) {
  if (!condition) Fail(what, texts);
}

// ASCII letters in lower case, other bytes as they are (the process locale plays no part).
inline std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// Strict UTF-8: no overlong forms, no UTF-16 surrogates, nothing above U+10FFFF.
inline bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace velmora::fuzz
