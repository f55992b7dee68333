#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ostream>
#include <string>
#include <string_view>

#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace velmora {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

enum class Op { kWrite, kDelete };

struct EditCase {
  const char* name;
  std::string_view before;  // bytes on disk
  Op op;
  std::string_view section;
  std::string_view key;
  std::string_view value;
  std::string_view after;
};

// GBK bytes: "通用设置", "界面风格", "是否千位分隔", "按钮的命名", "长度".
#define GENERAL "\xCD\xA8\xD3\xC3\xC9\xE8\xD6\xC3"
#define STYLE "\xBD\xE7\xC3\xE6\xB7\xE7\xB8\xF1"
#define SEPARATORS "\xCA\xC7\xB7\xF1\xC7\xA7\xCE\xBB\xB7\xD6\xB8\xF4"
#define BUTTONS "\xB0\xB4\xC5\xA5\xB5\xC4\xC3\xFC\xC3\xFB"
#define LENGTH "\xB3\xA4\xB6\xC8"

// clang-format off
const EditCase kEditCases[] = {
  {"ReplaceKeepsOtherLines",
   "; top comment\r\n[a]\r\nx = 1\r\n; note\r\n[b]\r\ny=2\r\n", Op::kWrite, "a", "x", "3",
   "; top comment\r\n[a]\r\nx = 3\r\n; note\r\n[b]\r\ny=2\r\n"},
  {"ReplaceKeepsKeySpellingAndBlanks", "[A]\nKey = \"old\" \n", Op::kWrite, "a", "key", "new",
   "[A]\nKey = new \n"},
  {"ReplaceFirstOfDuplicateKeys", "[s]\nk=1\nk=2\n", Op::kWrite, "s", "k", "3", "[s]\nk=3\nk=2\n"},
  {"ReplaceEmptyValue", "[s]\nk=\nj=1\n", Op::kWrite, "s", "k", "v", "[s]\nk=v\nj=1\n"},
  {"AppendAfterLastItem", "[a]\nx=1\n\n; b follows\n[b]\ny=2\n", Op::kWrite, "a", "z", "3",
   "[a]\nx=1\nz=3\n\n; b follows\n[b]\ny=2\n"},
  {"AppendToEmptySection", "[a]\n[b]\n", Op::kWrite, "a", "k", "v", "[a]\nk=v\n[b]\n"},
  {"AppendToFirstOfDuplicateSections", "[s]\na=1\n[t]\n[s]\nk=2\n", Op::kWrite, "s", "k", "3",
   "[s]\na=1\nk=3\n[t]\n[s]\nk=2\n"},
  {"NewSectionWithFileCrLf", "[a]\r\nx=1\r\n", Op::kWrite, "b", "k", "v",
   "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
  {"NewItemWithFileCr", "[a]\rx=1\r[b]\r", Op::kWrite, "a", "y", "2", "[a]\rx=1\ry=2\r[b]\r"},
  {"NewItemWithFileCrKeepsEmptyLineAfter", "a\r[s]\n\nb", Op::kWrite, "s", "k", "v",
   "a\r[s]\nk=v\r\n\nb"},
  {"NewItemAfterLastLineWithoutBreak", "[a]\r\nx=1", Op::kWrite, "a", "y", "2",
   "[a]\r\nx=1\r\ny=2\r\n"},
  {"NewSectionAfterLastLineWithoutBreak", "[a]\nx=1", Op::kWrite, "b", "k", "v",
   "[a]\nx=1\n[b]\nk=v\n"},
  {"NewItemAfterHeaderWithoutBreak", "[a]", Op::kWrite, "a", "k", "v", "[a]\nk=v\n"},
  {"EmptyFile", "", Op::kWrite, "s", "k", "v", "[s]\nk=v\n"},
  {"GbkFileReplace", "[" GENERAL "]\r\n" STYLE "=1\r\n", Op::kWrite, "通用设置", "界面风格", "3",
   "[" GENERAL "]\r\n" STYLE "=3\r\n"},
  {"GbkFileNewItem", "[" GENERAL "]\r\n" STYLE "=1\r\n", Op::kWrite, "通用设置", "是否千位分隔", "1",
   "[" GENERAL "]\r\n" STYLE "=1\r\n" SEPARATORS "=1\r\n"},
  {"GbkFileNewSection", "[" GENERAL "]\r\n", Op::kWrite, "按钮的命名", "unit1", "长度",
   "[" GENERAL "]\r\n[" BUTTONS "]\r\nunit1=" LENGTH "\r\n"},
  {"TrailByteIsNotFoldedOnWrite", "[\x81\x41]\nk=1\n", Op::kWrite, "乤", "k", "2",
   "[\x81\x41]\nk=1\n[\x81\x61]\nk=2\n"},
  {"BomFileStaysUtf8", "\xEF\xBB\xBF[s]\nk=1\n", Op::kWrite, "s", "名", "米",
   "\xEF\xBB\xBF[s]\nk=1\n名=米\n"},
  {"EdgeBlanksQuoted", "[s]\nk=1\n", Op::kWrite, "s", "k", " 1", "[s]\nk=\" 1\"\n"},
  {"QuotedValueQuotedAgain", "[s]\nk=1\n", Op::kWrite, "s", "k", "\"x\"", "[s]\nk=\"\"x\"\"\n"},
  {"LineBreaksInValueBecomeBlanks", "[s]\nk=1\n", Op::kWrite, "s", "k", "a\r\n[b]\nc",
   "[s]\nk=a  [b] c\n"},
  {"SameValueLeavesFileAlone", "[s]\nk = \"v\" ", Op::kWrite, "s", "K", "v", "[s]\nk = \"v\" "},
  {"DeleteEveryCopyKeepOthers",
   "; top\n[a]\nx=1\n[b]\ny=2\n; end of b\n [ A ] \nz=3\n[c]\r\nw=4", Op::kDelete, "a", "", "",
   "; top\n[b]\ny=2\n; end of b\n[c]\r\nw=4"},
  {"DeleteLastSection", "[a]\nx=1\n[b]\ny=2\n", Op::kDelete, "b", "", "", "[a]\nx=1\n"},
  {"DeleteAbsentSection", "k=0\n[a]\nx=1\n", Op::kDelete, "b", "", "", "k=0\n[a]\nx=1\n"},
  {"DeleteGbkSectionWithBracketTrailByte", "[\x81\x5D]\nk=v\n[t]\n", Op::kDelete, "乚", "", "",
   "[t]\n"},
};
// clang-format on

void PrintTo(const EditCase& c, std::ostream* os) {
  *os << c.name;
}

class ProfileEditTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(ProfileEditTest, ChangesOnlyWhatItMust) {
  const EditCase& c = GetParam();
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  WriteBytes(file.path(), c.before);
  const bool ok =
      c.op == Op::kWrite ? file.Write(c.section, c.key, c.value) : file.DeleteSection(c.section);
  EXPECT_TRUE(ok);
  EXPECT_EQ(ReadBytes(file.path()), c.after);
  if (c.op == Op::kWrite && c.value.find_first_of("\r\n") == std::string_view::npos) {
    EXPECT_EQ(file.Read(c.section, c.key, "default"), c.value);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileEditTest, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileWrite, ValuesReadBackAsWritten) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  for (const std::string_view value :
       {" 1", "1 ", "  ", "\"x\"", "\"", "a=b", "米,1", "😀 €", "", "x\ty"}) {
    SCOPED_TRACE(value);
    ASSERT_TRUE(file.Write("通用设置", "key", value));
    EXPECT_EQ(file.Read("通用设置", "key", "default"), value);
  }
}

TEST(ProfileWrite, RewritingASectionAsTheUnitManagerDoes) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  WriteBytes(file.path(), "[unit1]\n2=old,1\n3=old,2\n4=old,3\n[unit2]\n52=x,1\n");
  ASSERT_TRUE(file.DeleteSection("unit1"));
  ASSERT_TRUE(file.Write("unit1", "2", "米,1"));
  ASSERT_TRUE(file.Write("unit1", "3", "厘米,100"));
  EXPECT_EQ(file.Read("unit1", "2"), "米,1");
  EXPECT_EQ(file.Read("unit1", "3"), "厘米,100");
  EXPECT_EQ(file.Read("unit1", "4"), "");
  EXPECT_EQ(file.Read("unit2", "52"), "x,1");
}

TEST(ProfileWrite, NamesThatWouldBreakTheFileAreRefused) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  constexpr std::string_view kBefore = "[s]\nk=1\n";
  WriteBytes(file.path(), kBefore);
  EXPECT_FALSE(file.Write("a]b", "k", "v"));
  EXPECT_FALSE(file.Write("s\n[t]", "k", "v"));
  EXPECT_FALSE(file.Write("s", "a=b", "v"));
  EXPECT_FALSE(file.Write("s", "[t]", "v"));
  EXPECT_FALSE(file.Write("s", "k\nj", "v"));
  EXPECT_FALSE(file.Write("s", " ", "v"));
  EXPECT_EQ(ReadBytes(file.path()), kBefore);
}

TEST(ProfileWrite, CreatesTheFileButDeleteDoesNot) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  EXPECT_TRUE(file.DeleteSection("s"));
  EXPECT_FALSE(std::filesystem::exists(file.path()));
  EXPECT_TRUE(file.Write("s", "k", "v"));
  EXPECT_EQ(ReadBytes(file.path()), "[s]\nk=v\n");
}

TEST(ProfileWrite, KeepsPermissionsAndLeavesNoTemporaryFiles) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  WriteBytes(file.path(), "[s]\nk=1\n");
  ASSERT_EQ(chmod(file.path().c_str(), 0640), 0);
  ASSERT_TRUE(file.Write("s", "k", "2"));
  ASSERT_TRUE(file.Write("s", "j", "3"));
  ASSERT_TRUE(file.DeleteSection("s"));
  struct stat info {};
  ASSERT_EQ(stat(file.path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(ProfileWrite, WritesThroughASymbolicLink) {
  const TempDir dir;
  WriteBytes(dir / "real.dat", "[s]\nk=1\n");
  std::filesystem::create_symlink(dir / "real.dat", dir / "config.dat");
  ASSERT_TRUE(SettingsFile(dir / "config.dat").Write("s", "k", "2"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "config.dat"));
  EXPECT_EQ(ReadBytes(dir / "real.dat"), "[s]\nk=2\n");
}

TEST(ProfileWrite, FailedWriteIsReportedAndChangesNothing) {
  const TempDir dir;
  EXPECT_FALSE(SettingsFile(dir / "missing" / "config.dat").Write("s", "k", "v"));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

  std::filesystem::create_directory(dir / "folder.dat");
  EXPECT_FALSE(SettingsFile(dir / "folder.dat").Write("s", "k", "v"));
  EXPECT_FALSE(SettingsFile(dir / "folder.dat").DeleteSection("s"));
}

TEST(ProfileWrite, ReadOnlyFileAndFolderAreLeftAlone) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  WriteBytes(file.path(), "[s]\nk=1\n");
  ASSERT_EQ(chmod(file.path().c_str(), 0444), 0);
  EXPECT_FALSE(file.Write("s", "k", "2"));
  EXPECT_EQ(file.Read("s", "k"), "1");

  ASSERT_EQ(chmod(file.path().c_str(), 0644), 0);
  ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
  EXPECT_FALSE(file.Write("s", "k", "2"));
  EXPECT_EQ(file.Read("s", "k"), "1");
  chmod(dir.path().c_str(), 0755);
}

}  // namespace
}  // namespace velmora
