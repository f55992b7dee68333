#include "text/gb18030.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace velmora {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
constexpr std::string_view kReplacementGb18030 = "\x84\x31\xA4\x37";

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle Open(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  return IconvHandle(cd);
}

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (length == 0 || text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms, UTF-16 surrogates and code points above U+10FFFF.
  if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0) ||
      (lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) >= 0x90)) {
    return 0;
  }
  return length;
}

enum class Direction { kDecode, kEncode };

// Converts `input` with iconv; what iconv cannot convert is skipped and `replacement` written in
// its place: one invalid byte at a time, or, when encoding, a whole well-formed character that
// the C library's tables lack (the private-use code points that the 2022 edition of GB18030
// gave up).
std::string Convert(Direction direction, std::string_view input) {
  const bool decode = direction == Direction::kDecode;
  const std::string_view replacement = decode ? kReplacementUtf8 : kReplacementGb18030;
  std::string out;
  if (IsAscii(input)) return std::string(input);
  const IconvHandle handle = decode ? Open("UTF-8", "GB18030") : Open("GB18030", "UTF-8");
  if (!handle) return std::string(input);
  auto* cd = static_cast<iconv_t>(handle.get());
  out.reserve(input.size() * 2);
  char* in_ptr = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  char buffer[4096];
  while (in_left > 0) {
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    out.append(buffer, static_cast<std::size_t>(out_ptr - buffer));
    if (rc != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ (invalid) or EINVAL (truncated at the end). GBK writes the euro sign as the single
    // byte 0x80, which GB18030 itself does not accept.
    std::size_t skip = 1;
    if (decode && *in_ptr == '\x80') {
      out.append("\xE2\x82\xAC");
    } else {
      if (!decode) skip = std::max<std::size_t>(Utf8SequenceLength({in_ptr, in_left}), 1);
      out.append(replacement);
    }
    in_ptr += skip;
    in_left -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::string Gb18030ToUtf8(std::string_view bytes) {
  return Convert(Direction::kDecode, bytes);
}

std::string Utf8ToGb18030(std::string_view text) {
  return Convert(Direction::kEncode, text);
}

}  // namespace velmora
