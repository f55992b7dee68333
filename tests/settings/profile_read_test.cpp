#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "support/temp_dir.h"

namespace velmora {
namespace {

using testing::TempDir;
using testing::WriteBytes;

struct ReadCase {
  const char* name;
  std::string_view file;  // bytes on disk
  std::string_view section;
  std::string_view key;
  std::string_view expected;  // read with the default "default"
};

// GBK bytes as another Windows program writes them: "通用设置", "界面风格", "米", "长度".
#define GENERAL "\xCD\xA8\xD3\xC3\xC9\xE8\xD6\xC3"
#define STYLE "\xBD\xE7\xC3\xE6\xB7\xE7\xB8\xF1"
#define METRE "\xC3\xD7"
#define LENGTH "\xB3\xA4\xB6\xC8"

constexpr char kNulFile[] = "[t]\n\0\0=\0\n[s]\nk=v\n";

// clang-format off
const ReadCase kReadCases[] = {
  {"Plain", "[s]\nk=v\n", "s", "k", "v"},
  {"SectionCaseIgnored", "[UnIt1]\nk=v\n", "unit1", "k", "v"},
  {"KeyCaseIgnored", "[s]\nKeY=v\n", "S", "kEy", "v"},
  {"BlanksAroundEverything", "  [ \ts  ]  \n \t k \t= \t v w \t \n", "s", "k", "v w"},
  {"BlanksInRequestIgnored", "[s]\nk=v\n", " s ", "\tk", "v"},
  {"QuotesStripped", "[s]\nk=\"a b\"\n", "s", "k", "a b"},
  {"QuotesKeepBlanks", "[s]\nk=\" 1\"\n", "s", "k", " 1"},
  {"OnlyOnePairOfQuotes", "[s]\nk=\"\"x\"\"\n", "s", "k", "\"x\""},
  {"UnmatchedQuoteKept", "[s]\nk=\"abc\n", "s", "k", "\"abc"},
  {"LoneQuoteKept", "[s]\nk=\"\n", "s", "k", "\""},
  {"SingleQuotesKept", "[s]\nk='a'\n", "s", "k", "'a'"},
  {"ValueMayHoldEquals", "[s]\nk=a=b\n", "s", "k", "a=b"},
  {"EmptyValueIsNotDefault", "[s]\nk=\n", "s", "k", ""},
  {"MissingKey", "[s]\nk=v\n", "s", "x", "default"},
  {"MissingSection", "[s]\nk=v\n", "t", "k", "default"},
  {"KeyOfAnotherSection", "[s]\nk=v\n[t]\nx=1\n", "s", "x", "default"},
  {"FirstDuplicateKeyWins", "[s]\nk=1\nK=2\n", "s", "k", "1"},
  {"FirstDuplicateSectionWins", "[s]\nk=1\n[S]\nk=2\n", "s", "k", "1"},
  {"DuplicateSectionNotMerged", "[s]\na=1\n[t]\n[s]\nk=2\n", "s", "k", "default"},
  {"LinesBeforeFirstSectionIgnored", "k=1\n[s]\nx=2\n", "s", "k", "default"},
  {"NotKeyValueLinesIgnored", "[s]\njunk line\n;comment\n\nk=v\n", "s", "k", "v"},
  {"TextAfterHeaderIgnored", "[s] ; the first section\nk=v\n", "s", "k", "v"},
  {"UnclosedBracketIsNoHeader", "[s]\n[t\nk=v\n", "s", "k", "v"},
  {"HeaderEndsAtFirstBracket", "[s]x]\nk=v\n", "s", "k", "v"},
  {"CrLf", "[a]\r\nx=1\r\n[s]\r\nk=v\r\n", "s", "k", "v"},
  {"CrOnly", "[a]\rx=1\r[s]\rk=v\r", "s", "k", "v"},
  {"MixedLineEndings", "[a]\nx=1\r\n[s]\rk=v\n", "s", "k", "v"},
  {"NoFinalLineBreak", "[s]\nk=v", "s", "k", "v"},
  {"HeaderIsLastLine", "[s]", "s", "k", "default"},
  {"EmptyFile", "", "s", "k", "default"},
  {"Utf8BomReadAsUtf8", "\xEF\xBB\xBF[通用设置]\r\n界面风格=米\r\n", "通用设置", "界面风格", "米"},
  {"Utf8BomInvalidBytesReplaced", "\xEF\xBB\xBF[s]\nk=a\xFF\n", "s", "k", "a\xEF\xBF\xBD"},
  {"Gb18030Bom", "\x84\x31\x95\x33[s]\nk=" METRE "\n", "s", "k", "米"},
  {"GbkSectionAndKey", "[" GENERAL "]\r\n" STYLE "=2\r\n", "通用设置", "界面风格", "2"},
  {"GbkValue", "[unit1]\n2=" METRE ",1\n", "unit1", "2", "米,1"},
  {"GbkBlankAndQuotes", "[s]\nk = \"" LENGTH " \"\n", "s", "k", "长度 "},
  // "乚" is 81 5D: its trail byte is "]", which must not close the header.
  {"TrailByteIsNotClosingBracket", "[\x81\x5D]\nk=v\n", "乚", "k", "v"},
  // "乕" is 81 5B: a line that starts with it is an item, not a header.
  {"TrailByteIsNotOpeningBracket", "[s]\n\x81[x]\nk=v\n", "s", "k", "v"},
  {"KeyWithBracketTrailByte", "[s]\n\x81[x]=1\n", "s", "乕x]", "1"},
  // "丄" (81 41) and "乤" (81 61) differ only in a trail byte that looks like "A" / "a".
  {"TrailByteNotCaseFolded", "[s]\n\x81\x41=1\n", "s", "乤", "default"},
  {"TrailByteSameCharacterMatches", "[s]\n\x81\x41=1\n", "s", "丄", "1"},
  {"TrailByteNotFoldedInSection", "[\x81\x41]\nk=1\n", "乤", "k", "default"},
  {"FourByteKey", "[s]\n\x94\x39\xFC\x36=smile\n", "s", "😀", "smile"},
  {"InvalidGbkValueReplaced", "[s]\nk=a\x80\xFF" "b\n", "s", "k", "a€\xEF\xBF\xBD" "b"},
  {"NulBytesInOtherLines", std::string_view(kNulFile, sizeof kNulFile - 1), "s", "k", "v"},
};
// clang-format on

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.name;
}

class ProfileReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReadTest, ReadsValue) {
  const ReadCase& c = GetParam();
  const TempDir dir;
  WriteBytes(dir / "config.dat", c.file);
  EXPECT_EQ(SettingsFile(dir / "config.dat").Read(c.section, c.key, "default"), c.expected);
  // A snapshot reads every case as the file does.
  EXPECT_EQ(SettingsSnapshot(dir / "config.dat").Read(c.section, c.key, "default"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileReadTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileRead, MissingFileGivesDefault) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  EXPECT_EQ(file.Read("s", "k", "fallback"), "fallback");
  EXPECT_EQ(file.Read("s", "k"), "");
}

TEST(ProfileRead, SnapshotKeepsTheFileAsItWasRead) {
  const TempDir dir;
  WriteBytes(dir / "config.dat", "\xEF\xBB\xBF[s]\nk=1\n");
  const SettingsSnapshot snapshot(dir / "config.dat");
  WriteBytes(dir / "config.dat", "[s]\nk=2\n");
  EXPECT_EQ(snapshot.Read("s", "k"), "1");
  EXPECT_EQ(SettingsSnapshot(dir / "missing.dat").Read("s", "k", "d"), "d");
  std::filesystem::create_directory(dir / "folder");
  EXPECT_EQ(SettingsSnapshot(dir / "folder").Read("s", "k", "d"), "d");
}

TEST(ProfileRead, FolderInPlaceOfFileGivesDefault) {
  const TempDir dir;
  std::filesystem::create_directory(dir / "config.dat");
  EXPECT_EQ(SettingsFile(dir / "config.dat").Read("s", "k", "d"), "d");
}

TEST(ProfileRead, EveryReadSeesTheFileAsItIsNow) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  WriteBytes(file.path(), "[s]\nk=1\n");
  EXPECT_EQ(file.Read("s", "k"), "1");
  WriteBytes(file.path(), "[s]\nk=22\n");
  EXPECT_EQ(file.Read("s", "k"), "22");
  std::filesystem::remove(file.path());
  EXPECT_EQ(file.Read("s", "k", "gone"), "gone");
}

TEST(SettingsPathTest, DefaultsToTheResolvedLocationAndCanBeOverridden) {
  // Without config.dat beside the test program, the default is the user's own file.
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
  ASSERT_FALSE(std::filesystem::exists(exe.parent_path() / "config.dat"));
  const std::filesystem::path per_user = PerUserSettingsPath(CurrentSettingsEnvironment());
  EXPECT_EQ(SettingsPath(), per_user);

  const TempDir dir;
  SetSettingsPath(dir / "other.dat");
  EXPECT_EQ(SettingsPath(), dir / "other.dat");
  WriteSetting("s", "k", "v");
  EXPECT_EQ(ReadSetting("s", "k"), "v");
  EXPECT_EQ(testing::ReadBytes(dir / "other.dat"), "[s]\nk=v\n");

  SetSettingsPath({});
  EXPECT_EQ(SettingsPath(), per_user);
}

}  // namespace
}  // namespace velmora
