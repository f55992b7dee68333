#include "settings/profile_text.h"

#include <algorithm>
#include <cstring>

namespace velmora {
namespace {

constexpr std::string_view kGb18030Bom = "\x84\x31\x95\x33";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsBreak(char c) {
  return c == '\n' || c == '\r';
}

bool InRange(char c, unsigned lo, unsigned hi) {
  const auto b = static_cast<unsigned char>(c);
  return b >= lo && b <= hi;
}

// Bytes in the character that starts at text[i], as the GB18030 decoder splits them: 1, 2 or 4.
// A byte that starts no valid sequence is a character of its own. In UTF-8 every byte of a
// multi-byte character is 0x80 or above, so looking at single bytes is already exact there.
std::size_t CharLength(std::string_view text, std::size_t i, ProfileEncoding encoding) {
  if (encoding == ProfileEncoding::kUtf8 || !InRange(text[i], 0x81, 0xFE)) return 1;
  if (i + 1 >= text.size()) return 1;
  const char second = text[i + 1];
  if (InRange(second, 0x40, 0xFE) && second != '\x7F') return 2;
  if (InRange(second, 0x30, 0x39) && i + 3 < text.size() && InRange(text[i + 2], 0x81, 0xFE) &&
      InRange(text[i + 3], 0x30, 0x39)) {
    return 4;
  }
  return 1;
}

char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool NamesEqual(std::string_view stored, std::string_view wanted, ProfileEncoding encoding) {
  if (stored.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < stored.size();) {
    const std::size_t length = CharLength(stored, i, encoding);
    if (length == 1) {
      if (FoldAscii(stored[i]) != FoldAscii(wanted[i])) return false;
    } else if (stored.compare(i, length, wanted, i, length) != 0) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// One line: its text is [begin, end), and the next line starts at `next` (after the line break,
// which is LF, CR LF or CR).
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
};

// Walks the lines of a text. The positions of the next LF and the next CR are remembered, so
// that a file with only one kind of line break is not searched to its end for the other kind on
// every line.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text, std::size_t position = 0)
      : text_(text), position_(position) {}

  bool Next(Line& line) {
    if (position_ >= text_.size()) return false;
    const std::size_t end = std::min(Find('\n', next_lf_), Find('\r', next_cr_));
    line.begin = position_;
    line.end = end;
    if (end == text_.size()) {
      line.next = end;
    } else if (text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') {
      line.next = end + 2;
    } else {
      line.next = end + 1;
    }
    position_ = line.next;
    return true;
  }

 private:
  std::size_t Find(char c, std::size_t& cached) const {
    if (cached < position_ || cached == kUnknown) {
      const void* hit = std::memchr(text_.data() + position_, c, text_.size() - position_);
      cached = hit == nullptr ? text_.size() : static_cast<const char*>(hit) - text_.data();
    }
    return cached;
  }

  static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
  std::string_view text_;
  std::size_t position_;
  std::size_t next_lf_ = kUnknown;
  std::size_t next_cr_ = kUnknown;
};

// When text[open] is the "[" that starts a section header, the position of its closing "]";
// the search stops at the end of the line. The "]" must be a character of its own, not the
// trail byte of a GBK character.
std::optional<std::size_t> ClosingBracket(std::string_view text, std::size_t open,
                                          ProfileEncoding encoding) {
  for (std::size_t i = open + 1; i < text.size();) {
    const char c = text[i];
    if (IsBreak(c)) return std::nullopt;
    const std::size_t length = CharLength(text, i, encoding);
    if (length == 1 && c == ']') return i;
    i += length;
  }
  return std::nullopt;
}

enum class LineKind { kOther, kHeader, kItem };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;        // the section of a header, the key of an item
  std::size_t value_begin = 0;  // the item's value as stored, blanks trimmed, quotes kept
  std::size_t value_end = 0;
};

ParsedLine ParseLine(std::string_view text, const Line& line, ProfileEncoding encoding) {
  ParsedLine parsed;
  std::size_t start = line.begin;
  while (start < line.end && IsBlank(text[start])) ++start;
  if (start == line.end) return parsed;
  if (text[start] == '[') {
    if (const auto close = ClosingBracket(text, start, encoding)) {
      parsed.kind = LineKind::kHeader;
      parsed.name = TrimBlanks(text.substr(start + 1, *close - start - 1));
      return parsed;
    }
  }
  // "=" (0x3D) is never part of a multi-byte GB18030 character, so a byte search is exact.
  const void* hit = std::memchr(text.data() + start, '=', line.end - start);
  if (hit == nullptr) return parsed;
  const std::size_t equals = static_cast<const char*>(hit) - text.data();
  parsed.kind = LineKind::kItem;
  parsed.name = TrimBlanks(text.substr(start, equals - start));
  std::size_t value_begin = equals + 1;
  std::size_t value_end = line.end;
  while (value_begin < value_end && IsBlank(text[value_begin])) ++value_begin;
  while (value_end > value_begin && IsBlank(text[value_end - 1])) --value_end;
  parsed.value_begin = value_begin;
  parsed.value_end = value_end;
  return parsed;
}

// The position just after the "]" of the first header named `section`. Jumps from "[" to "["
// and looks only at those that start a line (after blanks), so a read touches the lines of one
// section only.
std::optional<std::size_t> FindSectionHeader(std::string_view text, ProfileEncoding encoding,
                                             std::string_view section) {
  std::size_t from = 0;
  while (from < text.size()) {
    const void* hit = std::memchr(text.data() + from, '[', text.size() - from);
    if (hit == nullptr) return std::nullopt;
    const std::size_t open = static_cast<const char*>(hit) - text.data();
    from = open + 1;
    // Only blanks may come before it on its line; blanks are never trail bytes, so this also
    // rules out a "[" that is the trail byte of a GBK character.
    std::size_t before = open;
    while (before > 0 && IsBlank(text[before - 1])) --before;
    if (before > 0 && !IsBreak(text[before - 1])) continue;
    const auto close = ClosingBracket(text, open, encoding);
    if (!close) continue;
    from = *close + 1;
    if (NamesEqual(TrimBlanks(text.substr(open + 1, *close - open - 1)), section, encoding)) {
      return from;
    }
  }
  return std::nullopt;
}

std::string_view LineEnding(std::string_view text) {
  const std::size_t lf = text.find('\n');
  const std::size_t cr = text.find('\r', 0);
  if (cr == std::string_view::npos && lf == std::string_view::npos) return "\n";
  if (cr < lf) return cr + 1 == lf ? "\r\n" : "\r";
  return "\n";
}

// The bytes to store for `value`: line breaks become blanks, so that a value stays on its line,
// and a value that would lose blanks or quotes when read back is enclosed in double quotes.
std::string StoredValue(std::string_view value) {
  std::string stored(value);
  for (char& c : stored) {
    if (IsBreak(c)) c = ' ';
  }
  const bool needs_quotes =
      !stored.empty() && (IsBlank(stored.front()) || IsBlank(stored.back()) ||
                          (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"'));
  if (needs_quotes) return '"' + stored + '"';
  return stored;
}

}  // namespace

ProfileBytes SplitProfile(std::string_view file) {
  if (file.starts_with(kUtf8ByteOrderMark)) {
    return {file.substr(0, kUtf8ByteOrderMark.size()), file.substr(kUtf8ByteOrderMark.size()),
            ProfileEncoding::kUtf8};
  }
  if (file.starts_with(kGb18030Bom)) {
    return {file.substr(0, kGb18030Bom.size()), file.substr(kGb18030Bom.size()),
            ProfileEncoding::kGb18030};
  }
  return {{}, file, DetectProfileEncoding(file)};
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsWritableSectionName(std::string_view section) {
  return section.find_first_of("]\r\n") == std::string_view::npos;
}

bool IsWritableKey(std::string_view key) {
  return !key.empty() && key.front() != '[' && key.find_first_of("=\r\n") == std::string_view::npos;
}

std::optional<std::string_view> FindProfileValue(std::string_view body, ProfileEncoding encoding,
                                                 std::string_view section, std::string_view key) {
  const auto start = FindSectionHeader(body, encoding, section);
  if (!start) return std::nullopt;
  LineCursor cursor(body, *start);
  Line line;
  cursor.Next(line);  // the rest of the header line
  while (cursor.Next(line)) {
    const ParsedLine parsed = ParseLine(body, line, encoding);
    if (parsed.kind == LineKind::kHeader) break;
    if (parsed.kind == LineKind::kItem && NamesEqual(parsed.name, key, encoding)) {
      return Unquote(body.substr(parsed.value_begin, parsed.value_end - parsed.value_begin));
    }
  }
  return std::nullopt;
}

std::optional<std::string> SetProfileValue(std::string_view body, ProfileEncoding encoding,
                                           std::string_view section, std::string_view key,
                                           std::string_view value) {
  const std::string stored = StoredValue(value);
  const std::string_view eol = LineEnding(body);
  std::optional<std::size_t> insert_at;
  LineCursor cursor(body);
  Line line;
  while (cursor.Next(line)) {
    const ParsedLine parsed = ParseLine(body, line, encoding);
    if (parsed.kind == LineKind::kHeader) {
      if (insert_at) break;
      if (NamesEqual(parsed.name, section, encoding)) insert_at = line.next;
      continue;
    }
    if (!insert_at || parsed.kind != LineKind::kItem) continue;
    if (NamesEqual(parsed.name, key, encoding)) {
      const std::string_view old =
          body.substr(parsed.value_begin, parsed.value_end - parsed.value_begin);
      if (Unquote(old) == Unquote(stored)) return std::nullopt;
      std::string out;
      out.reserve(body.size() + stored.size());
      out.append(body.substr(0, parsed.value_begin));
      out.append(stored);
      out.append(body.substr(parsed.value_end));
      return out;
    }
    insert_at = line.next;
  }

  std::string out;
  out.reserve(body.size() + section.size() + key.size() + stored.size() + 8);
  const std::size_t split = insert_at.value_or(body.size());
  out.append(body.substr(0, split));
  // The last line of a file may lack its line break; it gets one before the new line.
  if (split > 0 && !IsBreak(body[split - 1])) out.append(eol);
  if (!insert_at) {
    out.append("[").append(section).append("]").append(eol);
  }
  out.append(key).append("=").append(stored);
  // A lone CR in front of an LF would join it into one line break, and the empty line that the
  // LF ends would be lost.
  out.append(eol == "\r" && split < body.size() && body[split] == '\n' ? "\r\n" : eol);
  out.append(body.substr(split));
  return out;
}

std::optional<std::string> ReplaceProfileSection(
    std::string_view body, ProfileEncoding encoding, std::string_view section,
    std::span<const std::pair<std::string, std::string>> items) {
  if (items.empty()) return RemoveProfileSection(body, encoding, section);
  const std::string_view eol = LineEnding(body);
  std::string lines;
  for (const auto& [key, value] : items) {
    lines.append(key).append("=").append(StoredValue(value)).append(eol);
  }

  std::string out;
  out.reserve(body.size() + lines.size() + section.size() + 8);
  bool found = false;
  bool skipping = false;
  std::size_t kept_from = 0;  // start of the run of kept lines not yet copied
  LineCursor cursor(body);
  Line line;
  while (cursor.Next(line)) {
    const ParsedLine parsed = ParseLine(body, line, encoding);
    if (parsed.kind != LineKind::kHeader) continue;
    const bool match = NamesEqual(parsed.name, section, encoding);
    if (match && !skipping) out.append(body.substr(kept_from, line.begin - kept_from));
    if (match && !found) {
      // The first section keeps its header line as it stands and gets the new items.
      out.append(body.substr(line.begin, line.end - line.begin)).append(eol).append(lines);
      found = true;
    }
    if (!match && skipping) kept_from = line.begin;
    skipping = match;
  }
  if (!skipping) out.append(body.substr(kept_from));
  if (!found) {
    // The last line of a file may lack its line break; it gets one before the new section.
    if (!out.empty() && !IsBreak(out.back())) out.append(eol);
    out.append("[").append(section).append("]").append(eol).append(lines);
  }
  if (out == body) return std::nullopt;
  return out;
}

std::optional<std::string> RemoveProfileSection(std::string_view body, ProfileEncoding encoding,
                                                std::string_view section) {
  std::string out;
  bool removed = false;
  bool skipping = false;
  std::size_t kept_from = 0;  // start of the run of kept lines not yet copied
  LineCursor cursor(body);
  Line line;
  while (cursor.Next(line)) {
    const ParsedLine parsed = ParseLine(body, line, encoding);
    if (parsed.kind == LineKind::kHeader) {
      const bool match = NamesEqual(parsed.name, section, encoding);
      if (match && !skipping) out.append(body.substr(kept_from, line.begin - kept_from));
      if (!match && skipping) kept_from = line.begin;
      skipping = match;
      removed = removed || match;
    }
  }
  if (!removed) return std::nullopt;
  if (!skipping) out.append(body.substr(kept_from));
  return out;
}

}  // namespace velmora
