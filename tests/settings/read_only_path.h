#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace velmora::testing {

// Makes a file or folder unchangeable while the object lives: with the immutable attribute for
// root, whom permissions do not bind, and by taking away write permission for other users.
// ok() is false where neither works (a file system without the attribute).
class ReadOnlyPath {
 public:
  explicit ReadOnlyPath(std::filesystem::path path) : path_(std::move(path)) {
    if (::geteuid() == 0) {
      immutable_ = SetImmutable(true);
    } else {
      struct stat info {};
      if (::stat(path_.c_str(), &info) == 0 && ::chmod(path_.c_str(), info.st_mode & 0555) == 0) {
        mode_ = info.st_mode & 07777;
      }
    }
  }
  ~ReadOnlyPath() {
    if (immutable_) SetImmutable(false);
    if (mode_ != 0) ::chmod(path_.c_str(), mode_);
  }
  ReadOnlyPath(const ReadOnlyPath&) = delete;
  ReadOnlyPath& operator=(const ReadOnlyPath&) = delete;

  bool ok() const { return immutable_ || mode_ != 0; }

 private:
  bool SetImmutable(bool on) const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
  }

  std::filesystem::path path_;
  bool immutable_ = false;
  mode_t mode_ = 0;
};

}  // namespace velmora::testing
