#include "ui/exchange_rate_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "loopback_server.h"
#include "settings/settings_file.h"
#include "text/gb18030.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/exchange_rate_store.h"
#include "ui/exchange_rate_window_design.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/secondary_windows.h"
#include "ui/skin.h"

namespace velmora {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackConnection;
using testing::LoopbackServer;

std::string BankFile(std::string_view date, std::string_view entries) {
  return "<?xml version='1.0' encoding='UTF-8'?><gesmes:Envelope><Cube><Cube time='" +
         std::string(date) + "'>" + std::string(entries) + "</Cube></Cube></gesmes:Envelope>";
}

const std::string kNewFile = BankFile("2026-12-11",
                                      "<Cube currency='USD' rate='1.1'/>"
                                      "<Cube currency='CNY' rate='8'/>"
                                      "<Cube currency='JPY' rate='160'/>");

std::string Ok(std::string_view body) {
  return LoopbackServer::Response("200 OK", "Content-Type: text/xml\r\n", body);
}

// The section of stored rates, fetched `age` seconds ago.
std::string StoredSection(long long age) {
  return "[汇率]\n日期=2026-12-10\n获取时间=" + std::to_string(SecondsNow() - age) +
         "\n币种=USD,JPY,GBP,CNY,HKD,CHF,THB\nUSD=1.05\nJPY=160\nGBP=0.8\nCNY=7.5\nHKD=8.2\n"
         "CHF=0.95\nTHB=37.5\n";
}

// Points the rates address at `address` for one test; the tests' own default is empty.
class RatesAddressFor {
 public:
  explicit RatesAddressFor(const std::string& address) {
    setenv(kRatesUrlVariable, address.c_str(), 1);
  }
  ~RatesAddressFor() { setenv(kRatesUrlVariable, "", 1); }
  RatesAddressFor(const RatesAddressFor&) = delete;
  RatesAddressFor& operator=(const RatesAddressFor&) = delete;
};

// The currency window opened from the real main window's menu, over a config.dat of its own.
class RatesWindowTest : public testing::MainWindowTest {
 protected:
  void ChooseRates() {
    QMenu* menu = window()->Menu(QString::fromUtf8(kGeneralMenu));
    ASSERT_NE(menu, nullptr);
    QAction* item = menu->findChild<QAction*>("汇率换算菜单");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "&R.汇率换算");
    item->trigger();
    rates_ = FindWindow(kExchangeRateWindow);
    ASSERT_NE(rates_, nullptr);
    ActivateRates();
  }
  // The window a user clicks becomes the active one (the window manager's part). An owned
  // window's QWindow counts as active while its owner is, so the test waits for the widget.
  void ActivateRates() {
    rates_->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == rates_.data(); }));
  }
  QString Label(const char* name) { return Text(FindControl(rates_, name)); }
  // The visible rows, top to bottom: their labels and edit boxes.
  std::vector<QString> RowLabels() {
    std::vector<QString> labels;
    for (int i = 0;; ++i) {
      const Control label = FindControlByTag(rates_, kFirstRateLabelTag + i);
      if (!label || !Visible(label)) break;
      labels.push_back(Text(label));
    }
    return labels;
  }
  QLineEdit* RateRow(const QString& label) {
    const std::vector<QString> labels = RowLabels();
    for (std::size_t i = 0; i < labels.size(); ++i) {
      if (labels[i] == label) {
        return qobject_cast<QLineEdit*>(
            FindControlByTag(rates_, kFirstRateRowTag + static_cast<int>(i)).object());
      }
    }
    return nullptr;
  }
  QString RateText(const char* label) {
    QLineEdit* edit = RateRow(QString::fromUtf8(label));
    return edit != nullptr ? edit->text() : QStringLiteral("<no row %1>").arg(label);
  }
  void TypeRate(const char* label, const char* keys) {
    QLineEdit* edit = RateRow(QString::fromUtf8(label));
    ASSERT_NE(edit, nullptr) << label;
    ActivateRates();
    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_TRUE(edit->hasFocus()) << label;
    edit->selectAll();
    QTest::keyClicks(edit, keys);
  }
  bool WaitForStatus(const QString& part) {
    return QTest::qWaitFor([&] { return Label(kRatesStatusLabel).contains(part); }, 10000);
  }

  QPointer<Window> rates_;
};

TEST_F(RatesWindowTest, WithoutRatesOrAddressTheRowsAreDisabledAndTheWindowSaysWhy) {
  // State: no stored rates, the rates address set but empty.  Action: choose "&R.汇率换算"
  // twice.  Expected: one modeless window owned by the main window, titled "汇率换算", with
  // disabled rows of the most used currencies, a line that says how to get rates, the update
  // button disabled; the second choice brings the same window forward.
  Start("[通用设置]\n小数保留位数=2\n");
  ChooseRates();
  EXPECT_EQ(rates_->windowTitle(), "汇率换算");
  EXPECT_EQ(Label("透明标签1"), "汇率换算");
  EXPECT_EQ(rates_->parentWidget(), window());
  EXPECT_EQ(ActiveModalWindow(), nullptr);
  EXPECT_EQ(Label(kRatesDateLabel), "尚无汇率");
  EXPECT_TRUE(Label(kRatesStatusLabel).contains("VELMORA_RATES_URL"));
  EXPECT_TRUE(Disabled(FindControl(rates_, kUpdateRatesButton)));
  EXPECT_EQ(RowLabels(), (std::vector<QString>{"人民币(CNY)", "美元(USD)", "欧元(EUR)", "港币(HKD)",
                                               "日元(JPY)", "英镑(GBP)"}));
  for (const char* label : {"人民币(CNY)", "欧元(EUR)", "英镑(GBP)"}) {
    EXPECT_FALSE(RateRow(QString::fromUtf8(label))->isEnabled()) << label;
  }
  QPointer<Window> first = rates_;
  window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
  ChooseRates();
  EXPECT_EQ(rates_.data(), first.data());
}

TEST_F(RatesWindowTest, StoredRatesAreUsedWithoutTheNetworkAndTypingConvertsEveryRow) {
  // State: rates stored an hour ago, two decimal places with separators, the address pointing
  // at a loopback server.  Action: open the window, type 1000 into the euro row, then 50 into
  // the dollar row.  Expected: no request; the date line; every row in order; each keystroke
  // converts into every other row with the converter's formatting.
  LoopbackServer server([](LoopbackConnection&) {});
  const RatesAddressFor address(server.Url("/rates.xml"));
  Start("[通用设置]\n小数保留位数=2\n是否千位分隔=1\n" + StoredSection(3600));
  ChooseRates();
  EXPECT_EQ(Label(kRatesDateLabel), "汇率日期：2026-12-10，欧洲央行参考汇率");
  EXPECT_EQ(Label(kRatesStatusLabel), "");
  EXPECT_EQ(RowLabels(),
            (std::vector<QString>{"人民币(CNY)", "美元(USD)", "欧元(EUR)", "港币(HKD)", "日元(JPY)",
                                  "英镑(GBP)", "瑞士法郎(CHF)", "泰铢(THB)"}));
  TypeRate("欧元(EUR)", "1");
  EXPECT_EQ(RateText("美元(USD)"), "1.05");
  QTest::keyClicks(RateRow("欧元(EUR)"), "000");
  EXPECT_EQ(RateText("人民币(CNY)"), "7,500");
  EXPECT_EQ(RateText("日元(JPY)"), "160,000");
  EXPECT_EQ(RateText("泰铢(THB)"), "37,500");
  EXPECT_EQ(RateText("欧元(EUR)"), "1000");
  TypeRate("美元(USD)", "50");
  EXPECT_EQ(RateText("欧元(EUR)"), "47.62");
  EXPECT_EQ(RateText("英镑(GBP)"), "38.1");
  QTest::qWait(50);
  EXPECT_EQ(server.ConnectionCount(), 0);
}

TEST_F(RatesWindowTest, OldRatesAreFetchedOnOpeningStoredAndShown) {
  // State: rates stored two days ago, a loopback server with newer rates.  Action: open the
  // window with 100 typed into the euro row meanwhile.  Expected: a fetching line, then the
  // new date and rows; config.dat holds the new rates; the typed amount converts at them.
  LoopbackServer server([](LoopbackConnection& c) {
    if (c.ReadRequest()) c.Send(Ok(kNewFile));
  });
  const RatesAddressFor address(server.Url("/rates.xml"));
  Start("[通用设置]\n小数保留位数=2\n" + StoredSection(2 * 86400));
  ChooseRates();
  TypeRate("欧元(EUR)", "100");
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return Label(kRatesDateLabel).contains("2026-12-11"); }, 10000));
  EXPECT_EQ(Label(kRatesStatusLabel), "");
  EXPECT_EQ(RowLabels(),
            (std::vector<QString>{"人民币(CNY)", "美元(USD)", "欧元(EUR)", "日元(JPY)"}));
  EXPECT_EQ(RateText("欧元(EUR)"), "100");
  EXPECT_EQ(RateText("人民币(CNY)"), "800");
  EXPECT_EQ(RateText("美元(USD)"), "110");
  const std::optional<StoredRates> stored = LoadStoredRates();
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->rates.date, "2026-12-11");
  EXPECT_EQ(stored->rates.rates,
            (std::vector<CurrencyRate>{{"USD", 1.1}, {"CNY", 8}, {"JPY", 160}}));
  EXPECT_LE(std::llabs(stored->fetched_at - SecondsNow()), 5);
  EXPECT_EQ(server.Requests().size(), 1u);
}

struct BadAnswer {
  const char* name;
  std::string response;
  const char* reason;
};

void PrintTo(const BadAnswer& c, std::ostream* out) {
  *out << c.name;
}

class BadAnswerTest : public RatesWindowTest, public ::testing::WithParamInterface<BadAnswer> {};

TEST_P(BadAnswerTest, ChangesNothingButTheStateLine) {
  // State: rates stored two days ago, a server with a bad answer.  Action: open the window.
  // Expected: the state line names the fault and keeps the old rates; the rows and config.dat
  // stay as they were.
  LoopbackServer server([](LoopbackConnection& c) {
    if (c.ReadRequest()) c.Send(GetParam().response);
  });
  const RatesAddressFor address(server.Url("/rates.xml"));
  Start("[通用设置]\n小数保留位数=2\n" + StoredSection(2 * 86400));
  const std::string before = ConfigBytes();
  ChooseRates();
  ASSERT_TRUE(WaitForStatus("汇率更新失败")) << Label(kRatesStatusLabel).toStdString();
  EXPECT_TRUE(Label(kRatesStatusLabel).contains(QString::fromUtf8(GetParam().reason)))
      << Label(kRatesStatusLabel).toStdString();
  EXPECT_TRUE(Label(kRatesStatusLabel).contains("仍使用之前的汇率"));
  EXPECT_EQ(Label(kRatesDateLabel), "汇率日期：2026-12-10，欧洲央行参考汇率");
  EXPECT_FALSE(Disabled(FindControl(rates_, kUpdateRatesButton)));
  TypeRate("欧元(EUR)", "2");
  EXPECT_EQ(RateText("美元(USD)"), "2.1");
  EXPECT_EQ(ConfigBytes(), before);
}

// clang-format off
const BadAnswer kBadAnswers[] = {
  {"NotThatXml",  Ok("<html>down for maintenance</html>"),                          "不是欧洲央行的汇率文件"},
  {"NegativeRate", Ok(BankFile("2026-12-11", "<Cube currency='USD' rate='-1.1'/>")), "无效的汇率"},
  {"BadCode",     Ok(BankFile("2026-12-11", "<Cube currency='U$D' rate='1.1'/>")),  "无效的货币代码"},
  {"TooLarge",    Ok(BankFile("2026-12-11", std::string(kRatesBodyLimit, ' ') + "<Cube currency='USD' rate='1.1'/>")),
                                                                                    "超过 1 MiB"},
  {"HttpError",   LoopbackServer::Response("500 Internal Server Error", "", kNewFile), "HTTP 500"},
  {"NoAnswer",    "",                                                               "无法连接"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Answers, BadAnswerTest, ::testing::ValuesIn(kBadAnswers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RatesWindowTest, UpdateButtonFetchesFreshRatesAgain) {
  // State: rates stored an hour ago (no fetch on opening).  Action: click "更新汇率".
  // Expected: one request, and the new rates replace the old ones.
  LoopbackServer server([](LoopbackConnection& c) {
    if (c.ReadRequest()) c.Send(Ok(kNewFile));
  });
  const RatesAddressFor address(server.Url("/rates.xml"));
  Start("[通用设置]\n" + StoredSection(3600));
  ChooseRates();
  QTest::qWait(50);
  EXPECT_EQ(server.ConnectionCount(), 0);
  auto* update = qobject_cast<QAbstractButton*>(FindControl(rates_, kUpdateRatesButton).object());
  QTest::mouseClick(update, Qt::LeftButton);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return Label(kRatesDateLabel).contains("2026-12-11"); }, 10000));
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(LoadStoredRates()->rates.date, "2026-12-11");
}

TEST_F(RatesWindowTest, ClosingAndQuittingNeverWaitForTheFetch) {
  // State: a server that never answers.  Action: open the window (it fetches), check that it
  // takes typing meanwhile, close it with Escape, then quit.  Expected: a fetching line, the
  // window usable, and both the close and the quit return at once.
  LoopbackServer server([](LoopbackConnection& c) {
    if (c.ReadRequest()) c.WaitForClose(20s);
  });
  const RatesAddressFor address(server.Url("/rates.xml"));
  Start("[通用设置]\n小数保留位数=2\n" + StoredSection(2 * 86400));
  ChooseRates();
  EXPECT_TRUE(Label(kRatesStatusLabel).contains("正在更新汇率"));
  EXPECT_TRUE(Disabled(FindControl(rates_, kUpdateRatesButton)));
  TypeRate("欧元(EUR)", "10");
  EXPECT_EQ(RateText("美元(USD)"), "10.5");
  const auto start = std::chrono::steady_clock::now();
  QTest::keyClick(RateRow("欧元(EUR)"), Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(rates_.isNull());
  Quit();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST_F(RatesWindowTest, RowsScrollWhenTheyDoNotFit) {
  // State: thirty stored currencies.  Action: open the window, Tab to the last row.
  // Expected: the rows' box scrolls, and the focused last row is inside its view.
  std::string codes;
  std::string items;
  const char* known[] = {"USD", "JPY", "BGN", "CZK", "DKK", "GBP", "HUF", "PLN", "RON", "SEK",
                         "CHF", "ISK", "NOK", "TRY", "AUD", "BRL", "CAD", "CNY", "HKD", "IDR",
                         "ILS", "INR", "KRW", "MXN", "MYR", "NZD", "PHP", "SGD", "THB", "ZAR"};
  for (const char* code : known) {
    codes += std::string(codes.empty() ? "" : ",") + code;
    items += std::string(code) + "=2\n";
  }
  Start("[汇率]\n日期=2026-12-10\n获取时间=" + std::to_string(SecondsNow()) + "\n币种=" + codes +
        "\n" + items);
  ChooseRates();
  EXPECT_EQ(RowLabels().size(), 31u);
  EXPECT_EQ(RowLabels().back(), "印尼盾(IDR)");
  auto* box = qobject_cast<QScrollArea*>(FindControl(rates_, kRatesScrollBox).object());
  ASSERT_NE(box, nullptr);
  EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
  QLineEdit* last = RateRow("印尼盾(IDR)");
  TypeRate("人民币(CNY)", "1");
  for (int i = 0; i < 40 && !last->hasFocus(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  ASSERT_TRUE(last->hasFocus());
  const QRect shown = box->viewport()->rect();
  const QRect row(last->mapTo(box->viewport(), QPoint(0, 0)), last->size());
  EXPECT_TRUE(shown.contains(row)) << row.y() << " in " << shown.height();
}

TEST(StoredRatesTest, DamagedItemsAreLeftOutAndADamagedDateDropsAll) {
  // State: a rates section edited by hand.  Expected: only the sound items are read; a date
  // that is not a date, or no sound item, reads as no rates at all.
  testing::TempDir dir;
  const SettingsFile file(dir / "config.dat");
  testing::WriteBytes(dir / "config.dat",
                      Utf8ToGb18030("[汇率]\n日期=2026-12-10\n获取时间=junk\n"
                                    "币种=USD,usd,JPY,GBP,JPY,EUR,CHF\nUSD=abc\n"
                                    "JPY=160\nGBP=-1\nEUR=1\nCHF=1e999\n"));
  const std::optional<StoredRates> stored = LoadStoredRates(file);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->rates.rates, (std::vector<CurrencyRate>{{"JPY", 160}}));
  EXPECT_EQ(stored->fetched_at, 0);
  EXPECT_TRUE(RatesNeedFetching(stored, SecondsNow()));
  ASSERT_TRUE(file.Write("汇率", "日期", "2026-13-01"));
  EXPECT_FALSE(LoadStoredRates(file).has_value());
  ASSERT_TRUE(file.Write("汇率", "日期", "2026-12-10"));
  ASSERT_TRUE(file.Write("汇率", "JPY", "0"));
  EXPECT_FALSE(LoadStoredRates(file).has_value());
}

TEST(StoredRatesTest, StoredRatesReadBackAndAgeByTheirFetchTime) {
  testing::TempDir dir;
  const SettingsFile file(dir / "config.dat");
  const ExchangeRates rates{"2026-12-10", {{"USD", 1.0492}, {"IDR", 16748.81}, {"JPY", 161.12}}};
  const std::int64_t now = SecondsNow();
  ASSERT_TRUE(StoreRates(file, rates, now - 3600));
  const std::optional<StoredRates> stored = LoadStoredRates(file);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->rates, rates);
  EXPECT_EQ(stored->fetched_at, now - 3600);
  EXPECT_FALSE(RatesNeedFetching(stored, now));
  EXPECT_TRUE(RatesNeedFetching(stored, now + kRatesMaxAgeSeconds));
  EXPECT_TRUE(RatesNeedFetching(stored, now - 7200));  // fetched "in the future"
  EXPECT_TRUE(RatesNeedFetching(std::nullopt, now));
}

TEST_F(RatesWindowTest, TakesTheSkinOfTheInterfaceStyle) {
  // State: interface style 2.  Action: open the window.  Expected: the style's background, the
  // rounded outline and the secondary windows' translucency.
  SetWindowOpacitySupportedForTesting(true);
  Start("[通用设置]\n界面风格=2\n");
  ChooseRates();
  EXPECT_EQ(Picture(WindowControl(rates_)), kSkinStyles[1].background);
  EXPECT_EQ(WindowOpacity(rates_), kSecondaryWindowOpacity);
}

}  // namespace
}  // namespace velmora
