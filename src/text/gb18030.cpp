#include "text/gb18030.h"

#include <iconv.h>

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

// Converts `input` with iconv; each byte that iconv cannot convert is skipped and `replacement`
// is written in its place.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement) {
  std::string out;
  if (IsAscii(input)) return std::string(input);
  const IconvHandle handle = Open(to, from);
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
    // EILSEQ (invalid) or EINVAL (truncated at the end): skip one byte and go on. GBK writes the
    // euro sign as the single byte 0x80, which GB18030 itself does not accept.
    if (*in_ptr == '\x80' && replacement == kReplacementUtf8) {
      out.append("\xE2\x82\xAC");
    } else {
      out.append(replacement);
    }
    ++in_ptr;
    --in_left;
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
  return Convert("UTF-8", "GB18030", bytes, kReplacementUtf8);
}

std::string Utf8ToGb18030(std::string_view text) {
  return Convert("GB18030", "UTF-8", text, kReplacementGb18030);
}

}  // namespace velmora
