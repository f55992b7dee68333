#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmora {

// The outcome of a change to the settings file: success, or the reason it failed, in words a
// user can read ("没有写入权限", "磁盘空间已满", ...) and as the errno value behind them.
struct SettingsWriteResult {
  int error = 0;
  std::string message;

  bool ok() const { return error == 0; }
  explicit operator bool() const { return ok(); }
};

// One item of a section as ReplaceSection writes it.
struct SettingsItem {
  std::string key;
  std::string value;
};

// The program's profile file. Every call goes to the file at once; nothing is cached and no
// handle stays open. Texts are UTF-8 here and GB18030 on disk; a file that starts with a UTF-8
// byte-order mark, or that another editor saved as UTF-8 without one (see
// DetectProfileEncoding), is read and written as UTF-8. Sections and keys match without regard
// to ASCII case. A missing, unreadable or damaged (oversized) file reads as defaults. A change
// replaces the file atomically while holding a lock that all writers share, so concurrent writers
// from several processes lose nothing and a writer killed midway leaves the old contents; a
// failed change leaves the old contents and says why.
class SettingsFile {
 public:
  explicit SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

  // The value of `key` in `section`, or `default_value` when the file, section or key is absent.
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view default_value = {}) const;
  // Replaces the value in place or appends the key / section; every other line stays byte for
  // byte. A value with blanks at either end, or enclosed in double quotes, is stored quoted so
  // that it reads back unchanged; line breaks in it become blanks. Fails when the file could not
  // be written or the names would break its structure (a section with "]", a key with "=" or a
  // leading "[", line breaks, an empty key); the old contents then remain.
  SettingsWriteResult Write(std::string_view section, std::string_view key,
                            std::string_view value) const;
  // Removes the section's header and all its items, and so every other section of that name.
  // A missing file or section is nothing to remove and succeeds.
  SettingsWriteResult DeleteSection(std::string_view section) const;
  // Makes `items`, in their order, the whole contents of `section` in one atomic write: the
  // section takes the place of its first occurrence (or is appended), further sections of that
  // name go, and every other line stays byte for byte. No items removes the section. Fails,
  // changing nothing, when a name would break the file's structure or a key occurs twice.
  SettingsWriteResult ReplaceSection(std::string_view section,
                                     std::span<const SettingsItem> items) const;

 private:
  std::filesystem::path path_;
};

// The settings file as it stood when this object was made, read once: for readers that look up
// many items together (the command line reads every unit list). A read gives what
// SettingsFile::Read gave for the file at that moment; a missing or unreadable file reads as
// defaults.
class SettingsSnapshot {
 public:
  explicit SettingsSnapshot(const std::filesystem::path& path);

  std::string Read(std::string_view section, std::string_view key,
                   std::string_view default_value = {}) const;

 private:
  // The file's lines without its byte-order mark; nothing when it could not be read.
  std::optional<std::string> body_;
  bool utf8_ = false;
};

// The path given to SetSettingsPath, else DefaultSettingsPath(): config.dat beside the program
// while that can be written, else the user's own copy (settings_location.h).
std::filesystem::path SettingsPath();
// Points the program at another settings file (the file chosen at start, tests, tools); an empty
// path restores the default.
void SetSettingsPath(std::filesystem::path path);

// The operations on the file at SettingsPath(), resolved afresh on every call. Callers that do
// not tell the user about a failure may ignore the result.
std::string ReadSetting(std::string_view section, std::string_view key,
                        std::string_view default_value = {});
SettingsWriteResult WriteSetting(std::string_view section, std::string_view key,
                                 std::string_view value);
SettingsWriteResult DeleteSection(std::string_view section);
SettingsWriteResult ReplaceSection(std::string_view section, std::span<const SettingsItem> items);

}  // namespace velmora
