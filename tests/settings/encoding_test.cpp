#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "settings/profile_text.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "text/gb18030.h"

namespace velmora {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct EncodingCase {
  const char* name;
  std::string_view file;  // bytes on disk, without a byte-order mark
  std::string_view section;
  std::string_view key;
  std::string_view expected;  // UTF-8
  ProfileEncoding encoding;
};

void PrintTo(const EncodingCase& c, std::ostream* out) {
  *out << c.name;
}

constexpr auto kUtf8 = ProfileEncoding::kUtf8;
constexpr auto kGbk = ProfileEncoding::kGb18030;

// GBK bytes as a Windows program writes them.
#define GENERAL "\xCD\xA8\xD3\xC3\xC9\xE8\xD6\xC3"  // 通用设置
#define STYLE "\xBD\xE7\xC3\xE6\xB7\xE7\xB8\xF1"    // 界面风格
#define KILOMETRE "\xC7\xA7\xC3\xD7"                // 千米
#define CELSIUS "\xC9\xE3\xCA\xCF\xB6\xC8"          // 摄氏度
#define TRADITIONAL_LENGTH "\xE9\x4C\xB6\xC8"       // 長度
#define TRADITIONAL_MASS "\xD9\x7C\xC1\xBF"         // 質量

// clang-format off
const EncodingCase kEncodingCases[] = {
  {"Utf8GeneralSettings", "[通用设置]\n界面风格=2\n", "通用设置", "界面风格", "2", kUtf8},
  {"Utf8UnitList", "[unit1]\r\n2=米,1\r\n3=千米,0.001\r\n", "unit1", "3", "千米,0.001", kUtf8},
  {"Utf8OneIdeograph", "[s]\nk=米\n", "s", "k", "米", kUtf8},
  {"Utf8TwoIdeographs", "[s]\nk=中文\n", "s", "k", "中文", kUtf8},
  {"Utf8IdeographsAndSymbols", "[unit4]\n5=摄氏度 ℃,1\n6=µm²,1e6\n", "unit4", "6", "µm²,1e6", kUtf8},
  {"Utf8FullWidthAndEmoji", "[s]\nk=１２．５米😀\n", "s", "k", "１２．５米😀", kUtf8},
  // Without any ideograph the bytes are just as well GBK ("μ" is GBK for "渭"): GBK wins.
  {"Utf8LettersOnlyReadAsGbk", "[s]\nk=\xCE\xBC\n", "s", "k", "渭", kGbk},
  // One bad byte and the file is not UTF-8.
  {"Utf8WithInvalidByteIsGbk", "[s]\nk=米\n[t]\nj=\x81\x40\n", "t", "j", "丂", kGbk},
  {"GbkGeneralSettings", "[" GENERAL "]\r\n" STYLE "=2\r\n", "通用设置", "界面风格", "2", kGbk},
  {"GbkUnitName", "[unit1]\r\n3=" KILOMETRE ",0.001\r\n", "unit1", "3", "千米,0.001", kGbk},
  {"GbkCelsius", "[unit4]\n2=" CELSIUS ",1\n", "unit4", "2", "摄氏度,1", kGbk},
  {"GbkTraditional", "[s]\nk=" TRADITIONAL_LENGTH "\nj=" TRADITIONAL_MASS "\n", "s", "j", "質量", kGbk},
  // Common GBK characters whose bytes happen to be valid UTF-8 ("䡰䰡"): plain GB2312 text stays GBK.
  {"GbkThatIsAlsoValidUtf8", "[s]\nk=\xE4\xA1\xB0\xE4\xB0\xA1\n", "s", "k", "洹颁啊", kGbk},
  {"AsciiOnly", "[s]\nk=v\n", "s", "k", "v", kGbk},
};
// clang-format on

class EncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingTest, FileIsReadInItsOwnEncoding) {
  const EncodingCase& c = GetParam();
  EXPECT_EQ(DetectProfileEncoding(c.file), c.encoding);
  const TempDir dir;
  WriteBytes(dir / "config.dat", c.file);
  EXPECT_EQ(SettingsFile(dir / "config.dat").Read(c.section, c.key, "default"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Files, EncodingTest, ::testing::ValuesIn(kEncodingCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Unit and category names of the kind the program's users write, in GBK.
const char* const kGbkNames[] = {
    "\xC3\xD7",                                          // 米
    "\xC7\xA7\xC3\xD7",                                  // 千米
    "\xC0\xE5\xC3\xD7",                                  // 厘米
    "\xBA\xC1\xC3\xD7",                                  // 毫米
    "\xCE\xA2\xC3\xD7",                                  // 微米
    "\xC4\xC9\xC3\xD7",                                  // 纳米
    "\xD3\xA2\xC0\xEF",                                  // 英里
    "\xD3\xA2\xB3\xDF",                                  // 英尺
    "\xD3\xA2\xB4\xE7",                                  // 英寸
    "\xC2\xEB",                                          // 码
    "\xBA\xA3\xC0\xEF",                                  // 海里
    "\xB9\xE2\xC4\xEA",                                  // 光年
    "\xC6\xBD\xB7\xBD\xC3\xD7",                          // 平方米
    "\xB9\xAB\xC7\xEA",                                  // 公顷
    "\xC4\xB6",                                          // 亩
    "\xC1\xA2\xB7\xBD\xC3\xD7",                          // 立方米
    "\xC9\xFD",                                          // 升
    "\xBA\xC1\xC9\xFD",                                  // 毫升
    "\xBC\xD3\xC2\xD8",                                  // 加仑
    "\xC9\xE3\xCA\xCF\xB6\xC8",                          // 摄氏度
    "\xBF\xAA\xB6\xFB\xCE\xC4",                          // 开尔文
    "\xC1\xD0\xCA\xCF\xB6\xC8",                          // 列氏度
    "\xBB\xAA\xCA\xCF\xB6\xC8",                          // 华氏度
    "\xC0\xBC\xCA\xCF\xB6\xC8",                          // 兰氏度
    "\xC7\xA7\xBF\xCB",                                  // 千克
    "\xBF\xCB",                                          // 克
    "\xB6\xD6",                                          // 吨
    "\xB0\xF5",                                          // 磅
    "\xB0\xBB\xCB\xBE",                                  // 盎司
    "\xC5\xA3\xB6\xD9",                                  // 牛顿
    "\xC7\xA7\xBF\xCB\xC1\xA6",                          // 千克力
    "\xC5\xC1\xCB\xB9\xBF\xA8",                          // 帕斯卡
    "\xB1\xEA\xD7\xBC\xB4\xF3\xC6\xF8\xD1\xB9",          // 标准大气压
    "\xBA\xC1\xC3\xD7\xB9\xAF\xD6\xF9",                  // 毫米汞柱
    "\xBD\xB9\xB6\xFA",                                  // 焦耳
    "\xC7\xA7\xCD\xDF\xCA\xB1",                          // 千瓦时
    "\xBF\xA8\xC2\xB7\xC0\xEF",                          // 卡路里
    "\xD3\xA2\xC8\xC8\xB5\xA5\xCE\xBB",                  // 英热单位
    "\xC7\xA7\xBF\xCB\xC3\xBF\xC1\xA2\xB7\xBD\xC3\xD7",  // 千克每立方米
    "\xD7\xD6\xBD\xDA",                                  // 字节
    "\xC7\xA7\xD7\xD6\xBD\xDA",                          // 千字节
    "\xD5\xD7\xD7\xD6\xBD\xDA",                          // 兆字节
    "\xC3\xD7\xC3\xBF\xB6\xFE\xB4\xCE\xB7\xBD\xC3\xEB",  // 米每二次方秒
    "\xC3\xD7\xC3\xBF\xC3\xEB",                          // 米每秒
    "\xC7\xA7\xC3\xD7\xC3\xBF\xD0\xA1\xCA\xB1",          // 千米每小时
    "\xBD\xDA",                                          // 节
    "\xC2\xED\xBA\xD5",                                  // 马赫
    "\xC3\xEB",                                          // 秒
    "\xB7\xD6\xD6\xD3",                                  // 分钟
    "\xD0\xA1\xCA\xB1",                                  // 小时
    "\xCC\xEC",                                          // 天
    "\xC4\xEA\x28\x33\x36\x35\xCC\xEC\x29",              // 年(365天)
    "\xBA\xC1\xC3\xEB",                                  // 毫秒
    "\xC6\xBD\xB7\xBD\xC3\xD7\xC3\xBF\xC3\xEB",          // 平方米每秒
    "\xCB\xB9\xCD\xD0\xBF\xCB\xCB\xB9",                  // 斯托克斯
    "\xC5\xC1\xCB\xB9\xBF\xA8\xC3\xEB",                  // 帕斯卡秒
    "\xB2\xB4",                                          // 泊
    "\xC1\xA2\xB7\xBD\xC3\xD7\xC3\xBF\xC3\xEB",          // 立方米每秒
    "\xC9\xFD\xC3\xBF\xB7\xD6\xD6\xD3",                  // 升每分钟
    "\xC7\xA7\xBF\xCB\xC3\xBF\xC3\xEB",                  // 千克每秒
    "\xBF\xB2\xB5\xC2\xC0\xAD",                          // 坎德拉
    "\xC4\xE1\xCC\xD8",                                  // 尼特
    "\xB3\xA4\xB6\xC8",                                  // 长度
    "\xC3\xE6\xBB\xFD",                                  // 面积
    "\xCC\xE5\xBB\xFD",                                  // 体积
    "\xCE\xC2\xB6\xC8",                                  // 温度
    "\xD6\xCA\xC1\xBF",                                  // 质量
    "\xC1\xA6",                                          // 力
    "\xD1\xB9\xC7\xBF",                                  // 压强
    "\xB9\xA6",                                          // 功
    "\xC4\xDC",                                          // 能
    "\xC3\xDC\xB6\xC8",                                  // 密度
    "\xB9\xAB\xB3\xDF",                                  // 公尺
    "\xB9\xAB\xC0\xEF",                                  // 公里
    "\xCA\xD0\xBD\xEF",                                  // 市斤
    "\xC1\xBD",                                          // 两
    "\xC7\xAE",                                          // 钱
    "\xBD\xEF",                                          // 斤
    "\xC0\xEF",                                          // 里
    "\xD5\xC9",                                          // 丈
    "\xB3\xDF",                                          // 尺
    "\xB4\xE7",                                          // 寸
    "\xB7\xD6",                                          // 分
    "\xC0\xE5",                                          // 厘
    "\xBA\xC1",                                          // 毫
};

TEST(EncodingDetection, GbkUnitNamesAreNeverTakenForUtf8) {
  std::string all = "[unit1]\r\n";
  for (const char* name : kGbkNames) {
    SCOPED_TRACE(Gb18030ToUtf8(name));
    const std::string line = "2=" + std::string(name) + ",1\r\n";
    EXPECT_EQ(DetectProfileEncoding("[unit1]\r\n" + line), kGbk);
    EXPECT_EQ(DetectProfileEncoding(std::string(name)), kGbk);
    all += line;
  }
  EXPECT_EQ(DetectProfileEncoding(all), kGbk);
}

// Every two-byte GBK code, alone as a unit name or behind one: GBK.
TEST(EncodingDetection, EveryGbkCharacterAsANameIsGbk) {
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string character{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_EQ(DetectProfileEncoding("[unit1]\r\n2=" + character + ",1\r\n"), kGbk)
          << std::hex << lead << " " << trail;
      ASSERT_EQ(DetectProfileEncoding("[unit1]\r\n2=" KILOMETRE + character + ",1\r\n"), kGbk)
          << std::hex << lead << " " << trail;
    }
  }
}

TEST(EncodingDetection, ShippedFileIsGbkAndStaysGbk) {
  const std::string shipped = ReadBytes(VELMORA_SHIPPED_CONFIG);
  ASSERT_FALSE(shipped.empty());
  EXPECT_EQ(SplitProfile(shipped).encoding, kGbk);

  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  WriteBytes(file.path(), shipped);
  EXPECT_EQ(file.Read("按钮的命名", "unit1"), "长度");
  ASSERT_TRUE(file.Write("按钮的命名", "unit1", "长度单位"));
  const std::string after = ReadBytes(file.path());
  EXPECT_NE(after.find("unit1=\xB3\xA4\xB6\xC8\xB5\xA5\xCE\xBB"), std::string::npos);
  EXPECT_EQ(file.Read("按钮的命名", "unit2"), "面积");
}

TEST(EncodingDetection, Utf8FileKeepsBeingWrittenAsUtf8) {
  const TempDir dir;
  const SettingsFile file(dir / "config.dat");
  WriteBytes(file.path(), "[通用设置]\n界面风格=2\n");
  ASSERT_TRUE(file.Write("按钮的命名", "unit1", "长度"));
  ASSERT_TRUE(file.Write("通用设置", "界面风格", "3"));
  EXPECT_EQ(ReadBytes(file.path()), "[通用设置]\n界面风格=3\n[按钮的命名]\nunit1=长度\n");

  // A write that would leave nothing to recognise UTF-8 by gives the file a byte-order mark.
  WriteBytes(file.path(), "[s]\nk=中文\n");
  ASSERT_TRUE(file.Write("s", "k", "x"));
  EXPECT_EQ(ReadBytes(file.path()), "\xEF\xBB\xBF[s]\nk=x\n");
  ASSERT_TRUE(file.Write("s", "k", "米"));
  EXPECT_EQ(ReadBytes(file.path()), "\xEF\xBB\xBF[s]\nk=米\n");
  EXPECT_EQ(file.Read("s", "k"), "米");

  // Invalid UTF-8 given to the writer does not make the file GBK.
  WriteBytes(file.path(), "[s]\nk=中文\n");
  ASSERT_TRUE(file.Write("s", "j", "a\xFF"));
  EXPECT_EQ(file.Read("s", "k"), "中文");
  EXPECT_EQ(file.Read("s", "j"), "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace velmora
