// The program on a machine where libcurl cannot be loaded: the library file it loads is pointed
// at a missing file before the first request, so this test binary runs on its own.
#include <gtest/gtest.h>

#include <QTest>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/notices.h"
#include "net/cookie_store.h"
#include "net/curl_support.h"
#include "net/http_client.h"
#include "net/loopback_server.h"
#include "net/net_test_support.h"
#include "net/notice.h"
#include "text/gb18030.h"
#include "ui/main_window.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"

namespace velmora {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackConnection;
using testing::LoopbackServer;

constexpr const char* kConfig = "[通用设置]\n跨度=300\n上下间隔=24\n每列个数=15\n";

// Answers every request with a valid notice file of the kind asked for.
LoopbackServer::Handler ValidNotices() {
  return [](LoopbackConnection& c) {
    const std::optional<std::string> request = c.ReadRequest();
    if (!request) return;
    const bool message = request->starts_with("GET /regsoft/msg.txt ");
    const NoticeSource& source = message ? kMessageNotice : kAdvertNotice;
    c.Send(LoopbackServer::Response("200 OK", "",
                                    std::string(source.marker) + "\r\n" + Utf8ToGb18030("A|B")));
    c.WaitForClose();
  };
}

class WithoutLibcurlTest : public testing::MainWindowTest {
 protected:
  static void SetUpTestSuite() { setenv(curl::kLibraryVariable, "/nonexistent/libcurl.so.4", 1); }
  void TearDown() override {
    MainWindowTest::TearDown();
    qunsetenv(kNoticeServerVariable);
    // A failed load leaves nothing behind.
    EXPECT_FALSE(testing::MapsLibrary("self", "libcurl"));
  }
};

TEST_F(WithoutLibcurlTest, RequestsFailAtOnceWithoutContactingTheServer) {
  LoopbackServer server(ValidNotices());
  const std::string url = server.Url(kMessageNotice.path);

  FetchOptions options;
  options.timeout = 60s;
  std::string headers = "untouched";
  options.response_headers = &headers;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FetchUrl(url, options), "");
  // A failure, not a wait for the time-out.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
  EXPECT_EQ(headers, "");

  RequestBuffer buffer;
  buffer.url = url;
  buffer.method = "GET";
  EXPECT_EQ(PerformRequest(&buffer), 0);
  EXPECT_EQ(buffer.marker, kRequestMarker);
  EXPECT_EQ(buffer.url, url);

  bool handed_over = false;
  EXPECT_FALSE(FetchNotice(url, kMessageNotice.marker, [&](NoticeTexts) { handed_over = true; }));
  EXPECT_FALSE(handed_over);

  EXPECT_EQ(server.ConnectionCount(), 0);
  EXPECT_FALSE(curl::EnsureInitialised());
}

TEST_F(WithoutLibcurlTest, CookieStoreKeepsWorking) {
  // An expiry date cannot be read without libcurl: such a cookie lasts for the run, as one with
  // an unreadable date does; everything else is as before.
  ClearCookieStore();
  EXPECT_TRUE(SetCookie("http://a.test/", "dated", "1; expires=Wed, 09 Jun 2100 10:18:14 GMT"));
  EXPECT_TRUE(SetCookie("http://a.test/", "aged", "2; max-age=60"));
  EXPECT_TRUE(SetCookie("http://a.test/", "gone", "3; max-age=0"));
  EXPECT_EQ(CookieHeaderFor("a.test", "/"), "dated=1; aged=2");
  ClearCookieStore();
}

TEST_F(WithoutLibcurlTest, NoticeLabelsKeepTheirDesignTexts) {
  // State: a notice server with valid files.  Action: start the program.
  // Expected: both fetches start and fail; the labels keep their texts and nothing rotates.
  LoopbackServer server(ValidNotices());
  qputenv(kNoticeServerVariable,
          QByteArray::fromStdString("127.0.0.1:" + std::to_string(server.port())));
  Start(kConfig);
  EXPECT_TRUE(StartNoticeFetch(notices(), window(), NoticeKind::kMessage));
  QTest::qWait(1000);
  EXPECT_EQ(server.ConnectionCount(), 0);
  EXPECT_EQ(Text(FindControl(window(), kMessageLabel)), QStringLiteral("点击此处下载更多软件"));
  EXPECT_EQ(Text(FindControl(window(), kAdvertLabel)), QStringLiteral("热门小游戏！"));
  EXPECT_EQ(TimerInterval(FindControl(window(), kMessageTimer)), 0);
  EXPECT_EQ(TimerInterval(FindControl(window(), kAdvertTimer)), 0);
  EXPECT_TRUE(notices().MessageTexts.empty());
  EXPECT_TRUE(notices().AdvertTexts.empty());
  Quit();
}

}  // namespace
}  // namespace velmora
