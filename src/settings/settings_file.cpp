#include "settings/settings_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "settings/profile_text.h"
#include "settings/settings_location.h"
#include "text/gb18030.h"

namespace velmora {
namespace {

// A writer that cannot get the lock within this time gives up (the write fails silently) rather
// than hang behind a process that was stopped in the middle of its write.
constexpr auto kLockTimeout = std::chrono::seconds(5);
// A read buffer that a damaged, huge file has grown beyond this is released again.
constexpr std::size_t kBufferKeep = std::size_t{4} << 20;

class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Close(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Returns false when close reports an error (for a written file: the data may be lost).
  bool Close() {
    if (fd_ < 0) return true;
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 || errno == EINTR;
  }

 private:
  int fd_ = -1;
};

// Reads everything from `fd` into `buffer`, which keeps its size between calls so that a
// repeated read allocates nothing. The contents are the first `length` bytes.
bool ReadAll(int fd, std::string& buffer, std::size_t& length) {
  struct stat info {};
  // A pipe or device in place of the file could block or never end; only plain files count.
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  // One byte more than the size, so that the end of the file is seen without a second resize.
  const std::size_t wanted = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1;
  if (buffer.size() > kBufferKeep && wanted <= kBufferKeep) std::string().swap(buffer);
  if (buffer.size() < wanted) buffer.resize(wanted);
  length = 0;
  while (true) {
    if (length == buffer.size()) buffer.resize(buffer.size() * 2);
    const ssize_t got = ::read(fd, buffer.data() + length, buffer.size() - length);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    length += static_cast<std::size_t>(got);
  }
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

// Replaces invalid UTF-8 sequences with U+FFFD, byte by byte.
std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (lead < 0x80) {
      length = 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
    }
    bool valid = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    }
    if (valid && length >= 3) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      // Overlong forms, UTF-16 surrogates and code points above U+10FFFF.
      valid = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0) &&
              !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
    }
    if (valid) {
      out.append(text.substr(i, length));
      i += length;
    } else {
      out.append("\xEF\xBF\xBD");
      ++i;
    }
  }
  return out;
}

std::string Encode(std::string_view utf8, ProfileEncoding encoding) {
  return encoding == ProfileEncoding::kUtf8 ? std::string(utf8) : Utf8ToGb18030(utf8);
}

std::string Decode(std::string_view raw, ProfileEncoding encoding) {
  return encoding == ProfileEncoding::kUtf8 ? ValidUtf8(raw) : Gb18030ToUtf8(raw);
}

// The file that a write replaces: the target of a symbolic link, so that the rename does not
// replace the link itself.
std::filesystem::path WriteTarget(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_symlink(path, error)) {
    std::filesystem::path target = std::filesystem::canonical(path, error);
    if (!error) return target;
  }
  return path;
}

// Opens (creating it when absent) and exclusively locks the file that `path` names. A writer
// replaces the file by renaming a new one over it, so after waiting for the lock the descriptor
// may hold a file that is no longer the one named; the lock is then taken again on the new one.
FileDescriptor LockCurrentFile(const std::filesystem::path& path, bool create, struct stat& info) {
  const auto deadline = std::chrono::steady_clock::now() + kLockTimeout;
  auto pause = std::chrono::microseconds(50);
  while (true) {
    // Non-blocking, so that a pipe in place of the file cannot stall the open.
    FileDescriptor fd(
        ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (create ? O_CREAT : 0), 0666));
    if (!fd) return {};
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) return {};
      if (std::chrono::steady_clock::now() >= deadline) return {};
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::microseconds(2000));
    }
    struct stat named {};
    if (fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    if (::stat(path.c_str(), &named) == 0 && info.st_dev == named.st_dev &&
        info.st_ino == named.st_ino) {
      return fd;
    }
    if (std::chrono::steady_clock::now() >= deadline) return {};
  }
}

void SyncDirectory(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd) ::fsync(fd.get());
}

// Writes `contents` to a new file beside `target`, flushes it to disk and renames it over
// `target`, so that the file is at every moment either the old or the new contents. The new
// file gets the owner and permissions of the old one.
bool ReplaceFile(const std::filesystem::path& target, std::string_view contents,
                 const struct stat& info) {
  std::string temp = target.string() + ".XXXXXX";
  FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (!fd) return false;
  bool ok = WriteAll(fd.get(), contents);
  if (ok && (info.st_uid != ::geteuid() || info.st_gid != ::getegid())) {
    // Only possible for a privileged process; without the right the file stays ours.
    [[maybe_unused]] const int ignored = ::fchown(fd.get(), info.st_uid, info.st_gid);
  }
  ok = ok && ::fchmod(fd.get(), info.st_mode & 07777) == 0;
  ok = ok && ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncDirectory(target);
  return true;
}

// Applies `change` to the file's contents under the lock. `change` returns nothing when the
// contents stay as they are; the file is then left untouched. Without `create` a missing file
// counts as an empty one that needs no change.
template <typename Change>
bool EditFile(const std::filesystem::path& path, bool create, const Change& change) {
  const std::filesystem::path target = WriteTarget(path);
  struct stat info {};
  const FileDescriptor lock = LockCurrentFile(target, create, info);
  if (!lock) return !create && errno == ENOENT;
  // The lock can be held on a file that we may not change; such a file stays as it is.
  if (::access(target.c_str(), W_OK) != 0) return false;
  std::string contents;
  std::size_t length = 0;
  if (!ReadAll(lock.get(), contents, length)) return false;
  contents.resize(length);
  const ProfileBytes bytes = SplitProfile(contents);
  std::optional<std::string> body = change(bytes);
  if (!body) return true;
  body->insert(0, bytes.bom);
  return ReplaceFile(target, *body, info);
}

// Reads the file into a per-thread buffer; the view is valid until the thread's next read.
std::optional<std::string_view> ReadFileShared(const std::filesystem::path& path) {
  thread_local std::string buffer;
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd) return std::nullopt;
  std::size_t length = 0;
  if (!ReadAll(fd.get(), buffer, length)) return std::nullopt;
  return std::string_view(buffer.data(), length);
}

std::mutex& PathMutex() {
  static std::mutex mutex;
  return mutex;
}

std::filesystem::path& PathOverride() {
  static std::filesystem::path path;
  return path;
}

}  // namespace

std::string SettingsFile::Read(std::string_view section, std::string_view key,
                               std::string_view default_value) const {
  const auto file = ReadFileShared(path_);
  if (!file) return std::string(default_value);
  const ProfileBytes bytes = SplitProfile(*file);
  const auto raw =
      FindProfileValue(bytes.body, bytes.encoding, Encode(TrimBlanks(section), bytes.encoding),
                       Encode(TrimBlanks(key), bytes.encoding));
  if (!raw) return std::string(default_value);
  return Decode(*raw, bytes.encoding);
}

bool SettingsFile::Write(std::string_view section, std::string_view key,
                         std::string_view value) const {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (!IsWritableSectionName(section) || !IsWritableKey(key)) return false;
  return EditFile(path_, /*create=*/true, [&](const ProfileBytes& bytes) {
    return SetProfileValue(bytes.body, bytes.encoding, Encode(section, bytes.encoding),
                           Encode(key, bytes.encoding), Encode(value, bytes.encoding));
  });
}

bool SettingsFile::DeleteSection(std::string_view section) const {
  section = TrimBlanks(section);
  return EditFile(path_, /*create=*/false, [&](const ProfileBytes& bytes) {
    return RemoveProfileSection(bytes.body, bytes.encoding, Encode(section, bytes.encoding));
  });
}

std::filesystem::path SettingsPath() {
  {
    const std::lock_guard lock(PathMutex());
    if (!PathOverride().empty()) return PathOverride();
  }
  return DefaultSettingsPath();
}

void SetSettingsPath(std::filesystem::path path) {
  const std::lock_guard lock(PathMutex());
  PathOverride() = std::move(path);
}

std::string ReadSetting(std::string_view section, std::string_view key,
                        std::string_view default_value) {
  return SettingsFile(SettingsPath()).Read(section, key, default_value);
}

void WriteSetting(std::string_view section, std::string_view key, std::string_view value) {
  SettingsFile(SettingsPath()).Write(section, key, value);
}

void DeleteSection(std::string_view section) {
  SettingsFile(SettingsPath()).DeleteSection(section);
}

}  // namespace velmora
