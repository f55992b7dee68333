#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "text/gb18030.h"

namespace {

using velmora::fuzz::Check;
using velmora::fuzz::IsValidUtf8;

// Private-use code points that the C library's GB18030 tables (2022 edition) no longer map; the
// encoder writes each as one U+FFFD.
constexpr char32_t kUnmapped[] = {0xE78D, 0xE78E, 0xE78F, 0xE790, 0xE791, 0xE792, 0xE793, 0xE794,
                                  0xE795, 0xE796, 0xE816, 0xE817, 0xE818, 0xE81E, 0xE826, 0xE82B,
                                  0xE82C, 0xE831, 0xE832, 0xE83B, 0xE843, 0xE854, 0xE855, 0xE864};

void AppendUtf8(std::string& out, char32_t code);

// What a round trip makes of valid UTF-8 text: the unmapped characters become U+FFFD.
std::string RoundTripOf(std::string text) {
  for (const char32_t code : kUnmapped) {
    std::string sequence;
    AppendUtf8(sequence, code);
    for (std::size_t at = text.find(sequence); at != std::string::npos;
         at = text.find(sequence, at)) {
      text.replace(at, sequence.size(), "\uFFFD");
    }
  }
  return text;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Valid Unicode text built from the input: code points from every plane, surrogates skipped.
std::string UnicodeText(FuzzedDataProvider& input) {
  std::string text;
  while (input.remaining_bytes() > 0 && text.size() < 256) {
    char32_t code = 0;
    switch (input.ConsumeIntegralInRange(0, 3)) {
      case 0:
        code = input.ConsumeIntegralInRange<char32_t>(0, 0x7F);
        break;
      case 1:
        code = input.ConsumeIntegralInRange<char32_t>(0x80, 0xFFFF);
        break;
      case 2:
        // The common hanzi, or the private-use block where the unmapped characters lie.
        code = input.ConsumeBool() ? input.ConsumeIntegralInRange<char32_t>(0x4E00, 0x9FFF)
                                   : input.ConsumeIntegralInRange<char32_t>(0xE000, 0xF8FF);
        break;
      default:
        code = input.ConsumeIntegralInRange<char32_t>(0x10000, 0x10FFFF);
        break;
    }
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    AppendUtf8(text, code);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // Any bytes decode to valid UTF-8, and that text survives a round trip unchanged.
  const std::string decoded = velmora::Gb18030ToUtf8(bytes);
  Check(IsValidUtf8(decoded), "decoding gave invalid UTF-8", {bytes, decoded});
  const std::string encoded = velmora::Utf8ToGb18030(decoded);
  Check(velmora::Gb18030ToUtf8(encoded) == decoded, "decoded text did not survive re-encoding",
        {bytes, decoded, encoded});

  // Any bytes taken as UTF-8 encode to bytes that decode to valid UTF-8; valid text is kept.
  const std::string from_utf8 = velmora::Gb18030ToUtf8(velmora::Utf8ToGb18030(bytes));
  Check(IsValidUtf8(from_utf8), "encoding arbitrary bytes gave undecodable output", {bytes});
  if (IsValidUtf8(bytes)) {
    Check(from_utf8 == RoundTripOf(std::string(bytes)), "valid UTF-8 input changed in a round trip",
          {bytes, from_utf8});
  }

  // Valid Unicode text of every plane round-trips exactly.
  FuzzedDataProvider input(data, size);
  const std::string text = UnicodeText(input);
  const std::string round_trip = velmora::Gb18030ToUtf8(velmora::Utf8ToGb18030(text));
  Check(round_trip == RoundTripOf(text), "Unicode text changed in a round trip",
        {text, round_trip});
  return 0;
}
