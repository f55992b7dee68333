#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora {

// The program's profile file. Every call goes to the file at once; nothing is cached and no
// handle stays open. Texts are UTF-8 here and GB18030 on disk; a file that starts with a UTF-8
// byte-order mark was saved as UTF-8 by another editor and is read and written as UTF-8. Sections
// and keys match without regard to ASCII case. Failures are silent: a missing or unreadable file
// reads as defaults, a failed write leaves the old contents in place. A write replaces the file
// atomically under an advisory lock, so concurrent writers from several processes lose nothing.
class SettingsFile {
 public:
  explicit SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

  // The value of `key` in `section`, or `default_value` when the file, section or key is absent.
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view default_value = {}) const;
  // Replaces the value in place or appends the key / section; every other line stays byte for
  // byte. A value with blanks at either end, or enclosed in double quotes, is stored quoted so
  // that it reads back unchanged; line breaks in it become blanks. Returns false when the file
  // could not be written or the names would break its structure (a section with "]", a key with
  // "=" or a leading "[", line breaks, an empty key); the old contents then remain.
  bool Write(std::string_view section, std::string_view key, std::string_view value) const;
  // Removes the section's header and all its items, and so every other section of that name.
  // Returns false when the file could not be written.
  bool DeleteSection(std::string_view section) const;

 private:
  std::filesystem::path path_;
};

// The path given to SetSettingsPath, else DefaultSettingsPath(): config.dat beside the program
// while that can be written, else the user's own copy (settings_location.h).
std::filesystem::path SettingsPath();
// Points the program at another settings file (the file chosen at start, tests, tools); an empty
// path restores the default.
void SetSettingsPath(std::filesystem::path path);

// The four operations on the file at SettingsPath(), resolved afresh on every call.
std::string ReadSetting(std::string_view section, std::string_view key,
                        std::string_view default_value = {});
void WriteSetting(std::string_view section, std::string_view key, std::string_view value);
void DeleteSection(std::string_view section);

}  // namespace velmora
