#include "settings/settings_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <utility>

#include "settings/profile_text.h"
#include "settings/settings_file_testing.h"
#include "settings/settings_location.h"
#include "settings/writer_lock.h"
#include "text/gb18030.h"

namespace velmora {
namespace {

// A writer waits this long for its turn before it gives up. Writers only wait for each other
// while one of them flushes to disk, so only a process stopped in the middle of its write (or a
// dead network drive) makes it run out.
constexpr auto kLockTimeout = std::chrono::seconds(30);
// A settings file holds a few tens of kilobytes; one beyond this is damaged. It reads as
// defaults and is not rewritten, rather than being loaded whole into memory.
constexpr std::size_t kMaxFileSize = std::size_t{32} << 20;
// A read buffer that a large file has grown beyond this is released again.
constexpr std::size_t kBufferKeep = std::size_t{4} << 20;
// Temporary files are named after the file they replace: "config.dat.writing-" and six
// characters, so that one left by a killed writer can be recognised and removed.
constexpr std::string_view kTempInfix = ".writing-";
constexpr std::size_t kTempSuffixLength = 6;
constexpr std::string_view kLockSuffix = ".lock";

std::atomic<long long> sync_delay_ms{0};

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
  // 0, or the errno of a failed close (for a written file: the data may be lost).
  int Close() {
    if (fd_ < 0) return 0;
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 || errno == EINTR ? 0 : errno;
  }

 private:
  int fd_ = -1;
};

SettingsWriteResult Success() {
  return {};
}

SettingsWriteResult Failure(int error) {
  const char* message = nullptr;
  switch (error) {
    case EACCES:
    case EPERM:
      message = "没有写入权限";
      break;
    case EROFS:
      message = "文件所在的磁盘是只读的";
      break;
    case ENOSPC:
    case EDQUOT:
      message = "磁盘空间已满";
      break;
    case ENOENT:
    case ENOTDIR:
      message = "文件所在的文件夹不存在";
      break;
    case EISDIR:
      message = "同名的文件夹占据了文件的位置";
      break;
    case ENODEV:
      message = "文件的位置上不是普通文件";
      break;
    case EFBIG:
      message = "文件过大，已损坏";
      break;
    case ETIMEDOUT:
      message = "文件正被另一个程序写入，等待超时";
      break;
    case EINVAL:
      message = "名称中含有不能写入文件的字符，或键名重复";
      break;
    case ELOOP:
      message = "文件的符号链接形成了循环";
      break;
    case ENOMEM:
      message = "内存不足";
      break;
    case EIO:
      message = "磁盘读写出错";
      break;
    default:
      break;
  }
  SettingsWriteResult result;
  result.error = error != 0 ? error : EIO;
  if (message != nullptr) {
    result.message = message;
  } else {
    const char* description = ::strerrordesc_np(result.error);
    result.message = std::string("系统错误：") + (description != nullptr ? description : "?");
  }
  return result;
}

// Reads everything from `fd` into `buffer`, which keeps its size between calls so that a
// repeated read allocates nothing. The contents are the first `length` bytes. Returns 0 or the
// errno value: ENODEV for a pipe or device in place of the file (which could block or never
// end), EFBIG for a file beyond kMaxFileSize.
int ReadAll(int fd, std::string& buffer, std::size_t& length) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
  const auto size = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
  if (size > kMaxFileSize) return EFBIG;
  // One byte more than the size, so that the end of the file is seen without a second resize.
  const std::size_t wanted = size + 1;
  if (buffer.size() > kBufferKeep && wanted <= kBufferKeep) std::string().swap(buffer);
  if (buffer.size() < wanted) buffer.resize(wanted);
  length = 0;
  while (true) {
    if (length == buffer.size()) {
      // The file grew while it was read.
      if (length > kMaxFileSize) return EFBIG;
      buffer.resize(std::min(buffer.size() * 2, kMaxFileSize + 1));
    }
    const ssize_t got = ::read(fd, buffer.data() + length, buffer.size() - length);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    length += static_cast<std::size_t>(got);
  }
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return 0;
}

int Sync(int fd) {
  if (const long long delay = sync_delay_ms.load(); delay > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
  }
  return ::fsync(fd) == 0 ? 0 : errno;
}

// Replaces invalid UTF-8 sequences with U+FFFD, byte by byte.
std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) {
      out.append("\xEF\xBF\xBD");
      text.remove_prefix(1);
    } else {
      out.append(text.substr(0, length));
      text.remove_prefix(length);
    }
  }
  return out;
}

std::string Encode(std::string_view utf8, ProfileEncoding encoding) {
  // A UTF-8 file gets only valid UTF-8, so that it is still recognised as UTF-8 afterwards.
  return encoding == ProfileEncoding::kUtf8 ? ValidUtf8(utf8) : Utf8ToGb18030(utf8);
}

std::string Decode(std::string_view raw, ProfileEncoding encoding) {
  return encoding == ProfileEncoding::kUtf8 ? ValidUtf8(raw) : Gb18030ToUtf8(raw);
}

// The file that a write replaces: the end of a chain of symbolic links, which need not exist
// yet, so that the rename replaces the file the link points to and keeps the link.
std::optional<std::filesystem::path> WriteTarget(std::filesystem::path path, int& error) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code status_error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, status_error))) {
      return path;
    }
    std::error_code link_error;
    const std::filesystem::path link = std::filesystem::read_symlink(path, link_error);
    if (link_error) {
      error = link_error.value();
      return std::nullopt;
    }
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  error = ELOOP;
  return std::nullopt;
}

std::filesystem::path Folder(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

std::filesystem::path WithSuffix(const std::filesystem::path& file, std::string_view suffix) {
  return std::filesystem::path(file.string() + std::string(suffix));
}

// Removes the temporary files of writers that were killed before their rename. Called under the
// writers' lock: every writer creates and renames its temporary file while it holds the lock,
// so any such file found now belongs to no live writer.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
  const std::string prefix = target.filename().string() + std::string(kTempInfix);
  const std::filesystem::path folder = Folder(target);
  DIR* const dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() == prefix.size() + kTempSuffixLength && name.starts_with(prefix)) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

// A new file beside `target` with a name no other file has, created with the permissions that
// the umask gives a new file.
FileDescriptor CreateTemporary(const std::filesystem::path& target, std::string& name, int& error) {
  static constexpr char kAlphabet[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target.string() + std::string(kTempInfix);
    for (std::size_t i = 0; i < kTempSuffixLength; ++i) name += kAlphabet[pick(random)];
    FileDescriptor fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd) return fd;
    if (errno != EEXIST) {
      error = errno;
      return {};
    }
  }
  error = EEXIST;
  return {};
}

void SyncFolder(const std::filesystem::path& file) {
  const FileDescriptor fd(::open(Folder(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd) Sync(fd.get());
}

// Writes `contents` to a new file beside `target`, flushes it to disk and renames it over
// `target`, so that the file is at every moment either the old or the new contents. The new
// file gets the owner and permissions of the old one, when there is one. The rename still has
// to be flushed with the folder.
SettingsWriteResult ReplaceFile(const std::filesystem::path& target, std::string_view contents,
                                const struct stat* old_info) {
  std::string temp;
  int error = 0;
  FileDescriptor fd = CreateTemporary(target, temp, error);
  if (!fd) return Failure(error);
  error = WriteAll(fd.get(), contents);
  if (error == 0 && old_info != nullptr) {
    if (old_info->st_uid != ::geteuid() || old_info->st_gid != ::getegid()) {
      // Only possible for a privileged process; without the right the file stays ours.
      [[maybe_unused]] const int ignored = ::fchown(fd.get(), old_info->st_uid, old_info->st_gid);
    }
    if (::fchmod(fd.get(), old_info->st_mode & 07777) != 0) error = errno;
  }
  if (error == 0) error = Sync(fd.get());
  if (const int close_error = fd.Close(); error == 0) error = close_error;
  if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    return Failure(error);
  }
  return Success();
}

// Applies `change` to the file's contents under the writers' lock. `change` returns nothing
// when the contents stay as they are; the file is then left untouched. Without `create` a
// missing file needs no change.
template <typename Change>
SettingsWriteResult EditFile(const std::filesystem::path& path, bool create, const Change& change) {
  int error = 0;
  const std::optional<std::filesystem::path> target = WriteTarget(path, error);
  if (!target) return Failure(error);
  struct stat info {};
  if (!create && ::stat(target->c_str(), &info) != 0 && errno == ENOENT) return Success();

  WriterLock lock = WriterLock::Acquire(WithSuffix(*target, kLockSuffix), kLockTimeout);
  if (!lock) return Failure(lock.error());
  RemoveStaleTemporaries(*target);

  std::string contents;
  bool exists = false;
  if (FileDescriptor fd(::open(target->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)); fd) {
    if (::fstat(fd.get(), &info) != 0) return Failure(errno);
    std::size_t length = 0;
    if (const int read_error = ReadAll(fd.get(), contents, length)) return Failure(read_error);
    contents.resize(length);
    // The lock is not the file's own: a file that we may not change stays as it is.
    if (::access(target->c_str(), W_OK) != 0) return Failure(errno);
    exists = true;
  } else if (errno != ENOENT) {
    return Failure(errno);
  } else if (!create) {
    return Success();
  }

  const ProfileBytes bytes = SplitProfile(contents);
  std::optional<std::string> body = change(bytes);
  if (!body) return Success();
  body->insert(0, bytes.bom);
  // A file recognised as UTF-8 without a byte-order mark gets one when the new contents alone
  // would no longer be recognised, so that it stays UTF-8.
  if (bytes.encoding == ProfileEncoding::kUtf8 && bytes.bom.empty() &&
      DetectProfileEncoding(*body) != ProfileEncoding::kUtf8) {
    body->insert(0, kUtf8ByteOrderMark);
  }
  SettingsWriteResult result = ReplaceFile(*target, *body, exists ? &info : nullptr);
  // The next writer already sees the new file; it need not wait for the folder's flush.
  lock.Release();
  if (result) SyncFolder(*target);
  return result;
}

// Runs `edit`, turning an exception (out of memory for a large file) into a failure.
template <typename Edit>
SettingsWriteResult Guarded(const Edit& edit) {
  try {
    return edit();
  } catch (const std::bad_alloc&) {
    return Failure(ENOMEM);
  } catch (const std::exception&) {
    return Failure(EIO);
  }
}

// Reads the file into a per-thread buffer; the view is valid until the thread's next read.
std::optional<std::string_view> ReadFileShared(const std::filesystem::path& path) {
  thread_local std::string buffer;
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd) return std::nullopt;
  std::size_t length = 0;
  if (ReadAll(fd.get(), buffer, length) != 0) return std::nullopt;
  return std::string_view(buffer.data(), length);
}

// The value of an item in the body of a settings file, as SettingsFile::Read gives it.
std::string ReadFromBody(std::string_view body, ProfileEncoding encoding, std::string_view section,
                         std::string_view key, std::string_view default_value) {
  const auto raw = FindProfileValue(body, encoding, Encode(TrimBlanks(section), encoding),
                                    Encode(TrimBlanks(key), encoding));
  if (!raw) return std::string(default_value);
  return Decode(*raw, encoding);
}

std::mutex& PathMutex() {
  static std::mutex mutex;
  return mutex;
}

std::filesystem::path& PathOverride() {
  static std::filesystem::path path;
  return path;
}

bool SameKey(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return fold(x) == fold(y);
  });
}

}  // namespace

void SetSettingsSyncDelayForTesting(std::chrono::milliseconds delay) {
  sync_delay_ms.store(delay.count());
}

std::string SettingsFile::Read(std::string_view section, std::string_view key,
                               std::string_view default_value) const {
  try {
    const auto file = ReadFileShared(path_);
    if (!file) return std::string(default_value);
    const ProfileBytes bytes = SplitProfile(*file);
    return ReadFromBody(bytes.body, bytes.encoding, section, key, default_value);
  } catch (const std::exception&) {
    return std::string(default_value);
  }
}

SettingsSnapshot::SettingsSnapshot(const std::filesystem::path& path) {
  try {
    if (const auto file = ReadFileShared(path)) {
      const ProfileBytes bytes = SplitProfile(*file);
      body_ = std::string(bytes.body);
      utf8_ = bytes.encoding == ProfileEncoding::kUtf8;
    }
  } catch (const std::exception&) {
    body_.reset();
  }
}

std::string SettingsSnapshot::Read(std::string_view section, std::string_view key,
                                   std::string_view default_value) const {
  if (!body_) return std::string(default_value);
  try {
    return ReadFromBody(*body_, utf8_ ? ProfileEncoding::kUtf8 : ProfileEncoding::kGb18030, section,
                        key, default_value);
  } catch (const std::exception&) {
    return std::string(default_value);
  }
}

SettingsWriteResult SettingsFile::Write(std::string_view section, std::string_view key,
                                        std::string_view value) const {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (!IsWritableSectionName(section) || !IsWritableKey(key)) return Failure(EINVAL);
  return Guarded([&] {
    return EditFile(path_, /*create=*/true, [&](const ProfileBytes& bytes) {
      return SetProfileValue(bytes.body, bytes.encoding, Encode(section, bytes.encoding),
                             Encode(key, bytes.encoding), Encode(value, bytes.encoding));
    });
  });
}

SettingsWriteResult SettingsFile::DeleteSection(std::string_view section) const {
  section = TrimBlanks(section);
  return Guarded([&] {
    return EditFile(path_, /*create=*/false, [&](const ProfileBytes& bytes) {
      return RemoveProfileSection(bytes.body, bytes.encoding, Encode(section, bytes.encoding));
    });
  });
}

SettingsWriteResult SettingsFile::ReplaceSection(std::string_view section,
                                                 std::span<const SettingsItem> items) const {
  section = TrimBlanks(section);
  if (!IsWritableSectionName(section)) return Failure(EINVAL);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string_view key = TrimBlanks(items[i].key);
    if (!IsWritableKey(key)) return Failure(EINVAL);
    for (std::size_t j = 0; j < i; ++j) {
      if (SameKey(key, TrimBlanks(items[j].key))) return Failure(EINVAL);
    }
  }
  return Guarded([&] {
    return EditFile(path_, /*create=*/!items.empty(), [&](const ProfileBytes& bytes) {
      std::vector<std::pair<std::string, std::string>> encoded;
      encoded.reserve(items.size());
      for (const SettingsItem& item : items) {
        encoded.emplace_back(Encode(TrimBlanks(item.key), bytes.encoding),
                             Encode(item.value, bytes.encoding));
      }
      return ReplaceProfileSection(bytes.body, bytes.encoding, Encode(section, bytes.encoding),
                                   encoded);
    });
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

SettingsWriteResult WriteSetting(std::string_view section, std::string_view key,
                                 std::string_view value) {
  return SettingsFile(SettingsPath()).Write(section, key, value);
}

SettingsWriteResult DeleteSection(std::string_view section) {
  return SettingsFile(SettingsPath()).DeleteSection(section);
}

SettingsWriteResult ReplaceSection(std::string_view section, std::span<const SettingsItem> items) {
  return SettingsFile(SettingsPath()).ReplaceSection(section, items);
}

}  // namespace velmora
