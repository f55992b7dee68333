#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ostream>
#include <set>
#include <string>
#include <string_view>

#include "read_only_path.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace velmora {
namespace {

using testing::ReadBytes;
using testing::ReadOnlyPath;
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
  const SettingsWriteResult result =
      c.op == Op::kWrite ? file.Write(c.section, c.key, c.value) : file.DeleteSection(c.section);
  EXPECT_TRUE(result.ok()) << result.message;
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
  // Besides the file only the writers' lock file, which stays.
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"config.dat", "config.dat.lock"}));
}

struct LinkCase {
  const char* name;
  const char* link_text;  // what config.dat points to, relative to the test folder or absolute
  const char* target;     // the file that must receive the contents, relative to the folder
  bool target_exists;
};

void PrintTo(const LinkCase& c, std::ostream* out) {
  *out << c.name;
}

class SymbolicLinkTest : public ::testing::TestWithParam<LinkCase> {};

// A write goes to the file at the end of the links, creating it when needed; the links stay.
TEST_P(SymbolicLinkTest, WritesThroughTheLinkAndKeepsIt) {
  const LinkCase& c = GetParam();
  const TempDir dir;
  std::filesystem::create_directory(dir / "data");
  std::filesystem::create_symlink("data/real.dat", dir / "to-real");
  std::string link_text = c.link_text;
  if (link_text.front() == '@') link_text = (dir / link_text.substr(1)).string();
  std::filesystem::create_symlink(link_text, dir / "config.dat");
  if (c.target_exists) WriteBytes(dir / c.target, "[s]\nk=1\n");

  const SettingsFile file(dir / "config.dat");
  ASSERT_TRUE(file.Write("s", "k", "2"));
  ASSERT_TRUE(file.Write("t", "j", "3"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "config.dat"));
  EXPECT_EQ(ReadBytes(dir / c.target), "[s]\nk=2\n[t]\nj=3\n");
  EXPECT_EQ(file.Read("s", "k"), "2");
  ASSERT_TRUE(file.DeleteSection("t"));
  EXPECT_EQ(ReadBytes(dir / c.target), "[s]\nk=2\n");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "config.dat"));
}

// clang-format off
const LinkCase kLinkCases[] = {
  {"ExistingTarget",          "data/real.dat",  "data/real.dat", true},
  {"DanglingRelative",        "data/real.dat",  "data/real.dat", false},
  {"DanglingAbsolute",        "@data/real.dat", "data/real.dat", false},
  {"DanglingChainOfLinks",    "to-real",        "data/real.dat", false},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Links, SymbolicLinkTest, ::testing::ValuesIn(kLinkCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileWrite, LinksThatLeadNowhereFailAndCreateNothing) {
  const TempDir dir;
  std::filesystem::create_symlink("other.dat", dir / "config.dat");
  std::filesystem::create_symlink("config.dat", dir / "other.dat");
  const SettingsWriteResult loop = SettingsFile(dir / "config.dat").Write("s", "k", "v");
  EXPECT_EQ(loop.error, ELOOP);
  EXPECT_FALSE(loop.message.empty());

  std::filesystem::create_symlink("missing/real.dat", dir / "lost.dat");
  EXPECT_EQ(SettingsFile(dir / "lost.dat").Write("s", "k", "v").error, ENOENT);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "lost.dat"));
}

// Every change reports what actually happened to the file, with a reason a user can read.
TEST(ProfileWrite, OutcomeIsReportedFromWhatHappened) {
  const TempDir dir;
  const SettingsFile missing_folder(dir / "missing" / "config.dat");
  const SettingsWriteResult no_folder = missing_folder.Write("s", "k", "v");
  EXPECT_EQ(no_folder.error, ENOENT);
  EXPECT_EQ(no_folder.message, "文件所在的文件夹不存在");
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  // Nothing to delete where there is no file: done.
  EXPECT_TRUE(missing_folder.DeleteSection("s"));

  std::filesystem::create_directory(dir / "folder.dat");
  const SettingsFile folder(dir / "folder.dat");
  for (const SettingsWriteResult& result :
       {folder.Write("s", "k", "v"), folder.DeleteSection("s")}) {
    EXPECT_EQ(result.error, EISDIR);
    EXPECT_FALSE(result.message.empty());
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.dat"));

  const SettingsFile file(dir / "config.dat");
  WriteBytes(file.path(), "[s]\nk=1\n");
  const SettingsWriteResult refused = file.Write("s", "a=b", "v");
  EXPECT_EQ(refused.error, EINVAL);
  EXPECT_FALSE(refused.message.empty());
  const SettingsWriteResult done = file.DeleteSection("s");
  EXPECT_TRUE(done.ok());
  EXPECT_EQ(done.message, "");
  EXPECT_EQ(ReadBytes(file.path()), "");
}

TEST(ProfileWrite, ReadOnlyFileAndFolderAreLeftAloneAndSaySo) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  WriteBytes(file.path(), "[s]\nk=1\n");
  {
    const ReadOnlyPath read_only(file.path());
    if (!read_only.ok()) GTEST_SKIP() << "no way to make a file read-only here";
    for (const SettingsWriteResult& result : {file.Write("s", "k", "2"), file.DeleteSection("s")}) {
      EXPECT_FALSE(result);
      EXPECT_TRUE(result.error == EACCES || result.error == EPERM) << result.error;
      EXPECT_EQ(result.message, "没有写入权限");
    }
    EXPECT_EQ(file.Read("s", "k"), "1");
  }
  // The folder: the lock file exists from an earlier write, the new file cannot be created.
  ASSERT_TRUE(file.Write("s", "k", "2"));
  {
    const ReadOnlyPath read_only(dir.path());
    ASSERT_TRUE(read_only.ok());
    const SettingsWriteResult result = file.Write("s", "k", "3");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.message, "没有写入权限");
    EXPECT_FALSE(file.DeleteSection("s"));
  }
  EXPECT_EQ(ReadBytes(file.path()), "[s]\nk=2\n");
}

}  // namespace
}  // namespace velmora
