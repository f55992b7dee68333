#include "units/unit_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

std::vector<SearchableUnit> SomeUnits() {
  return {
      {1, 2, "米(m)", "长度"},
      {1, 3, "千米(km)", "长度"},
      {1, 4, "毫米(mm)", "长度"},
      {1, 5, "埃", "长度"},
      {5, 202, "千克(kg)", "质量"},
      {5, 203, "毫克(mg)", "质量"},
      {5, 204, "兆克(Mg)", "质量"},
      {5, 205, "英担(cwt)", "质量"},
      {6, 252, "牛顿(N)", "力"},
      {18, 852, "千克每秒(kg/s)", "质量流量"},
      {21, 1002, "米粒（MZ）", "自定义"},
  };
}

std::vector<std::string> Names(const UnitSearchIndex& index, std::string_view query,
                               std::size_t limit = 12) {
  std::vector<std::string> names;
  for (const std::size_t i : index.Search(query, limit)) names.push_back(index.unit(i).name);
  return names;
}

TEST(UnitSearchTest, RanksExactSymbolThenPrefixThenSubstring) {
  const UnitSearchIndex index(SomeUnits());
  struct Case {
    const char* what;
    const char* query;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"exact symbol, symbol prefixes, then substrings",
       "m",
       {"米(m)", "毫米(mm)", "毫克(mg)", "兆克(Mg)", "米粒（MZ）", "千米(km)"}},
      {"symbol in any case", "CWT", {"英担(cwt)"}},
      {"both cases of a symbol are exact", "MG", {"毫克(mg)", "兆克(Mg)"}},
      {"name prefix, then substring", "米", {"米(m)", "米粒（MZ）", "千米(km)", "毫米(mm)"}},
      {"symbol prefix beats substring of a longer symbol", "kg", {"千克(kg)", "千克每秒(kg/s)"}},
      {"caption prefix",
       "质量",
       {"千克(kg)", "毫克(mg)", "兆克(Mg)", "英担(cwt)", "千克每秒(kg/s)"}},
      {"caption substring comes after name matches", "流量", {"千克每秒(kg/s)"}},
      {"full-width parentheses hold a symbol too", "mz", {"米粒（MZ）"}},
      {"blanks around the query", "  N ", {"牛顿(N)"}},
      {"no match", "xyz", {}},
      {"empty query", "", {}},
      {"only blanks", "   ", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Names(index, c.query), c.expected) << c.what;
}

TEST(UnitSearchTest, KeepsToTheLimit) {
  const UnitSearchIndex index(SomeUnits());
  EXPECT_EQ(Names(index, "质量", 2), (std::vector<std::string>{"千克(kg)", "毫克(mg)"}));
  EXPECT_TRUE(Names(index, "质量", 0).empty());
}

TEST(UnitSearchTest, SymbolIsTheLastParenthesisedPart) {
  EXPECT_EQ(UnitSymbol("英担(cwt)"), "cwt");
  EXPECT_EQ(UnitSymbol("米粒（MZ）"), "MZ");
  EXPECT_EQ(UnitSymbol("磅力(英)(lbf)"), "lbf");
  EXPECT_EQ(UnitSymbol("埃"), "");
  EXPECT_EQ(UnitSymbol("未闭合(abc"), "");
  EXPECT_EQ(UnitSymbol("( x )"), "x");
}

}  // namespace
}  // namespace velmora
