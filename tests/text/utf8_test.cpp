#include "text/utf8.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string_view>

namespace velmora {
namespace {

struct PrefixCase {
  const char* name;
  std::string_view text;
  std::size_t count;
  std::size_t bytes;
};

// clang-format off
constexpr PrefixCase kPrefixCases[] = {
  {"Empty",                 "",                0, 0},
  {"EmptyAskedForMore",     "",                5, 0},
  {"NoneOfAscii",           "abc",             0, 0},
  {"AsciiPart",             "abcdef",          3, 3},
  {"AsciiShorterThanAsked", "ab",             99, 2},
  {"TwoByteCharacters",     "äöü",             2, 4},
  {"ThreeByteCharacters",   "千分之一",        3, 9},
  {"FourByteCharacter",     "𝄞x",              1, 4},
  {"MixedWidths",           "1,千m",           3, 5},
  {"WholeMixedText",        "1,千m",           4, 6},
  // A stray continuation byte belongs to the character before it.
  {"StrayContinuation",     "a\x80\x80" "b",   1, 3},
  // A lead byte without its continuation still counts as one character.
  {"CutCharacterAtEnd",     "ab\xE5",          3, 3},
};
// clang-format on

TEST(Utf8PrefixTest, NeverCutsInsideACharacter) {
  for (const PrefixCase& c : kPrefixCases) {
    EXPECT_EQ(Utf8Prefix(c.text, c.count), c.bytes) << c.name;
  }
}

}  // namespace
}  // namespace velmora
