#include "net/notice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "loopback_server.h"
#include "net_test_support.h"
#include "text/gb18030.h"

namespace velmora {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackConnection;
using testing::LoopbackServer;
using Texts = std::vector<std::string>;

const std::string kMessage(kMessageNotice.marker);
const std::string kAdvert(kAdvertNotice.marker);

std::string Gbk(std::string_view utf8) {
  return Utf8ToGb18030(utf8);
}

struct ParseCase {
  const char* name;
  std::string body;
  std::optional<Texts> texts;  // nothing: not a notice
  bool separated = false;
};

void PrintTo(const ParseCase& c, std::ostream* out) {
  *out << c.name;
}

class ParseNoticeTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNoticeTest, ReadsTheTextsOfAMessageBody) {
  const ParseCase& c = GetParam();
  const std::optional<NoticeTexts> notice = ParseNotice(c.body, kMessageNotice.marker);
  ASSERT_EQ(notice.has_value(), c.texts.has_value());
  if (!notice) return;
  EXPECT_EQ(notice->texts, *c.texts);
  EXPECT_EQ(notice->separated, c.separated);
}

const std::string k997(997, 'x');
const std::string k998(998, 'x');
const std::string k999(999, 'x');
const std::string k1000(1000, 'x');

// clang-format off
const ParseCase kParseCases[] = {
  {"ThreeTexts",             kMessage + "\r\nA|B|C",            Texts{"A", "B", "C"}, true},
  {"OneTextWithoutBar",      kMessage + "..Hello",              Texts{"Hello"}, false},
  {"SkippedBytesWhatever",   kMessage + "||Hello",              Texts{"Hello"}, false},
  {"ChineseTexts",           kMessage + "\r\n" + Gbk("点击下载|热门游戏"), Texts{"点击下载", "热门游戏"}, true},
  {"TrailingLineBreakKept",  kMessage + "\r\nA|B\r\n",          Texts{"A", "B\r\n"}, true},
  {"EmptyPiecesLeftOut",     kMessage + "\r\n|A||B|",           Texts{"A", "B"}, true},
  {"BarAsTrailByteSplitsNot",kMessage + "\r\n\x81\x7C|B",       Texts{"亅", "B"}, true},
  {"OnlyTrailByteBar",       kMessage + "\r\nX\x81\x7CY",       Texts{"X亅Y"}, false},
  {"InvalidByteReplaced",    kMessage + "\r\n\xFF|A",           Texts{"\xEF\xBF\xBD", "A"}, true},
  {"CutAfter1000Bytes",      kMessage + "\r\n" + k1000 + "yyy", Texts{k1000}, false},
  {"BarAfterTheCutIgnored",  kMessage + "\r\n" + k1000 + "|B",  Texts{k1000}, false},
  {"CutDropsHalfCharacter",  kMessage + "\r\n" + k999 + Gbk("你") + "z", Texts{k999}, false},
  {"CharacterEndingAtCut",   kMessage + "\r\n" + k998 + Gbk("你") + "z", Texts{k998 + "你"}, false},
  {"CutDropsFourByteChar",   kMessage + "\r\n" + k997 + "\x95\x32\x82\x36", Texts{k997}, false},
  {"FourByteCharKept",       kMessage + "\r\nA\x95\x32\x82\x36|B", Texts{"A\xF0\xA0\x80\x80", "B"}, true},
  {"AdvertMarker",           kAdvert + "\r\nA|B",               std::nullopt},
  {"OtherText",              "<html>Not found</html>",          std::nullopt},
  {"EmptyBody",              "",                                std::nullopt},
  {"HalfMarker",             kMessage.substr(0, 3),             std::nullopt},
  {"MarkerOnly",             kMessage,                          std::nullopt},
  {"OnlyBars",               kMessage + "\r\n||",               std::nullopt},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Bodies, ParseNoticeTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParseNoticeTest, AdvertBodyNeedsTheAdvertMarker) {
  const std::string body = kAdvert + "\r\n" + Gbk("新游戏");
  ASSERT_TRUE(ParseNotice(body, kAdvertNotice.marker));
  EXPECT_EQ(ParseNotice(body, kAdvertNotice.marker)->texts, Texts{"新游戏"});
  EXPECT_FALSE(ParseNotice(body, kMessageNotice.marker));
}

TEST(StoreNoticeTextsTest, SeparatedTextsReplaceTheListASingleTextItsFirstEntry) {
  Texts list{"old 1", "old 2"};
  StoreNoticeTexts(list, {{"new"}, false});
  EXPECT_EQ(list, (Texts{"new", "old 2"}));
  StoreNoticeTexts(list, {{"A", "B", "C"}, true});
  EXPECT_EQ(list, (Texts{"A", "B", "C"}));
  Texts empty;
  StoreNoticeTexts(empty, {{"only"}, false});
  EXPECT_EQ(empty, Texts{"only"});
}

TEST(NoticeAddressTest, TakesOnlyAHostAndAnOptionalPort) {
  const struct {
    const char* server;
    std::optional<std::string> address;
  } cases[] = {
      {"127.0.0.1:8080", "http://127.0.0.1:8080/regsoft/msg.txt"},
      {"notices.example.com", "http://notices.example.com/regsoft/msg.txt"},
      {"http://example.com:81", "http://example.com:81/regsoft/msg.txt"},
      {"", std::nullopt},
      {":80", std::nullopt},
      {"example.com/other", std::nullopt},
      {"example.com:", std::nullopt},
      {"example.com:0", std::nullopt},
      {"example.com:65536", std::nullopt},
      {"example.com:80x", std::nullopt},
      {"exa mple.com", std::nullopt},
      {"example.com\r\nX: y", std::nullopt},
      {"user@example.com", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NoticeAddress(c.server, kMessageNotice.path), c.address) << c.server;
  }
}

// The server answers every request with `response` and closes.
LoopbackServer::Handler Answer(std::string response) {
  return [response = std::move(response)](LoopbackConnection& c) {
    if (c.ReadRequest()) c.Send(response);
  };
}

TEST(FetchNoticeTest, AsksForTheFileWithTheDefaultRequestAndHandsOverItsTexts) {
  LoopbackServer server(Answer(LoopbackServer::Response("200 OK", "", kMessage + "\r\nA|B")));
  const std::string url = server.Url("/regsoft/msg.txt");
  std::vector<NoticeTexts> handed;
  EXPECT_TRUE(FetchNotice(url, kMessageNotice.marker,
                          [&handed](NoticeTexts texts) { handed.push_back(std::move(texts)); }));
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_EQ(handed[0].texts, (Texts{"A", "B"}));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], testing::ExpectedRequest("GET", "/regsoft/msg.txt",
                                                  "127.0.0.1:" + std::to_string(server.port()),
                                                  testing::DefaultBlock(url)));
}

struct FailingServer {
  const char* name;
  LoopbackServer::Handler handler;
};

void PrintTo(const FailingServer& c, std::ostream* out) {
  *out << c.name;
}

class FetchNoticeFailureTest : public ::testing::TestWithParam<FailingServer> {};

// Nothing is handed over, and a huge or endless body ends the fetch long before its time-out.
TEST_P(FetchNoticeFailureTest, HandsOverNothing) {
  LoopbackServer server(GetParam().handler);
  bool handed = false;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(FetchNotice(server.Url("/regsoft/msg.txt"), kMessageNotice.marker,
                           [&handed](NoticeTexts) { handed = true; }));
  EXPECT_FALSE(handed);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
}

std::string NoticePrefix() {
  return kMessage + "\r\nA|B|";
}

// clang-format off
const FailingServer kFailingServers[] = {
  {"WrongMarker", Answer(LoopbackServer::Response("200 OK", "", "消息\r\nA|B"))},
  {"EmptyBody", Answer(LoopbackServer::Response("200 OK", "", ""))},
  {"ErrorPage", Answer(LoopbackServer::Response("404 Not Found", "", "<h1>404</h1>"))},
  {"GigabyteAnnounced", [](LoopbackConnection& c) {
     if (!c.ReadRequest() ||
         !c.Send("HTTP/1.1 200 OK\r\nContent-Length: 1073741824\r\n\r\n" + NoticePrefix())) {
       return;
     }
     const std::string block(64 * 1024, 'x');
     while (c.Send(block)) {}
   }},
  {"EndlessBodyWithoutLength", [](LoopbackConnection& c) {
     if (!c.ReadRequest() ||
         !c.Send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + NoticePrefix())) {
       return;
     }
     const std::string block(16 * 1024, 'x');
     while (c.Send(block)) {}
   }},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Servers, FetchNoticeFailureTest, ::testing::ValuesIn(kFailingServers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FetchNoticeTest, RefusedConnectionHandsOverNothing) {
  bool handed = false;
  EXPECT_FALSE(FetchNotice(
      "http://127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort()) + "/regsoft/msg.txt",
      kMessageNotice.marker, [&handed](NoticeTexts) { handed = true; }));
  EXPECT_FALSE(handed);
}

}  // namespace
}  // namespace velmora
