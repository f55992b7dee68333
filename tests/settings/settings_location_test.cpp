#include "settings/settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace velmora {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct PerUserCase {
  const char* name;
  const char* xdg_config_home;
  const char* home;
  const char* expected;
};

const PerUserCase kPerUserCases[] = {
    {"XdgConfigHome", "/x/config", "/home/u", "/x/config/velmora/config.dat"},
    {"XdgUnset", "", "/home/u", "/home/u/.config/velmora/config.dat"},
    {"XdgRelativeIsIgnored", "config", "/home/u", "/home/u/.config/velmora/config.dat"},
    {"NoHomeButXdg", "/x", "", "/x/velmora/config.dat"},
    {"NeitherIsUsable", "rel", "also/rel", ""},
};

class PerUserPathTest : public ::testing::TestWithParam<PerUserCase> {};

TEST_P(PerUserPathTest, FollowsTheBaseDirectoryRules) {
  const SettingsEnvironment environment{"/opt/v/bin", GetParam().xdg_config_home, GetParam().home};
  EXPECT_EQ(PerUserSettingsPath(environment), std::filesystem::path(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, PerUserPathTest, ::testing::ValuesIn(kPerUserCases),
                         [](const auto& info) { return std::string(info.param.name); });

class SettingsLocationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_ / "bin");
    std::filesystem::create_directories(dir_ / "share/velmora");
    WriteBytes(dir_ / "share/velmora/config.dat", "[s]\nk=shipped\n");
  }
  SettingsEnvironment Environment() const {
    return {dir_ / "bin", (dir_ / "xdg").string(), (dir_ / "home").string()};
  }
  TempDir dir_;
};

TEST_F(SettingsLocationTest, PortableFileOnlyWhenItIsAWritablePlainFile) {
  const auto environment = Environment();
  const auto per_user = dir_ / "xdg/velmora/config.dat";
  const auto portable = dir_ / "bin/config.dat";
  // State: nothing beside the program.  Expected: the per-user file.
  EXPECT_EQ(ResolveSettingsPath(environment), per_user);
  // State: a folder in place of the file.  Expected: still the per-user file.
  std::filesystem::create_directory(portable);
  EXPECT_EQ(ResolveSettingsPath(environment), per_user);
  std::filesystem::remove(portable);
  // State: a plain file; then a link to one.  Expected: the portable path.
  WriteBytes(portable, "[s]\n");
  EXPECT_EQ(ResolveSettingsPath(environment), portable);
  std::filesystem::rename(portable, dir_ / "elsewhere.dat");
  std::filesystem::create_symlink(dir_ / "elsewhere.dat", portable);
  EXPECT_EQ(ResolveSettingsPath(environment), portable);
  // State: a dangling link.  Expected: the per-user file.
  std::filesystem::remove(dir_ / "elsewhere.dat");
  EXPECT_EQ(ResolveSettingsPath(environment), per_user);
}

TEST_F(SettingsLocationTest, ShippedCopyLiesUnderShareBesideBin) {
  EXPECT_EQ(ShippedSettingsPath(Environment()), dir_ / "share/velmora/config.dat");
}

TEST_F(SettingsLocationTest, CopyIsMadeOnceWithPrivateFoldersAndNoLeftovers) {
  const auto file = dir_ / "xdg/a/velmora/config.dat";
  const auto shipped = ShippedSettingsPath(Environment());
  ASSERT_TRUE(CreateSettingsFromShipped(file, shipped));
  EXPECT_EQ(ReadBytes(file), "[s]\nk=shipped\n");
  struct stat info {};
  ASSERT_EQ(::stat((dir_ / "xdg/a").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700u);
  // State: the user changed the file; the shipped one changed too.  Action: copy again.
  // Expected: the user's file stays.
  WriteBytes(file, "[s]\nk=mine\n");
  WriteBytes(shipped, "[s]\nk=upgraded\n");
  EXPECT_TRUE(CreateSettingsFromShipped(file, shipped));
  EXPECT_EQ(ReadBytes(file), "[s]\nk=mine\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1);
}

TEST_F(SettingsLocationTest, NoCopyFromAMissingOrOddShippedFile) {
  const auto file = dir_ / "xdg/velmora/config.dat";
  // A missing file, a folder and a pipe (which must not block) in place of the shipped copy.
  EXPECT_FALSE(CreateSettingsFromShipped(file, dir_ / "missing.dat"));
  EXPECT_FALSE(CreateSettingsFromShipped(file, dir_ / "share"));
  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  EXPECT_FALSE(CreateSettingsFromShipped(file, dir_ / "pipe"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "xdg"));
  // A plain file where a folder must go.
  WriteBytes(dir_ / "blocked", "x");
  EXPECT_FALSE(CreateSettingsFromShipped(dir_ / "blocked/velmora/config.dat",
                                         ShippedSettingsPath(Environment())));
  EXPECT_EQ(ReadBytes(dir_ / "blocked"), "x");
}

}  // namespace
}  // namespace velmora
