#pragma once

#include <filesystem>
#include <string>

namespace velmora {

// What decides where the settings live: the folder of the running program and the user's
// environment. Empty texts stand for unset variables.
struct SettingsEnvironment {
  std::filesystem::path executable_folder;
  std::string xdg_config_home;
  std::string home;
};

// The environment of this process: the folder of /proc/self/exe, $XDG_CONFIG_HOME, and $HOME or,
// when that is unset, the home folder of the user's account.
SettingsEnvironment CurrentSettingsEnvironment();

// config.dat beside the program. It is used while it exists as a plain file that this process
// may write: a portable copy, or the program run from its build folder.
std::filesystem::path PortableSettingsPath(const SettingsEnvironment& environment);
bool PortableSettingsUsable(const std::filesystem::path& file);

// $XDG_CONFIG_HOME/velmora/config.dat, or ~/.config/velmora/config.dat when the variable is unset,
// empty or not an absolute path. Empty when there is no home folder either.
std::filesystem::path PerUserSettingsPath(const SettingsEnvironment& environment);

// The settings file for this environment: the portable one when usable, else the per-user one
// (which need not exist yet), else the portable path, whose writes then fail.
std::filesystem::path ResolveSettingsPath(const SettingsEnvironment& environment);

// The settings that ship with the program: share/velmora/config.dat of the installation that the
// program runs from, wherever that was put.
std::filesystem::path ShippedSettingsPath(const SettingsEnvironment& environment);

// Creates `file` as a copy of `shipped` unless it already exists; missing folders on the way are
// created for the user alone (0700). Never replaces an existing file, even one that appears while
// the copy is made. Returns whether `file` exists afterwards; a missing or unreadable shipped
// copy or an unwritable folder leave no file and no partial copy behind.
bool CreateSettingsFromShipped(const std::filesystem::path& file,
                               const std::filesystem::path& shipped);

// The settings file of this process when nothing else is asked for, resolved afresh.
std::filesystem::path DefaultSettingsPath();

// The settings file for one run, chosen once at its start: `requested` (made absolute) when it is
// not empty, else DefaultSettingsPath(). A chosen file that does not exist yet is created from the
// shipped copy, the per-user one with its folders; a portable file is used as it is.
std::filesystem::path PrepareSettingsFile(const std::filesystem::path& requested);

}  // namespace velmora
