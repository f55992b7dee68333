#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "settings/settings_file.h"
#include "settings/settings_file_testing.h"
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
  // The user's own files beside it, whatever their names, are not temporary files.
  testing::WriteBytes(dir / "config.dat.bak", "[s]\n");
  testing::WriteBytes(dir / "config.dat.123456", "[s]\n");
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
  // The next write clears away the temporary files of the killed writers, and only those.
  ASSERT_TRUE(file.Write("last", "value", "after"));
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"config.dat", "config.dat.lock", "config.dat.bak",
                                          "config.dat.123456"}));
}

// Writers on a slow disk (every flush made slower) wait for each other in turn: none gives up,
// none loses a key, and none waits while the others write most of their keys.
TEST(ConcurrentWrite, SlowDiskStarvesNoWriter) {
  constexpr int kWriters = 3;
  constexpr int kKeys = 20;
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  ASSERT_TRUE(file.Write("s", "start", "1"));
  SetSettingsSyncDelayForTesting(std::chrono::milliseconds(25));
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::pair<pid_t, int>> writers;  // process and the pipe of its longest wait
  for (int w = 0; w < kWriters; ++w) {
    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    const pid_t pid = Spawn([&, w] {
      close(pipe_fds[0]);
      long long longest = 0;
      for (int i = 0; i < kKeys; ++i) {
        const auto before = std::chrono::steady_clock::now();
        if (!file.Write("s", "w" + std::to_string(w) + "_" + std::to_string(i), "v")) return 1;
        longest =
            std::max<long long>(longest, std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::steady_clock::now() - before)
                                             .count());
      }
      return write(pipe_fds[1], &longest, sizeof longest) == sizeof longest ? 0 : 1;
    });
    close(pipe_fds[1]);
    ASSERT_GT(pid, 0);
    writers.emplace_back(pid, pipe_fds[0]);
  }
  std::vector<long long> longest_waits;
  for (const auto& [pid, pipe_fd] : writers) {
    EXPECT_EQ(ExitCode(pid), 0);
    long long longest = -1;
    EXPECT_EQ(read(pipe_fd, &longest, sizeof longest), sizeof longest);
    close(pipe_fd);
    longest_waits.push_back(longest);
  }
  const auto run = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now() - start)
                       .count();
  SetSettingsSyncDelayForTesting(std::chrono::milliseconds(0));

  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kKeys; ++i) {
      EXPECT_EQ(file.Read("s", "w" + std::to_string(w) + "_" + std::to_string(i)), "v")
          << w << " " << i;
    }
    // A starved writer waits for whole runs of the other writers' keys, two thirds of the run;
    // served in turn, one write waits for about one write of each other writer.
    EXPECT_LT(longest_waits[w], run / 2) << "writer " << w << " of a run of " << run << " ms";
  }
}

// A writer killed in the middle of replacing a section leaves the old list or the new one,
// never a mixture.
TEST(ConcurrentWrite, KilledReplaceLeavesOneWholeList) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  const auto list = [](int count, const std::string& name) {
    std::vector<SettingsItem> items;
    for (int i = 0; i < count; ++i) {
      items.push_back({std::to_string(i + 2), name + std::to_string(i) + "," + std::to_string(i)});
    }
    return items;
  };
  const std::vector<SettingsItem> lists[] = {list(40, "米"), list(25, "尺")};
  ASSERT_TRUE(file.Write("通用设置", "跨度", "120"));
  ASSERT_TRUE(file.ReplaceSection("unit1", lists[0]));
  ASSERT_TRUE(file.Write("unit2", "52", "克,1"));
  std::mt19937 random(5);
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE(round);
    const pid_t pid = Spawn([&] {
      for (int j = 1;; ++j) {
        if (!file.ReplaceSection("unit1", lists[j % 2])) return 1;
      }
    });
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);

    std::vector<SettingsItem> found;
    for (int key = 2; key <= 60; ++key) {
      const std::string value = file.Read("unit1", std::to_string(key), "-");
      if (value != "-") found.push_back({std::to_string(key), value});
    }
    const auto same = [&](const std::vector<SettingsItem>& expected) {
      return std::equal(found.begin(), found.end(), expected.begin(), expected.end(),
                        [](const SettingsItem& a, const SettingsItem& b) {
                          return a.key == b.key && a.value == b.value;
                        });
    };
    EXPECT_TRUE(same(lists[0]) || same(lists[1])) << found.size() << " items";
    EXPECT_EQ(file.Read("通用设置", "跨度"), "120");
    EXPECT_EQ(file.Read("unit2", "52"), "克,1");
  }
}

}  // namespace
}  // namespace velmora
