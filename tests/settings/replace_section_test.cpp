#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "read_only_path.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace velmora {
namespace {

using testing::ReadBytes;
using testing::ReadOnlyPath;
using testing::TempDir;
using testing::WriteBytes;

struct ReplaceCase {
  const char* name;
  std::string_view before;  // bytes on disk
  std::string_view section;
  std::vector<SettingsItem> items;
  std::string_view after;
};

void PrintTo(const ReplaceCase& c, std::ostream* out) {
  *out << c.name;
}

class ReplaceSectionTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceSectionTest, LeavesExactlyTheNewItemsAndEveryOtherLine) {
  const ReplaceCase& c = GetParam();
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  WriteBytes(file.path(), c.before);
  const SettingsWriteResult result = file.ReplaceSection(c.section, c.items);
  EXPECT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(ReadBytes(file.path()), c.after);
}

// GBK bytes: "米", "千米", "克".
#define METRE "\xC3\xD7"
#define KILOMETRE "\xC7\xA7\xC3\xD7"
#define GRAM "\xBF\xCB"

// clang-format off
const ReplaceCase kReplaceCases[] = {
  {"StaleKeysGoOtherLinesStay",
   "; top\r\n[a]\r\nx=1\r\n[unit1]\r\n2=old,1\r\n3=old,2\r\n4=old,3\r\n; note\r\n[b]\r\ny=2\r\n",
   "unit1", {{"2", "米,1"}, {"3", "千米,0.001"}},
   "; top\r\n[a]\r\nx=1\r\n[unit1]\r\n2=" METRE ",1\r\n3=" KILOMETRE ",0.001\r\n[b]\r\ny=2\r\n"},
  {"OrderOfTheItemsIsKept", "[unit1]\n2=a,1\n3=b,2\n", "unit1", {{"3", "a,1"}, {"2", "b,2"}},
   "[unit1]\n3=a,1\n2=b,2\n"},
  {"DuplicateSectionsBecomeOne",
   "[unit1]\n2=a,1\n[x]\nk=v\n[UNIT1]\n3=b,2\n[unit1]\n9=c,3\n[y]\nj=w\n", "unit1",
   {{"2", "克,1"}},
   "[unit1]\n2=" GRAM ",1\n[x]\nk=v\n[y]\nj=w\n"},
  {"HeaderLineKeptAsItStands", "[ Unit1 ] ; list\n2=a,1\n", "unit1", {{"2", "b,1"}},
   "[ Unit1 ] ; list\n2=b,1\n"},
  {"NewSectionAppended", "[a]\nx=1", "unit2", {{"52", "克,1"}},
   "[a]\nx=1\n[unit2]\n52=" GRAM ",1\n"},
  {"NewSectionInEmptyFile", "", "unit2", {{"52", "g,1"}}, "[unit2]\n52=g,1\n"},
  {"EmptyListRemovesTheSection", "[a]\nx=1\n[unit1]\n2=a,1\n[b]\ny=2\n[unit1]\n3=b\n", "unit1",
   {}, "[a]\nx=1\n[b]\ny=2\n"},
  {"ValuesStoredSoTheyReadBack", "[s]\n", "s", {{"k", " padded "}, {"j", "line\nbreak"}},
   "[s]\nk=\" padded \"\nj=line break\n"},
  {"UnchangedListLeavesTheFile", "[s]\r\nk=v\r\n", "s", {{"k", "v"}}, "[s]\r\nk=v\r\n"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceSectionTest, ::testing::ValuesIn(kReplaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReplaceSection, RefusesItemsThatWouldBreakTheFile) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  constexpr std::string_view kBefore = "[s]\nk=1\n";
  WriteBytes(file.path(), kBefore);
  const std::vector<SettingsItem> refused[] = {
      {{"a=b", "v"}},
      {{"", "v"}},
      {{"k", "1"}, {"j", "2"}, {"K", "3"}},
  };
  for (const auto& items : refused) {
    const SettingsWriteResult result = file.ReplaceSection("s", items);
    EXPECT_EQ(result.error, EINVAL);
    EXPECT_FALSE(result.message.empty());
  }
  EXPECT_EQ(file.ReplaceSection("s]", std::vector<SettingsItem>{{"k", "v"}}).error, EINVAL);
  EXPECT_EQ(ReadBytes(file.path()), kBefore);
}

TEST(ReplaceSection, MissingFileIsCreatedUnlessTheListIsEmpty) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  EXPECT_TRUE(file.ReplaceSection("unit1", {}));
  EXPECT_FALSE(std::filesystem::exists(file.path()));
  EXPECT_TRUE(file.ReplaceSection("unit1", std::vector<SettingsItem>{{"2", "米,1"}}));
  EXPECT_EQ(file.Read("unit1", "2"), "米,1");
}

TEST(ReplaceSection, FailureLeavesTheFileAndSaysWhy) {
  const TempDir dir;
  const std::vector<SettingsItem> items = {{"2", "米,1"}};

  std::filesystem::create_directory(dir / "folder.dat");
  const SettingsWriteResult folder = SettingsFile(dir / "folder.dat").ReplaceSection("s", items);
  EXPECT_EQ(folder.error, EISDIR);
  EXPECT_FALSE(folder.message.empty());

  const SettingsFile file(dir / "config.dat");
  ASSERT_TRUE(file.Write("unit1", "2", "old,1"));
  const std::string before = ReadBytes(file.path());
  const ReadOnlyPath read_only(dir.path());
  if (!read_only.ok()) GTEST_SKIP() << "no way to make a folder read-only here";
  for (const auto& list : {items, std::vector<SettingsItem>{}}) {
    const SettingsWriteResult result = file.ReplaceSection("unit1", list);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.message, "没有写入权限");
  }
  EXPECT_EQ(ReadBytes(file.path()), before);
}

}  // namespace
}  // namespace velmora
