#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace velmora {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Random bytes drawn from `alphabet`, or from all 256 byte values when it is empty.
std::string RandomBytes(std::mt19937& random, std::size_t size, std::string_view alphabet = {}) {
  std::string bytes(size, '\0');
  std::uniform_int_distribution<int> pick(0, alphabet.empty() ? 255 : int(alphabet.size()) - 1);
  for (char& c : bytes)
    c = alphabet.empty() ? static_cast<char>(pick(random)) : alphabet[pick(random)];
  return bytes;
}

// Whatever a file holds, a value written to it reads back, and the rest of the file stays.
void ExpectWritableAndReadable(const SettingsFile& file) {
  const std::string before = ReadBytes(file.path());
  file.Read("s", "k", "d");
  ASSERT_TRUE(file.Write("s", "k", "米 1"));
  EXPECT_EQ(file.Read("s", "k"), "米 1");
  ASSERT_TRUE(file.Write("新", "键", "值"));
  EXPECT_EQ(file.Read("新", "键"), "值");
  EXPECT_EQ(file.Read("S", "K"), "米 1");
  ASSERT_TRUE(file.DeleteSection("新"));
  EXPECT_EQ(file.Read("新", "键", "gone"), "gone");
  const std::string after = ReadBytes(file.path());
  EXPECT_GE(after.size(), before.size() / 2) << "the file lost most of its bytes";
}

TEST(DamagedFile, RandomBytes) {
  std::mt19937 random(20240611);
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    WriteBytes(file.path(), RandomBytes(random, 1 << 16));
    ExpectWritableAndReadable(file);
  }
}

TEST(DamagedFile, RandomProfileLikeBytes) {
  // Bytes that the parser treats specially: brackets, equals, line breaks, blanks, quotes, NUL,
  // GBK lead bytes and trail bytes that look like ASCII.
  constexpr char kAlphabet[] = "[]=\r\n \t\"\0sSkK\x81\x5D\x5B\xFE\x30\x39\x80\xFF\xEF\xBB\xBF";
  const std::string_view alphabet(kAlphabet, sizeof kAlphabet - 1);
  std::mt19937 random(7);
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    WriteBytes(file.path(), RandomBytes(random, 1 + random() % 400, alphabet));
    ExpectWritableAndReadable(file);
  }
}

TEST(DamagedFile, ReadableItemsAfterGarbageAreFound) {
  std::mt19937 random(3);
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  std::string bytes =
      "[a]\nx=1\n" + RandomBytes(random, 1 << 20, std::string_view("\0\x01\x81\xFFz=", 6));
  bytes += "\n[s]\r\nk=v\r\n";
  WriteBytes(file.path(), bytes);
  EXPECT_EQ(file.Read("a", "x"), "1");
  EXPECT_EQ(file.Read("s", "k"), "v");
}

struct BigCase {
  const char* name;
  std::string line;  // repeated content of one huge line
};

TEST(DamagedFile, TenMegabyteLines) {
  constexpr std::size_t kSize = 10u << 20;
  const BigCase cases[] = {
      {"Letters", std::string(kSize, 'x')},
      {"OpeningBrackets", std::string(kSize, '[')},
      {"BracketTrailBytes",
       [] {
         std::string s;
         while (s.size() < kSize) s += "\x81[\x81]";
         return s;
       }()},
      {"LeadBytesOnly", std::string(kSize, '\x81')},
      {"Blanks", std::string(kSize, ' ')},
  };
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  for (const BigCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(file.path(), "[s]\nk=1\n" + c.line + "\n[t]\nj=2\n" + c.line);
    EXPECT_EQ(file.Read("s", "k"), "1");
    EXPECT_EQ(file.Read("t", "j"), "2");
    EXPECT_EQ(file.Read("u", "k", "d"), "d");
    ASSERT_TRUE(file.Write("t", "j", "3"));
    EXPECT_EQ(file.Read("t", "j"), "3");
    ASSERT_TRUE(file.DeleteSection("s"));
    EXPECT_EQ(file.Read("s", "k", "d"), "d");
    EXPECT_EQ(file.Read("t", "j"), "3");
  }
}

TEST(DamagedFile, HundredThousandSections) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  for (const std::string_view eol : {"\n", "\r"}) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i) {
      bytes.append("[s").append(std::to_string(i)).append("]").append(eol);
      bytes.append("k=").append(std::to_string(i)).append(eol);
    }
    WriteBytes(file.path(), bytes);
    EXPECT_EQ(file.Read("s99999", "k"), "99999");
    EXPECT_EQ(file.Read("missing", "k", "d"), "d");
    ASSERT_TRUE(file.Write("s99999", "j", "x"));
    ASSERT_TRUE(file.Write("new", "k", "y"));
    ASSERT_TRUE(file.DeleteSection("s50000"));
    EXPECT_EQ(file.Read("s99999", "j"), "x");
    EXPECT_EQ(file.Read("new", "k"), "y");
    EXPECT_EQ(file.Read("s50000", "k", "d"), "d");
    EXPECT_EQ(file.Read("s50001", "k"), "50001");
  }
}

TEST(DamagedFile, HundredThousandCopiesOfOneSectionAreAllDeleted) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  std::string bytes;
  for (int i = 0; i < 100000; ++i) bytes.append("[s]\nk=").append(std::to_string(i)).append("\n");
  bytes.append("[t]\nk=t\n");
  WriteBytes(file.path(), bytes);
  EXPECT_EQ(file.Read("s", "k"), "0");
  ASSERT_TRUE(file.DeleteSection("S"));
  EXPECT_EQ(ReadBytes(file.path()), "[t]\nk=t\n");
}

// A file far larger than any settings file (a sparse terabyte, or just beyond the largest size
// taken as a settings file) is damaged: it reads as defaults and is left as it is, without any
// attempt to load it whole.
TEST(DamagedFile, HugeFileReadsAsDefaultsAndIsLeftAlone) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  for (const off_t size : {off_t{1} << 40, (off_t{32} << 20) + 1}) {
    SCOPED_TRACE(size);
    WriteBytes(file.path(), "[s]\nk=1\n");
    ASSERT_EQ(truncate(file.path().c_str(), size), 0);
    EXPECT_EQ(file.Read("s", "k", "d"), "d");
    const SettingsWriteResult write = file.Write("s", "k", "2");
    EXPECT_EQ(write.error, EFBIG);
    EXPECT_FALSE(write.message.empty());
    EXPECT_FALSE(file.DeleteSection("s"));
    EXPECT_FALSE(file.ReplaceSection("s", std::vector<SettingsItem>{{"k", "3"}}));
    EXPECT_EQ(std::filesystem::file_size(file.path()), static_cast<std::uintmax_t>(size));
  }
}

TEST(DamagedFile, PipeInPlaceOfTheFileNeitherBlocksNorIsReplaced) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  ASSERT_EQ(mkfifo(file.path().c_str(), 0644), 0);
  EXPECT_EQ(file.Read("s", "k", "d"), "d");
  EXPECT_FALSE(file.Write("s", "k", "v"));
  EXPECT_FALSE(file.DeleteSection("s"));
  EXPECT_TRUE(std::filesystem::is_fifo(file.path()));
}

}  // namespace
}  // namespace velmora
