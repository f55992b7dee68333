#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QString>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "settings/settings.h"
#include "shipped_config.h"
#include "text/gb18030.h"
#include "text/number_text.h"

namespace velmora::testing {
namespace {

constexpr int kFixedCategories = 20;
constexpr int kCategories = 32;
constexpr int kTemperaturePage = 4;

// "amount of `from` is `expected` of `to`", checked through the shipped factors.
struct Equality {
  int page;
  const char* from;
  double amount;
  const char* to;
  double expected;
};

// clang-format off
const Equality kEqualities[] = {
  {1, "英里(mi)",          1, "米(m)",          1609.344},
  {1, "海里(nmi)",         1, "米(m)",          1852},
  {1, "码(yd)",            1, "米(m)",          0.9144},
  {1, "英尺(ft)",          1, "英寸(in)",       12},
  {1, "英寸(in)",          1, "毫米(mm)",       25.4},
  {1, "市尺",              3, "米(m)",          1},
  {1, "市里",              1, "米(m)",          500},
  {1, "市丈",              1, "市寸",           100},
  {1, "埃",                1, "纳米(nm)",       0.1},
  {1, "天文单位(au)",      1, "千米(km)",       149597870.7},
  {1, "光年(ly)",          1, "米(m)",          9460730472580800},
  {1, "秒差距(pc)",        1, "米(m)",          3.0856775814913673e16},
  {2, "亩",               15, "公顷(ha)",       1},
  {2, "市顷",              1, "亩",             100},
  {2, "市分(1/10亩)",     10, "亩",             1},
  {2, "英亩(ac)",          1, "平方米(m2)",     4046.8564224},
  {2, "平方英里(mi2)",     1, "英亩(ac)",       640},
  {2, "平方市尺",          9, "平方米(m2)",     1},
  {2, "平方英尺(ft2)",     1, "平方英寸(in2)",  144},
  {2, "平方千米(km2)",     1, "公顷(ha)",       100},
  {3, "美制加仑(gal)",     1, "升(L)",          3.785411784},
  {3, "英制加仑(gal)",     1, "升(L)",          4.54609},
  {3, "石油桶(bbl)",       1, "升(L)",          158.987294928},
  {3, "美制液盎司(fl oz)", 1, "毫升(mL)",       29.5735295625},
  {3, "立方英尺(ft3)",     1, "升(L)",          28.316846592},
  {3, "美制蒲式耳(bu)",    1, "升(L)",          35.23907016688},
  {3, "英亩英尺(ac·ft)",   1, "立方米(m3)",     1233.48183754752},
  {3, "市石",              1, "市斗",           10},
  {3, "市升",              1, "立方分米(dm3)",  1},
  {3, "市合",             10, "升(L)",          1},
  {5, "磅(lb)",            1, "千克(kg)",       0.45359237},
  {5, "市斤",              1, "千克(kg)",       0.5},
  {5, "市斤",              1, "市两",           10},
  {5, "市担",              1, "市斤",           100},
  {5, "市钱",              1, "克(g)",          5},
  {5, "盎司(oz)",          1, "克(g)",          28.349523125},
  {5, "金衡盎司(oz t)",    1, "克(g)",          31.1034768},
  {5, "克拉(ct)",          1, "毫克(mg)",       200},
  {5, "长吨(英吨)",        1, "千克(kg)",       1016.0469088},
  {5, "短吨(美吨)",        1, "磅(lb)",         2000},
  {5, "英石(st)",          1, "磅(lb)",         14},
  {5, "司马斤(港斤)",      1, "克(g)",          604.78982},
  {5, "原子质量单位(u)",   1, "千克(kg)",       1.6605390666e-27},
  {6, "磅力(lbf)",         1, "牛(N)",          4.4482216152605},
  {6, "千克力(kgf)",       1, "牛(N)",          9.80665},
  {6, "千磅力(kip)",       1, "千牛(kN)",       4.4482216152605},
  {6, "吨力(tf)",          1, "千克力(kgf)",    1000},
  {6, "磅达(pdl)",         1, "牛(N)",          0.138254954376},
  {6, "达因(dyn)",    100000, "牛(N)",          1},
  {7, "标准大气压(atm)",   1, "帕(Pa)",         101325},
  {7, "标准大气压(atm)",   1, "托(Torr)",       760},
  {7, "巴(bar)",           1, "千帕(kPa)",      100},
  {7, "工程大气压(at，kgf/cm2)", 1, "帕(Pa)",   98066.5},
  {7, "磅力每平方英寸(psi)", 1, "帕(Pa)",       6894.757293168361},
  {7, "千磅力每平方英寸(ksi)", 1, "兆帕(MPa)",  6.894757293168361},
  {7, "毫米汞柱(mmHg，0℃)", 1, "帕(Pa)",        133.322387415},
  {7, "英寸汞柱(inHg，0℃)", 1, "帕(Pa)",        3386.388640341},
  {7, "毫米水柱(mmH2O，4℃)", 1, "帕(Pa)",       9.80665},
  {7, "米水柱(mH2O，4℃)",  1, "千帕(kPa)",      9.80665},
  {7, "英寸水柱(inH2O，4℃)", 1, "帕(Pa)",       249.08891},
  {8, "千瓦时(kW·h)",      1, "焦(J)",          3600000},
  {8, "英尺磅力(ft·lbf)",  1, "焦(J)",          1.3558179483314004},
  {8, "千克力米(kgf·m)",   1, "牛米(N·m)",      9.80665},
  {8, "米制马力时(PS·h)",  1, "焦(J)",          2647795.5},
  {8, "英制马力时(hp·h)",  1, "焦(J)",          2684519.537696172792},
  {8, "尔格(erg)",  10000000, "焦(J)",          1},
  {9, "千瓦时(kWh)",       1, "焦(J)",          3600000},
  {9, "卡(cal_IT)",        1, "焦(J)",          4.1868},
  {9, "千卡(kcal_IT)",     1, "千焦(kJ)",       4.1868},
  {9, "热化学卡(cal_th)",  1, "焦(J)",          4.184},
  {9, "电子伏(eV)",        1, "焦(J)",          1.602176634e-19},
  {9, "兆电子伏(MeV)",     1, "电子伏(eV)",     1000000},
  {9, "英热单位(Btu_IT)",  1, "焦(J)",          1055.05585262},
  {9, "百万英热单位(MMBtu)", 1, "吉焦(GJ)",     1.05505585262},
  {9, "吨标准煤(tce)",     1, "吉焦(GJ)",       29.3076},
  {9, "吨油当量(toe)",     1, "吉焦(GJ)",       41.868},
  {10, "克每立方厘米(g/cm3)", 1, "千克每立方米(kg/m3)", 1000},
  {10, "千克每升(kg/L)",   1, "吨每立方米(t/m3)", 1},
  {10, "磅每立方英尺(lb/ft3)", 1, "千克每立方米(kg/m3)", 16.018463373960140},
  {10, "磅每美制加仑(lb/gal)", 1, "千克每立方米(kg/m3)", 119.82642731689663},
  {10, "克每升(g/L)",      1, "毫克每升(mg/L)", 1000},
  {11, "字节(B)",          1, "比特(bit)",      8},
  {11, "KiB(1024字节)",    1, "字节(B)",        1024},
  {11, "GiB(2^30字节)",    1, "字节(B)",        1073741824},
  {11, "TiB(2^40字节)",    1, "GiB(2^30字节)",  1024},
  {11, "TB(10^12字节)",    1, "字节(B)",        1e12},
  {11, "吉比特(Gbit)",     1, "MB(10^6字节)",   125},
  {12, "标准重力加速度(g)", 1, "米每二次方秒(m/s2)", 9.80665},
  {12, "伽(Gal)",          1, "米每二次方秒(m/s2)", 0.01},
  {12, "英尺每二次方秒(ft/s2)", 1, "米每二次方秒(m/s2)", 0.3048},
  {12, "千米每时每秒(km/h/s)", 36, "米每二次方秒(m/s2)", 10},
  {13, "千米每时(km/h)",  36, "米每秒(m/s)",    10},
  {13, "英里每时(mph)",    1, "米每秒(m/s)",    0.44704},
  {13, "节(kn)",           1, "千米每时(km/h)", 1.852},
  {13, "光速(c)",          1, "米每秒(m/s)",    299792458},
  {14, "天(d)",            1, "秒(s)",          86400},
  {14, "周",               1, "天(d)",          7},
  {14, "儒略年(365.25天)", 1, "秒(s)",          31557600},
  {14, "年(365天)",        1, "天(d)",          365},
  {14, "时辰(2小时)",      1, "分(min)",        120},
  {14, "刻(15分钟)",       4, "时(h)",          1},
  {15, "斯托克斯(St，平方厘米每秒)", 1, "平方米每秒(m2/s)", 1e-4},
  {15, "厘斯(cSt，平方毫米每秒)", 1000000, "平方米每秒(m2/s)", 1},
  {15, "平方英尺每秒(ft2/s)", 1, "平方米每秒(m2/s)", 0.09290304},
  {15, "平方米每秒(m2/s)", 1, "平方米每时(m2/h)", 3600},
  {16, "泊(P)",            1, "帕秒(Pa·s)",     0.1},
  {16, "厘泊(cP)",         1, "毫帕秒(mPa·s)",  1},
  {16, "磅力秒每平方英尺(lbf·s/ft2)", 1, "帕秒(Pa·s)", 47.880258980335843},
  {16, "磅力秒每平方英寸(reyn)", 1, "帕秒(Pa·s)", 6894.757293168361},
  {16, "磅每英尺秒(lb/(ft·s))", 1, "帕秒(Pa·s)", 1.4881639435695538},
  {17, "立方米每时(m3/h)", 3600, "立方米每秒(m3/s)", 1},
  {17, "升每秒(L/s)",      1, "立方米每时(m3/h)", 3.6},
  {17, "美制加仑每分(gpm)", 1, "升每分(L/min)", 3.785411784},
  {17, "立方英尺每分(cfm)", 1, "立方米每分(m3/min)", 0.028316846592},
  {17, "桶每天(bbl/d)",    1, "立方米每天(m3/d)", 0.158987294928},
  {17, "万立方米每天",     1, "立方米每天(m3/d)", 10000},
  {18, "千克每秒(kg/s)",   1, "吨每时(t/h)",    3.6},
  {18, "吨每时(t/h)",      1, "千克每时(kg/h)", 1000},
  {18, "磅每时(lb/h)",     1, "千克每时(kg/h)", 0.45359237},
  {18, "万吨每年(365天)",  365, "吨每天(t/d)",  10000},
  {19, "千坎德拉(kcd)",    1, "坎德拉(cd)",     1000},
  {19, "坎德拉(cd)",       1, "毫坎德拉(mcd)",  1000},
  {19, "流明每球面度(lm/sr)", 1, "坎德拉(cd)",  1},
  {20, "尼特(nit)",        1, "坎德拉每平方米(cd/m2)", 1},
  {20, "熙提(sb)",         1, "坎德拉每平方米(cd/m2)", 10000},
  {20, "英尺朗伯(fL)",     1, "坎德拉每平方米(cd/m2)", 3.4262590996353905},
  {20, "朗伯(L)",          1, "坎德拉每平方米(cd/m2)", 3183.0988618379067},
  {20, "坎德拉每平方英尺(cd/ft2)", 1, "坎德拉每平方米(cd/m2)", 10.763910416709722},
};
// clang-format on

// Converts as the main window does: the typed amount divided by its row's factor gives the
// quantity in the reference unit, which times the other row's factor gives that row's value.
TEST(ShippedUnits, KnownEqualitiesHoldThroughTheFactors) {
  for (const Equality& e : kEqualities) {
    SCOPED_TRACE(NumberToText(e.amount) + " " + e.from + " = " + NumberToText(e.expected) + " " +
                 e.to + " (page " + std::to_string(e.page) + ")");
    const ShippedUnit from = FindShippedUnit(e.page, e.from);
    const ShippedUnit to = FindShippedUnit(e.page, e.to);
    const double got = e.amount / from.factor * to.factor;
    EXPECT_LT(std::abs(got / e.expected - 1), 1e-12) << "got " << NumberToText(got);
  }
}

TEST(ShippedUnits, EveryFactorCategoryHasEqualitiesChecked) {
  std::map<int, int> checked;
  for (const Equality& e : kEqualities) ++checked[e.page];
  for (int page = 1; page <= kFixedCategories; ++page) {
    if (page == kTemperaturePage) continue;
    EXPECT_GE(checked[page], 2) << "page " << page;
  }
}

// The unit manager converts only the first 20 characters of a factor and writes back what it
// read, so a longer text would be changed by the first Apply.
TEST(ShippedUnits, FactorsArePositiveFiniteAndSurviveTheUnitManager) {
  for (int page = 1; page <= kFixedCategories; ++page) {
    for (const ShippedUnit& unit : ReadShippedCategory(page)) {
      SCOPED_TRACE("page " + std::to_string(page) + " key " + std::to_string(unit.key) + " " +
                   unit.name + "," + unit.factor_text);
      EXPECT_TRUE(std::isfinite(unit.factor));
      EXPECT_GT(unit.factor, 0);
      EXPECT_LE(unit.factor_text.size(), 20u);
      EXPECT_EQ(TextToNumber(unit.factor_text.substr(0, 20)), unit.factor);
      // Nothing after the number, which a reader might take for part of it.
      EXPECT_EQ(unit.factor_text.find_first_not_of("0123456789.e-"), std::string::npos);
    }
  }
}

TEST(ShippedUnits, NamesArePresentAndUniqueWithinACategory) {
  for (int page = 1; page <= kFixedCategories; ++page) {
    const std::vector<ShippedUnit> units = ReadShippedCategory(page);
    EXPECT_GE(units.size(), page == kTemperaturePage ? 5u : 6u) << "page " << page;
    std::set<std::string> names;
    for (const ShippedUnit& unit : units) {
      EXPECT_FALSE(unit.name.empty()) << "page " << page << " key " << unit.key;
      // The reader trims blanks around a value, so a name must not start with one.
      EXPECT_FALSE(unit.name.starts_with(' ') || unit.name.starts_with('\t')) << unit.name;
      EXPECT_TRUE(names.insert(unit.name).second) << "page " << page << ": " << unit.name;
    }
  }
}

// The loader stops at the first gap, so a unit stored after one would never be shown.
TEST(ShippedUnits, NoUnitIsHiddenBehindAGapOrOutsideTheKeyRange) {
  for (int page = 1; page <= kCategories; ++page) {
    const std::string section = "unit" + std::to_string(page);
    const std::size_t count = ReadShippedCategory(page).size();
    EXPECT_EQ(ShippedConfig().Read(section, std::to_string(PageBase(page))), "")
        << section << " uses its PageBase as a key";
    for (int key = PageBase(page) + 1 + static_cast<int>(count); key <= PageBase(page) + 50;
         ++key) {
      EXPECT_EQ(ShippedConfig().Read(section, std::to_string(key)), "")
          << section << " key " << key << " after the end of the list";
    }
  }
}

TEST(ShippedUnits, TemperatureListsTheFiveScalesInFormulaRowOrder) {
  const std::vector<ShippedUnit> units = ReadShippedCategory(kTemperaturePage);
  const std::array<const char*, 5> scales = {"摄氏度", "开尔文", "列氏度", "华氏度", "兰氏度"};
  ASSERT_EQ(units.size(), scales.size());
  for (std::size_t i = 0; i < scales.size(); ++i) {
    EXPECT_EQ(units[i].key, 152 + static_cast<int>(i));
    EXPECT_TRUE(units[i].name.starts_with(scales[i])) << units[i].name << " in row " << i + 1;
  }
}

TEST(ShippedConfig, CaptionsNameTheTwentyCategoriesAndTheUserDefinedOnes) {
  const std::array<const char*, kFixedCategories> captions = {
      "长度",     "面积",     "体积",     "温度",       "质量",     "力",   "压强",
      "功",       "能",       "密度",     "计算机容量", "加速度",   "速度", "时间",
      "运动粘度", "动力粘度", "体积流量", "质量流量",   "发光强度", "亮度"};
  for (int page = 1; page <= kCategories; ++page) {
    const std::string expected = page <= kFixedCategories ? captions[page - 1] : "自定义";
    EXPECT_EQ(ShippedConfig().Read(kButtonNamesSection, "unit" + std::to_string(page)), expected)
        << "unit" << page;
  }
}

std::string ShippedText() {
  std::ifstream in(VELMORA_SHIPPED_CONFIG, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ShippedConfig, UserCategoriesArePresentAndEmpty) {
  const std::string text = Gb18030ToUtf8(ShippedText());
  for (int page = kFixedCategories + 1; page <= kCategories; ++page) {
    const std::string header = "[unit" + std::to_string(page) + "]\n";
    EXPECT_NE(text.find("\n" + header), std::string::npos) << header;
    EXPECT_TRUE(ReadShippedCategory(page).empty()) << header;
  }
}

// Every text stays within GBK, the code page of the file format, so the file reads the same
// under GBK and GB18030.
TEST(ShippedConfig, FileIsCleanGbkText) {
  const std::string bytes = ShippedText();
  ASSERT_FALSE(bytes.empty());
  const std::string text = Gb18030ToUtf8(bytes);
  EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << "undecodable bytes";
  EXPECT_EQ(Utf8ToGb18030(text), bytes);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) continue;
    ASSERT_LT(i + 1, bytes.size());
    const auto trail = static_cast<unsigned char>(bytes[i + 1]);
    EXPECT_FALSE(trail >= 0x30 && trail <= 0x39) << "four-byte GB18030 sequence at " << i;
    ++i;
  }
}

TEST(ShippedUnits, NamesFitTheLabelsOfTheirPage) {
  QFont font(QStringLiteral("Noto Sans CJK SC"));
  font.setPixelSize(12);
  ASSERT_EQ(QFontInfo(font).family(), QStringLiteral("Noto Sans CJK SC"))
      << "the label font is not installed, so the widths cannot be measured";
  const QFontMetrics metrics(font);
  for (int page = 1; page <= kFixedCategories; ++page) {
    for (const ShippedUnit& unit : ReadShippedCategory(page)) {
      EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(unit.name)), LabelWidth(page))
          << "page " << page << ": " << unit.name;
    }
  }
}

}  // namespace
}  // namespace velmora::testing
