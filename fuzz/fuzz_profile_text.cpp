#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "settings/profile_text.h"
#include "settings/settings_file.h"
#include "text/gb18030.h"

namespace {

using velmora::fuzz::Check;

constexpr std::string_view kAbsent = "\x01(absent)";

std::filesystem::path& FilePath() {
  static std::filesystem::path path;
  return path;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The lines of a file with their line breaks (LF, CR LF or CR).
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      end = text.size();
    } else if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      end += 2;
    } else {
      end += 1;
    }
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return lines;
}

// The file without its byte-order mark, which every rewrite must keep.
std::string_view Body(std::string_view file, std::string_view bom) {
  Check(file.starts_with(bom), "a rewrite lost the byte-order mark", {file});
  return file.substr(bom.size());
}

bool IsSubsequence(const std::vector<std::string_view>& part,
                   const std::vector<std::string_view>& whole) {
  std::size_t i = 0;
  for (const std::string_view line : whole) {
    if (i < part.size() && part[i] == line) ++i;
  }
  return i == part.size();
}

// After a write, the file is the old one, or the old one with one line changed and at most two new
// lines (a section header and the item), and the old last line may have got its line break.
void CheckWriteTouchedOneItem(std::string_view before, std::string_view after) {
  const std::vector<std::string_view> old_lines = Lines(before);
  const std::vector<std::string_view> new_lines = Lines(after);
  std::size_t prefix = 0;
  while (prefix < old_lines.size() && prefix < new_lines.size() &&
         old_lines[prefix] == new_lines[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < old_lines.size() - prefix && suffix < new_lines.size() - prefix &&
         old_lines[old_lines.size() - 1 - suffix] == new_lines[new_lines.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::size_t old_changed = old_lines.size() - prefix - suffix;
  const std::size_t new_changed = new_lines.size() - prefix - suffix;
  if (old_changed == 0 && new_changed == 0) return;  // the item already held the value
  Check(old_changed <= 1 && new_changed >= 1 && new_changed <= 3 && new_changed >= old_changed,
        "the write changed lines beyond its item", {before, after});
  if (old_changed == 0) return;
  const std::string_view old_line = old_lines[prefix];
  const std::string_view new_line = new_lines[prefix];
  if (new_changed == 1) {
    // A value replaced in place: the line keeps its key and its "=".
    const std::size_t equals = old_line.find('=');
    Check(equals != std::string_view::npos &&
              new_line.substr(0, equals + 1) == old_line.substr(0, equals + 1),
          "a line other than the item's changed", {before, after});
  } else {
    // The last line got the line break it lacked.
    Check(prefix + 1 == old_lines.size() && old_line.find_first_of("\r\n") == old_line.npos &&
              new_line.starts_with(old_line) &&
              new_line.find_first_not_of("\r\n", old_line.size()) == new_line.npos,
          "a line other than the item's changed", {before, after});
  }
}

// What reading back a written value gives: line breaks become blanks, and the file stores only
// what its encoding can. Nothing when that is not certain (invalid UTF-8 in a UTF-8 file).
std::optional<std::string> StorableValue(std::string value, velmora::ProfileEncoding encoding) {
  for (char& c : value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  std::string stored = velmora::Gb18030ToUtf8(velmora::Utf8ToGb18030(value));
  if (encoding == velmora::ProfileEncoding::kUtf8 && stored != value) return std::nullopt;
  return stored;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A memory-backed folder where there is one, as every write is flushed to disk.
  const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                         ? "/dev/shm"
                                         : std::filesystem::temp_directory_path();
  std::string folder = (base / "velmora-fuzz-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) return 1;
  FilePath() = std::filesystem::path(folder) / "config.dat";
  std::atexit([] { std::filesystem::remove_all(FilePath().parent_path()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(24);
  const std::string key = input.ConsumeRandomLengthString(24);
  const std::string other_key = input.ConsumeRandomLengthString(24);
  const std::string value = input.ConsumeRandomLengthString(48);
  const std::string original = input.ConsumeRemainingBytesAsString();

  const std::filesystem::path& path = FilePath();
  WriteBytes(path, original);
  const velmora::SettingsFile settings(path);
  const velmora::ProfileEncoding encoding = velmora::SplitProfile(original).encoding;
  // The lines of a file after an edit, without the byte-order mark, as the edit saw them: a
  // UTF-8 file may gain a mark when an edit would leave nothing else to tell its encoding by, and
  // an edit may change what the next one detects (a write can replace the only bytes that were
  // not UTF-8).
  const auto body = [](std::string_view before, std::string_view file) {
    const velmora::ProfileBytes split = velmora::SplitProfile(before);
    return split.encoding == velmora::ProfileEncoding::kUtf8
               ? Body(file, velmora::SplitProfile(file).bom)
               : Body(file, split.bom);
  };

  // Reads of anything finish and change nothing.
  settings.Read(section, key, kAbsent);
  settings.Read(section, other_key, kAbsent);
  Check(ReadBytes(path) == original, "a read changed the file");

  const bool writable = velmora::IsWritableSectionName(velmora::TrimBlanks(section)) &&
                        velmora::IsWritableKey(velmora::TrimBlanks(key));
  const bool written = settings.Write(section, key, value).ok();
  const std::string after_write = ReadBytes(path);
  Check(written == writable, "write refused or accepted the wrong names", {section, key});
  if (!written) {
    Check(after_write == original, "a refused write changed the file", {original, after_write});
  } else {
    CheckWriteTouchedOneItem(body(original, original), body(original, after_write));
    const std::string read = settings.Read(section, key, kAbsent);
    if (const auto expected = StorableValue(value, encoding)) {
      Check(read == *expected, "the written value did not read back",
            {section, key, value, read, after_write});
    }
  }

  Check(settings.DeleteSection(section).ok(), "deleting a section of a writable file failed");
  const std::string after_delete = ReadBytes(path);
  Check(
      IsSubsequence(Lines(body(after_write, after_delete)), Lines(body(after_write, after_write))),
      "deleting a section changed lines it kept", {after_write, after_delete});
  Check(settings.Read(section, key, kAbsent) == kAbsent &&
            settings.Read(section, other_key, kAbsent) == kAbsent,
        "the deleted section still reads", {section, after_delete});
  return 0;
}
