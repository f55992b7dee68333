#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace velmora {
namespace {

using testing::TempDir;

// Runs `body` in a child process that ends with its exit code; returns the child's id.
template <typename Body>
pid_t Spawn(const Body& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST(ConcurrentWrite, TwoProcessesLoseNoKey) {
  constexpr int kKeys = 500;
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  ASSERT_TRUE(file.Write("s", "start", "1"));
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = Spawn([&, w] {
      for (int i = 0; i < kKeys; ++i) {
        const std::string key = "p" + std::to_string(w) + "_" + std::to_string(i);
        if (!file.Write(i % 2 == 0 ? "s" : "公共", key, std::to_string(i))) return 1;
      }
      return 0;
    });
    ASSERT_GT(writers[w], 0);
  }
  EXPECT_EQ(ExitCode(writers[0]), 0);
  EXPECT_EQ(ExitCode(writers[1]), 0);
  int present = 0;
  for (int w = 0; w < 2; ++w) {
    for (int i = 0; i < kKeys; ++i) {
      const std::string key = "p" + std::to_string(w) + "_" + std::to_string(i);
      present += file.Read(i % 2 == 0 ? "s" : "公共", key) == std::to_string(i);
    }
  }
  EXPECT_EQ(present, 2 * kKeys);
  EXPECT_EQ(file.Read("s", "start"), "1");
}

TEST(ConcurrentWrite, KilledWriterNeverDamagesTheFile) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  const std::string filler(300, 'x');
  std::map<std::string, std::string> expected;  // every write that a writer reported done
  std::mt19937 random(99);
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE(round);
    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    const pid_t pid = Spawn([&] {
      close(pipe_fds[0]);
      for (int j = 0;; ++j) {
        const std::string key = "r" + std::to_string(round) + "_" + std::to_string(j);
        if (!file.Write("keys", key, filler + std::to_string(j))) return 1;
        if (!file.Write("last", "value", key)) return 1;
        if (write(pipe_fds[1], &j, sizeof j) != sizeof j) return 1;
      }
    });
    ASSERT_GT(pid, 0);
    close(pipe_fds[1]);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    int done = -1;
    for (int j = 0; read(pipe_fds[0], &j, sizeof j) == sizeof j;) done = j;
    close(pipe_fds[0]);

    std::string last_done;
    for (int j = 0; j <= done; ++j) {
      last_done = "r" + std::to_string(round) + "_" + std::to_string(j);
      expected[last_done] = filler + std::to_string(j);
    }
    for (const auto& [key, value] : expected) {
      ASSERT_EQ(file.Read("keys", key, "missing"), value) << key;
    }
    // The write in flight at the kill either happened completely or not at all.
    const std::string next = "r" + std::to_string(round) + "_" + std::to_string(done + 1);
    const std::string in_flight = file.Read("keys", next, "missing");
    EXPECT_TRUE(in_flight == "missing" || in_flight == filler + std::to_string(done + 1));
    if (done >= 0) {
      const std::string last = file.Read("last", "value");
      EXPECT_TRUE(last == last_done || last == next) << last;
    }
  }
}

}  // namespace
}  // namespace velmora
