#include "settings/settings_location.h"

#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

// Where share/ lies as seen from bin/ in an installation; the build passes it.
#ifndef VELMORA_BIN_TO_DATA
#define VELMORA_BIN_TO_DATA "../share"
#endif

namespace velmora {
namespace {

constexpr std::string_view kFileName = "config.dat";
constexpr std::string_view kProgramFolder = "velmora";
// A shipped copy beyond this size is not the program's settings; it is not copied.
constexpr off_t kShippedLimit = off_t{16} << 20;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Close(); }
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  bool Close() {
    if (fd_ < 0) return true;
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 || errno == EINTR;
  }

 private:
  int fd_;
};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string AccountHome() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr) {
    return {};
  }
  return found->pw_dir;
}

const std::filesystem::path& ExecutableFolder() {
  static const std::filesystem::path folder = [] {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(".") : exe.parent_path();
  }();
  return folder;
}

bool IsRegularFile(const std::filesystem::path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Creates the missing folders of `folder`, each for the user alone.
bool CreateFolders(const std::filesystem::path& folder) {
  std::filesystem::path partial;
  for (const auto& part : folder) {
    partial /= part;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The shipped file's bytes; nothing when it is missing, unreadable or not a plain file.
bool ReadShipped(const std::filesystem::path& shipped, std::string& bytes) {
  const Descriptor fd(::open(shipped.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_size > kShippedLimit) {
    return false;
  }
  bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t length = 0;
  while (length < bytes.size()) {
    const ssize_t got = ::read(fd.get(), bytes.data() + length, bytes.size() - length);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    length += static_cast<std::size_t>(got);
  }
  // A file that shrank while it was read is taken as far as it went.
  bytes.resize(length);
  return true;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

bool Exists(const std::filesystem::path& file) {
  struct stat info {};
  return ::lstat(file.c_str(), &info) == 0;
}

}  // namespace

SettingsEnvironment CurrentSettingsEnvironment() {
  SettingsEnvironment environment;
  environment.executable_folder = ExecutableFolder();
  environment.xdg_config_home = Environment("XDG_CONFIG_HOME");
  environment.home = Environment("HOME");
  if (environment.home.empty()) environment.home = AccountHome();
  return environment;
}

std::filesystem::path PortableSettingsPath(const SettingsEnvironment& environment) {
  return environment.executable_folder / kFileName;
}

bool PortableSettingsUsable(const std::filesystem::path& file) {
  // A write replaces the file through a new one beside it (beside the link's target for a
  // symbolic link), so its folder must take new files too.
  std::error_code error;
  const std::filesystem::path target = std::filesystem::canonical(file, error);
  if (error || !IsRegularFile(target)) return false;
  return ::access(target.c_str(), W_OK) == 0 &&
         ::access(target.parent_path().c_str(), W_OK | X_OK) == 0;
}

std::filesystem::path PerUserSettingsPath(const SettingsEnvironment& environment) {
  std::filesystem::path base(environment.xdg_config_home);
  if (!base.is_absolute()) {
    const std::filesystem::path home(environment.home);
    if (!home.is_absolute()) return {};
    base = home / ".config";
  }
  return base / kProgramFolder / kFileName;
}

std::filesystem::path ResolveSettingsPath(const SettingsEnvironment& environment) {
  std::filesystem::path portable = PortableSettingsPath(environment);
  if (PortableSettingsUsable(portable)) return portable;
  std::filesystem::path per_user = PerUserSettingsPath(environment);
  return per_user.empty() ? portable : per_user;
}

std::filesystem::path ShippedSettingsPath(const SettingsEnvironment& environment) {
  return (environment.executable_folder / VELMORA_BIN_TO_DATA / kProgramFolder / kFileName)
      .lexically_normal();
}

bool CreateSettingsFromShipped(const std::filesystem::path& file,
                               const std::filesystem::path& shipped) {
  if (Exists(file)) return true;
  std::string bytes;
  if (!ReadShipped(shipped, bytes)) return false;
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  if (!CreateFolders(folder)) return false;

  // The copy is written completely under a temporary name and then linked to its real name,
  // which fails rather than replace a file that another start created in the meantime.
  std::string temp = file.string() + ".XXXXXX";
  Descriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (!fd) return false;
  bool ok = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  if (ok && ::link(temp.c_str(), file.c_str()) != 0 && errno != EEXIST) {
    // Folders without hard links can still rename without replacing.
    ok = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, file.c_str(), RENAME_NOREPLACE) == 0 ||
         errno == EEXIST;
  }
  ::unlink(temp.c_str());
  return ok && Exists(file);
}

std::filesystem::path DefaultSettingsPath() {
  return ResolveSettingsPath(CurrentSettingsEnvironment());
}

std::filesystem::path PrepareSettingsFile(const std::filesystem::path& requested) {
  const SettingsEnvironment environment = CurrentSettingsEnvironment();
  if (!requested.empty()) {
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(requested, error);
    if (error) file = requested;
    // A file named on the command line gets no folders made for it: a mistyped folder stays
    // visible as settings that are not kept.
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    if (std::filesystem::is_directory(folder, error)) {
      CreateSettingsFromShipped(file, ShippedSettingsPath(environment));
    }
    return file;
  }
  std::filesystem::path file = ResolveSettingsPath(environment);
  if (file != PortableSettingsPath(environment)) {
    CreateSettingsFromShipped(file, ShippedSettingsPath(environment));
  }
  return file;
}

}  // namespace velmora
