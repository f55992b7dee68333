#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora {

// The program's profile file. Every call goes to the file at once; nothing is cached and no
// handle stays open. Texts are UTF-8 here and GB18030 on disk. Sections and keys match without
// regard to ASCII case. Failures are silent: a missing or unreadable file reads as defaults, a
// failed write leaves the old contents in place.
class SettingsFile {
 public:
  explicit SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

  // The value of `key` in `section`, or `default_value` when the file, section or key is absent.
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view default_value = {}) const;
  // Replaces the value in place or appends the key / section; every other line stays byte for
  // byte. Returns false when the file could not be written (the old contents then remain).
  bool Write(std::string_view section, std::string_view key, std::string_view value) const;
  // Removes the section's header and all its items. Returns false when the file could not be
  // written.
  bool DeleteSection(std::string_view section) const;

 private:
  std::filesystem::path path_;
};

// config.dat in the folder of the running executable, or the path given to SetSettingsPath.
std::filesystem::path SettingsPath();
// Points the program at another settings file (tests, tools); an empty path restores the default.
void SetSettingsPath(std::filesystem::path path);

// The four operations on the file at SettingsPath(), resolved afresh on every call.
std::string ReadSetting(std::string_view section, std::string_view key,
                        std::string_view default_value = {});
void WriteSetting(std::string_view section, std::string_view key, std::string_view value);
void DeleteSection(std::string_view section);

}  // namespace velmora
