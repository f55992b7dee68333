#include "settings/writer_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace velmora {
namespace {

// Two one-byte locks in the lock file (open file description locks, so that two threads of one
// process exclude each other as two processes do). The turn byte is the lock itself; the queue
// byte is a turnstile held while waiting for the turn, so that a writer coming back for its
// next write queues behind a writer that was already waiting instead of overtaking it.
constexpr off_t kQueueByte = 0;
constexpr off_t kTurnByte = 1;

int SetLock(int fd, short type, off_t byte, bool wait) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  while (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

int TakeTurn(int fd, bool wait) {
  if (const int error = SetLock(fd, F_WRLCK, kQueueByte, wait)) return error;
  const int error = SetLock(fd, F_WRLCK, kTurnByte, wait);
  SetLock(fd, F_UNLCK, kQueueByte, false);
  return error;
}

bool IsBusy(int error) {
  return error == EAGAIN || error == EACCES;
}

// A blocking wait runs on a thread of its own so that the caller can give up at its limit. The
// waiter then keeps the descriptor and closes it as soon as its wait ends, lock or no lock.
struct Wait {
  std::mutex mutex;
  std::condition_variable done_changed;
  int fd = -1;
  bool done = false;
  bool abandoned = false;
  int error = 0;
};

}  // namespace

WriterLock WriterLock::Acquire(const std::filesystem::path& lock_file,
                               std::chrono::milliseconds limit) {
  const int fd = ::open(lock_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return WriterLock(-1, errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return WriterLock(-1, S_ISDIR(info.st_mode) ? EISDIR : ENODEV);
  }
  const int error = TakeTurn(fd, false);
  if (error == 0) return WriterLock(fd, 0);
  if (!IsBusy(error)) {
    ::close(fd);
    return WriterLock(-1, error);
  }

  auto wait = std::make_shared<Wait>();
  wait->fd = fd;
  try {
    std::thread([wait] {
      const int result = TakeTurn(wait->fd, true);
      const std::lock_guard lock(wait->mutex);
      if (wait->abandoned) {
        ::close(wait->fd);
        return;
      }
      wait->error = result;
      wait->done = true;
      wait->done_changed.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    ::close(fd);
    return WriterLock(-1, EAGAIN);
  }
  std::unique_lock lock(wait->mutex);
  if (!wait->done_changed.wait_for(lock, limit, [&] { return wait->done; })) {
    wait->abandoned = true;
    return WriterLock(-1, ETIMEDOUT);
  }
  if (wait->error != 0) {
    ::close(fd);
    return WriterLock(-1, wait->error);
  }
  return WriterLock(fd, 0);
}

WriterLock::WriterLock(WriterLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_) {}

WriterLock& WriterLock::operator=(WriterLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    error_ = other.error_;
  }
  return *this;
}

WriterLock::~WriterLock() {
  Release();
}

void WriterLock::Release() {
  // Closing the descriptor releases both locks.
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

}  // namespace velmora
