#pragma once

#include <chrono>
#include <filesystem>

namespace velmora {

// An exclusive lock shared by every writer of one settings file, in this process and in others,
// held on a lock file that stays in place (the settings file itself is replaced by each write,
// so a lock on it would be lost with it). Waiting writers are woken as soon as the lock is free,
// and one that has just finished cannot take it again ahead of one already waiting, so a slow
// disk makes writes slower but starves none of them.
class WriterLock {
 public:
  // Waits for the lock at most `limit` (a stopped process must not hang the program for ever).
  // The lock file is created when absent. On failure error() holds the errno value: ETIMEDOUT
  // when the wait ran out.
  static WriterLock Acquire(const std::filesystem::path& lock_file,
                            std::chrono::milliseconds limit);

  WriterLock(WriterLock&& other) noexcept;
  WriterLock& operator=(WriterLock&& other) noexcept;
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;
  ~WriterLock();

  explicit operator bool() const { return fd_ >= 0; }
  // Lets the next writer go before this object ends.
  void Release();
  int error() const { return error_; }

 private:
  WriterLock(int fd, int error) : fd_(fd), error_(error) {}
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace velmora
