#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One of the two notice files the main window shows: where it lives on the notice server and the
// marker word (code page 936 bytes) its body must begin with.
struct NoticeSource {
  std::string_view path;
  std::string_view marker;
};

inline constexpr NoticeSource kMessageNotice{"/regsoft/msg.txt", "\xCF\xFB\xCF\xA2"};  // 消息
inline constexpr NoticeSource kAdvertNotice{"/regsoft/ad.txt", "\xB9\xE3\xB8\xE6"};    // 广告

// Bytes of the body that follow the marker and are not part of the payload.
inline constexpr std::size_t kNoticeSkippedBytes = 2;
// The payload is cut after this many bytes, at a character boundary.
inline constexpr std::size_t kNoticePayloadLimit = 1000;
// A notice body longer than this is no notice; the fetch stops reading there.
inline constexpr std::size_t kNoticeBodyLimit = 64 * 1024;

// The texts of a valid notice file (UTF-8), in order. `separated` tells whether the payload held
// a "|": such a list replaces the whole display list, a single text only its first entry.
struct NoticeTexts {
  std::vector<std::string> texts;
  bool separated = false;
};

// Reads a notice body: the marker, two skipped bytes, then at most kNoticePayloadLimit bytes of
// code page 936 (GB18030) text holding texts separated by "|". The payload is walked a character
// at a time, so a "|" that is the second byte of a double-byte character separates nothing and
// the cut never splits a character (a character that would cross it is dropped). Empty texts are
// left out. Nothing when the marker is missing or no text is left to show.
std::optional<NoticeTexts> ParseNotice(std::string_view body, std::string_view marker);

// Puts the texts into the display list: a separated list replaces it, a single text becomes its
// first entry.
void StoreNoticeTexts(std::vector<std::string>& list, NoticeTexts notice);

// "http://" + server + path, for a server given as host[:port]; nothing when the server is empty
// or holds anything but a host name or IPv4 address and an optional port.
std::optional<std::string> NoticeAddress(std::string_view server, std::string_view path);

// Fetches `address` with the HTTP client's defaults (a GET, 90 seconds at most, a body of at most
// kNoticeBodyLimit bytes) and hands the texts of a valid notice to `hand_over`. Returns whether
// it did. Blocks its thread for as long as the fetch takes.
bool FetchNotice(std::string_view address, std::string_view marker,
                 const std::function<void(NoticeTexts)>& hand_over);

}  // namespace velmora
