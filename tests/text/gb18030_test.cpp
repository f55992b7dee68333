#include "text/gb18030.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(Gb18030, DecodesGbkKeys) {
  EXPECT_EQ(Gb18030ToUtf8("\xCF\xFB\xCF\xA2"), "消息");
  EXPECT_EQ(Gb18030ToUtf8("\xB9\xE3\xB8\xE6"), "广告");
  EXPECT_EQ(Gb18030ToUtf8("[unit1]"), "[unit1]");
}

TEST(Gb18030, RoundTripsCharactersOutsideGbk) {
  const std::string text = "通用设置 😀 ü €";
  EXPECT_EQ(Gb18030ToUtf8(Utf8ToGb18030(text)), text);
  EXPECT_EQ(Utf8ToGb18030("消息"), "\xCF\xFB\xCF\xA2");
}

TEST(Gb18030, InvalidBytesBecomeReplacementCharacters) {
  // 0xFF is never valid; a lead byte at the very end is truncated; 0x80 is GBK's euro sign.
  EXPECT_EQ(Gb18030ToUtf8("a\xFF"
                          "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Gb18030ToUtf8("a\xCF"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Gb18030ToUtf8("\x80"), "€");
  EXPECT_EQ(Gb18030ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Gb18030, MalformedUtf8IsReplacedNotDropped) {
  EXPECT_EQ(Utf8ToGb18030("x\xC3"), "x\x84\x31\xA4\x37");
}

TEST(Gb18030, AnUnmappedCharacterBecomesOneReplacementCharacter) {
  // U+E843 and U+E78D are private-use code points that GB18030 tables of the 2022 edition no
  // longer map; they must not turn into one replacement character per UTF-8 byte.
  for (const std::string character : {"\uE843", "\uE78D"}) {
    const std::string text = "\U00018130" + character + "\U000FAF80";
    const std::string round_trip = Gb18030ToUtf8(Utf8ToGb18030(text));
    EXPECT_TRUE(round_trip == text || round_trip == "\U00018130\uFFFD\U000FAF80") << round_trip;
  }
}

}  // namespace
}  // namespace velmora
