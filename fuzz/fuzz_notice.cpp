#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/notice.h"

namespace {

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

// Any body, with either marker: the reader never reads past the body; every text it gives is
// non-empty, valid UTF-8 and holds no "|" (a separating bar never ends up inside a text); texts
// come from at most the first 1,006 bytes; a payload without a "|" byte gives one text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (const velmora::NoticeSource& source : {velmora::kMessageNotice, velmora::kAdvertNotice}) {
    // The input both as it stands and behind the right marker, so the payload walk is reached.
    const std::string marked = std::string(source.marker) + std::string(input);
    for (const std::string_view body : {input, std::string_view(marked)}) {
      const auto notice = velmora::ParseNotice(body, source.marker);
      if (!notice) continue;
      if (notice->texts.empty()) __builtin_trap();
      std::size_t bytes = 0;
      for (const std::string& text : notice->texts) {
        if (text.empty() || !IsValidUtf8(text) || text.find('|') != std::string::npos) {
          __builtin_trap();
        }
        bytes += text.size();
      }
      // No payload byte becomes more than three bytes of UTF-8 (a replaced byte: U+FFFD).
      if (bytes > 3 * velmora::kNoticePayloadLimit) __builtin_trap();
      if (!notice->separated && notice->texts.size() != 1) __builtin_trap();
      const std::size_t start = std::min(body.size(), source.marker.size() + 2);
      const std::string_view payload = body.substr(start, velmora::kNoticePayloadLimit);
      if (notice->separated && payload.find('|') == std::string_view::npos) __builtin_trap();
    }
  }
  return 0;
}
