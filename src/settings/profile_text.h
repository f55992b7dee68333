#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace velmora {

// How the bytes of a profile file are read. The program's own files are GB18030 (a superset of
// GBK); a file that starts with a UTF-8 byte-order mark, or that DetectProfileEncoding finds to
// be UTF-8, was saved by some other editor as UTF-8, and its texts are taken as UTF-8.
enum class ProfileEncoding { kGb18030, kUtf8 };

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The encoding of a file body without a byte-order mark. UTF-8 only when all of these hold, so
// that a file written in GBK is never taken for UTF-8 (short GBK texts are often valid UTF-8 by
// accident):
// - the whole body is valid UTF-8 (no overlong forms, surrogates or code points beyond U+10FFFF);
// - read as UTF-8 it holds at least one CJK ideograph, and every non-ASCII character is one that
//   text in a settings file plausibly holds (Latin, Greek, Cyrillic, symbols, CJK, full-width
//   forms, emoji; no C1 controls, private use or rare scripts, which GBK bytes read as UTF-8
//   produce);
// - read as GB18030 it is not plain GB2312 text: it has an invalid or truncated sequence, or a
//   character outside the GB2312 set, where UTF-8 bytes read as GBK land almost always.
// Anything else, ASCII-only bodies included, is GB18030.
ProfileEncoding DetectProfileEncoding(std::string_view body);

// The length of the valid UTF-8 sequence at the start of `text`, or 0 when it starts with none.
std::size_t Utf8SequenceLength(std::string_view text);

// A profile file split into its byte-order mark (kept as it is when the file is rewritten) and
// the body that holds the lines.
struct ProfileBytes {
  std::string_view bom;
  std::string_view body;
  ProfileEncoding encoding = ProfileEncoding::kGb18030;
};

ProfileBytes SplitProfile(std::string_view file);

// `text` without the blanks (spaces and tabs) at either end. Safe on GB18030 bytes: no byte of a
// multi-byte character is a blank.
std::string_view TrimBlanks(std::string_view text);

// Names that can be written without changing the structure of the file: no line break in
// either, no "]" in a section name, and a key that is not empty, holds no "=" and does not start
// with "[". Checked on the UTF-8 text.
bool IsWritableSectionName(std::string_view section);
bool IsWritableKey(std::string_view key);

// The functions below work on the body's raw bytes. Section, key and value are given in the
// body's encoding, section and key already trimmed. Names match without regard to the case of
// ASCII letters, comparing whole characters, so that the trail byte of a GBK character is never
// folded or taken for "[", "]" or "=".

// The value of `key` in the first section named `section`: blanks trimmed and one pair of
// enclosing double quotes removed. Empty when the section or the key does not exist.
std::optional<std::string_view> FindProfileValue(std::string_view body, ProfileEncoding encoding,
                                                 std::string_view section, std::string_view key);

// The body with `key` of the first section named `section` set to `value`: in place when the key
// exists, else as a new line after the section's last item, else as a new section at the end.
// Every other line stays byte for byte. Empty when the stored value already reads as `value`.
std::optional<std::string> SetProfileValue(std::string_view body, ProfileEncoding encoding,
                                           std::string_view section, std::string_view key,
                                           std::string_view value);

// The body with `items` (key and value pairs, in the body's encoding, keys trimmed) as the only
// items of `section`: written in place of the first section of that name, under its header line
// as it stands, or appended as a new section at the end; further sections of that name are
// removed. Values are stored as SetProfileValue stores them. Every other line stays byte for
// byte. With no items, the same as RemoveProfileSection. Empty when nothing changes.
std::optional<std::string> ReplaceProfileSection(
    std::string_view body, ProfileEncoding encoding, std::string_view section,
    std::span<const std::pair<std::string, std::string>> items);

// The body without every section named `section` (headers and all their lines). Empty when no
// such section exists.
std::optional<std::string> RemoveProfileSection(std::string_view body, ProfileEncoding encoding,
                                                std::string_view section);

}  // namespace velmora
