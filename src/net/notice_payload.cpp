#include <algorithm>
#include <charconv>
#include <utility>

#include "net/notice.h"
#include "text/gb18030.h"

namespace velmora {
namespace {

constexpr char kSeparator = '|';

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
  return byte >= low && byte <= high;
}

// Length of the code page 936 / GB18030 character at `pos`. A byte that starts no complete
// character counts alone; the codec shows it as a replacement character.
std::size_t CharacterLength(std::string_view bytes, std::size_t pos) {
  const auto at = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const std::size_t left = bytes.size() - pos;
  if (!InRange(at(pos), 0x81, 0xFE) || left < 2) return 1;
  const unsigned char second = at(pos + 1);
  if (InRange(second, 0x40, 0x7E) || InRange(second, 0x80, 0xFE)) return 2;
  if (InRange(second, 0x30, 0x39) && left >= 4 && InRange(at(pos + 2), 0x81, 0xFE) &&
      InRange(at(pos + 3), 0x30, 0x39)) {
    return 4;
  }
  return 1;
}

bool IsHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.';
}

bool IsValidPort(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return false;
  int port = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  return error == std::errc{} && end == digits.data() + digits.size() && port >= 1 && port <= 65535;
}

}  // namespace

std::optional<NoticeTexts> ParseNotice(std::string_view body, std::string_view marker) {
  if (marker.empty() || !body.starts_with(marker)) return std::nullopt;
  const std::size_t start = std::min(body.size(), marker.size() + kNoticeSkippedBytes);
  // Character lengths look at the whole body, so a character that crosses the cut is seen whole
  // and dropped rather than cut in two.
  const std::string_view rest = body.substr(start);
  const std::size_t limit = std::min(rest.size(), kNoticePayloadLimit);

  NoticeTexts notice;
  std::size_t piece_start = 0;
  std::size_t pos = 0;
  const auto end_piece = [&](std::size_t piece_end) {
    if (piece_end > piece_start) {
      notice.texts.push_back(Gb18030ToUtf8(rest.substr(piece_start, piece_end - piece_start)));
    }
  };
  while (pos < limit) {
    const std::size_t length = CharacterLength(rest, pos);
    if (pos + length > limit) break;
    if (length == 1 && rest[pos] == kSeparator) {
      notice.separated = true;
      end_piece(pos);
      piece_start = pos + 1;
    }
    pos += length;
  }
  end_piece(pos);
  if (notice.texts.empty()) return std::nullopt;
  return notice;
}

void StoreNoticeTexts(std::vector<std::string>& list, NoticeTexts notice) {
  if (notice.texts.empty()) return;
  if (notice.separated || list.empty()) {
    list = std::move(notice.texts);
  } else {
    list.front() = std::move(notice.texts.front());
  }
}

std::optional<std::string> NoticeAddress(std::string_view server, std::string_view path) {
  // The scheme is always http; a server written with it is taken as well.
  if (server.starts_with("http://")) server.remove_prefix(7);
  const std::size_t colon = server.find(':');
  const std::string_view host = server.substr(0, colon);
  if (host.empty() || !std::all_of(host.begin(), host.end(), IsHostCharacter)) return std::nullopt;
  if (colon != std::string_view::npos && !IsValidPort(server.substr(colon + 1))) {
    return std::nullopt;
  }
  std::string address = "http://";
  address += server;
  address += path;
  return address;
}

}  // namespace velmora
