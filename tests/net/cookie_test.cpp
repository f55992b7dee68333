#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "loopback_server.h"
#include "net/cookie_store.h"
#include "net/http_client.h"
#include "net_test_support.h"

namespace velmora {
namespace {

using testing::DefaultBlock;
using testing::LoopbackConnection;
using testing::LoopbackServer;

// The Cookie header line of a request, or "" without one; a second Cookie line is a failure.
std::string CookieLine(const std::string& request) {
  const auto at = request.find("\r\nCookie: ");
  if (at == std::string::npos) return "";
  EXPECT_EQ(request.find("\r\nCookie: ", at + 2), std::string::npos) << request;
  return request.substr(at + 2, request.find("\r\n", at + 2) - at - 2);
}

// Sets the cookie line given in the request's "X-Set" header, if any, and answers "ok".
void SetCookieOnRequest(LoopbackConnection& connection) {
  while (const std::optional<std::string> request = connection.ReadRequest()) {
    std::string set_cookie;
    const auto at = request->find("\r\nX-Set: ");
    if (at != std::string::npos) {
      const auto start = at + 9;
      set_cookie =
          "Set-Cookie: " + request->substr(start, request->find("\r\n", start) - start) + "\r\n";
    }
    if (!connection.Send(LoopbackServer::Response("200 OK", set_cookie, "ok"))) return;
  }
}

class CookieTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearCookieStore(); }
  void TearDown() override { ClearCookieStore(); }

  // The Cookie header line the server received with a GET of `path`, or "" without one.
  std::string CookieSentFor(std::string_view path, const LoopbackServer& server) {
    EXPECT_EQ(FetchUrl(server.Url(path)), "ok");
    return CookieLine(server.Requests().back());
  }

  std::string SetByServer(std::string_view cookie_line) {
    FetchOptions options;
    options.extra_headers = "X-Set: " + std::string(cookie_line) + "\r\n";
    return FetchUrl(server_.Url("/login"), options);
  }

  LoopbackServer server_{SetCookieOnRequest};
};

TEST_F(CookieTest, CookieSetByAResponseIsSentBackToThatHost) {
  EXPECT_EQ(CookieSentFor("/", server_), "");
  ASSERT_EQ(SetByServer("id=42; path=/"), "ok");

  const std::string url = server_.Url("/next");
  EXPECT_EQ(FetchUrl(url), "ok");
  // The Cookie line is the one line besides Host and User-Agent that joins the header block.
  const std::string expected =
      "GET /next HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server_.port()) +
      "\r\nUser-Agent: " + std::string(kUserAgent) + "\r\nCookie: id=42\r\n" + DefaultBlock(url) +
      "\r\n";
  EXPECT_EQ(server_.Requests().back(), expected);

  // Cookies belong to the host, whatever its port.
  LoopbackServer other_port(SetCookieOnRequest);
  EXPECT_EQ(CookieSentFor("/", other_port), "Cookie: id=42");
}

TEST_F(CookieTest, LaterCookiesReplaceOrRemoveEarlierOnes) {
  ASSERT_EQ(SetByServer("id=1; path=/"), "ok");
  ASSERT_EQ(SetByServer("id=2; path=/"), "ok");
  EXPECT_EQ(CookieSentFor("/", server_), "Cookie: id=2");
  ASSERT_EQ(SetByServer("id=gone; path=/; max-age=0"), "ok");
  EXPECT_EQ(CookieSentFor("/", server_), "");
}

TEST_F(CookieTest, StoredCookiesGoOnlyWhereTheyBelong) {
  EXPECT_TRUE(SetCookie("http://127.0.0.1", "plain", "1"));
  EXPECT_TRUE(SetCookie("http://127.0.0.1:9/any/page", "scoped", "2; path=/only"));
  EXPECT_TRUE(SetCookie("http://other.example", "foreign", "3"));
  EXPECT_TRUE(SetCookie("http://127.0.0.1", "old", "5; expires=Thu, 01 Jan 1998 00:00:00 GMT"));

  EXPECT_EQ(CookieSentFor("/", server_), "Cookie: plain=1");
  EXPECT_EQ(CookieSentFor("/only/x", server_), "Cookie: scoped=2; plain=1");

  EXPECT_TRUE(SetCookie("http://127.0.0.1", "plain", "x; max-age=-1"));
  EXPECT_EQ(CookieSentFor("/", server_), "");
}

TEST_F(CookieTest, MalformedCookiesAreNotStored) {
  EXPECT_FALSE(SetCookie("http://127.0.0.1", "", "1"));
  EXPECT_FALSE(SetCookie("http://127.0.0.1", ": a", "1"));
  EXPECT_FALSE(SetCookie("http://127.0.0.1", "tab\tname", "1"));
  EXPECT_FALSE(SetCookie("http://127.0.0.1", "a", "line\r\nbreak"));
  EXPECT_FALSE(SetCookie("http://127.0.0.1", "a", "1; path=/\x01"));
  EXPECT_FALSE(SetCookie("http://user@127.0.0.1", "a", "1"));
  EXPECT_FALSE(SetCookie("http://", "a", "1"));
  EXPECT_EQ(CookieSentFor("/", server_), "");
}

// One request of a cookie case: to `host` and `path`, asking the server to set `set` (if any).
struct CookieStep {
  const char* host;
  const char* path;
  const char* set;
};

struct CookieCase {
  const char* name;
  std::vector<CookieStep> steps;
  // Requests made afterwards and the Cookie line each must carry ("" for none).
  std::vector<std::pair<CookieStep, const char*>> checks;
};

void PrintTo(const CookieCase& c, std::ostream* out) {
  *out << c.name;
}

class CookieCaseTest : public ::testing::TestWithParam<CookieCase> {
 protected:
  void SetUp() override { ClearCookieStore(); }
  void TearDown() override { ClearCookieStore(); }

  // 127.0.0.2 has a server of its own; 127.0.0.1 and the names under localhost reach the first.
  const LoopbackServer& ServerFor(std::string_view host) const {
    return host == "127.0.0.2" ? second_ : first_;
  }

  std::string Fetch(const CookieStep& step) {
    FetchOptions options;
    if (step.set != nullptr) options.extra_headers = "X-Set: " + std::string(step.set) + "\r\n";
    EXPECT_EQ(FetchUrl(ServerFor(step.host).UrlFor(step.host, step.path), options), "ok")
        << step.host << step.path;
    const auto requests = ServerFor(step.host).Requests();
    return requests.empty() ? "(no request)" : CookieLine(requests.back());
  }

  LoopbackServer first_{SetCookieOnRequest};
  LoopbackServer second_{SetCookieOnRequest, "127.0.0.2"};
};

TEST_P(CookieCaseTest, EachCookieGoesOnceAndOnlyToItsHost) {
  const CookieCase& c = GetParam();
  for (const CookieStep& step : c.steps) Fetch(step);
  for (const auto& [step, expected] : c.checks) {
    EXPECT_EQ(Fetch(step), expected) << step.host << step.path;
  }
}

// clang-format off
const CookieCase kCookieCases[] = {
  {"SetFromADeeperPathIsSentOnce",
   {{"127.0.0.1", "/shop/cart", "cart=old"}},
   {{{"127.0.0.1", "/shop/list", nullptr}, "Cookie: cart=old"}}},
  {"ChangedValueReplacesTheOldOne",
   {{"127.0.0.1", "/shop/cart", "cart=old"}, {"127.0.0.1", "/", "cart=new"}},
   {{{"127.0.0.1", "/shop/list", nullptr}, "Cookie: cart=new"}}},
  {"ExpiredByTheServer",
   {{"127.0.0.1", "/shop/cart", "cart=old"}, {"127.0.0.1", "/", "cart=x; Max-Age=0"}},
   {{{"127.0.0.1", "/shop/list", nullptr}, ""}}},
  {"PathAttributeScopesTheCookie",
   {{"127.0.0.1", "/", "p=1; Path=/shop"}},
   {{{"127.0.0.1", "/", nullptr}, ""}, {{"127.0.0.1", "/shop/x", nullptr}, "Cookie: p=1"},
    {{"127.0.0.1", "/shopping", nullptr}, ""}}},
  {"OtherAddressGetsNothing",
   {{"127.0.0.1", "/", "id=1"}},
   {{{"127.0.0.2", "/", nullptr}, ""}, {{"127.0.0.1", "/", nullptr}, "Cookie: id=1"}}},
  {"EachAddressKeepsItsOwn",
   {{"127.0.0.1", "/", "id=a"}, {"127.0.0.2", "/", "id=b"}},
   {{{"127.0.0.1", "/", nullptr}, "Cookie: id=a"}, {{"127.0.0.2", "/", nullptr}, "Cookie: id=b"}}},
  {"DomainAttributeDoesNotReachSubdomains",
   {{"b.localhost", "/", "id=1; Domain=b.localhost"}},
   {{{"a.b.localhost", "/", nullptr}, ""}, {{"b.localhost", "/", nullptr}, "Cookie: id=1"}}},
  {"DomainOfTheParentIsIgnored",
   {{"a.b.localhost", "/", "id=2; Domain=localhost"}},
   {{{"b.localhost", "/", nullptr}, ""}, {{"c.localhost", "/", nullptr}, ""},
    {{"a.b.localhost", "/", nullptr}, "Cookie: id=2"}}},
  {"SecureCookieNeverGoesOverPlainHttp",
   {{"127.0.0.1", "/", "s=1; Secure"}},
   {{{"127.0.0.1", "/", nullptr}, ""}}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, CookieCaseTest, ::testing::ValuesIn(kCookieCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A response that is not delivered (a body over the cap, a transfer cut at the time-out) stores
// none of its cookies.
TEST_F(CookieTest, FailedFetchesStoreNoCookies) {
  LoopbackServer server([](LoopbackConnection& connection) {
    const auto request = connection.ReadRequest();
    if (!request) return;
    if (request->starts_with("GET /big")) {
      connection.Send(
          LoopbackServer::Response("200 OK", "Set-Cookie: big=1\r\n", std::string(5000, 'b')));
    } else if (request->starts_with("GET /slow")) {
      connection.Send("HTTP/1.1 200 OK\r\nSet-Cookie: slow=1\r\nContent-Length: 10\r\n\r\nab");
      connection.WaitForClose();
    } else {
      connection.Send(LoopbackServer::Response("200 OK", "", "ok"));
    }
  });
  FetchOptions capped;
  capped.max_body_bytes = 1000;
  EXPECT_EQ(FetchUrl(server.Url("/big"), capped), "");
  FetchOptions hasty;
  hasty.timeout = std::chrono::milliseconds(300);
  EXPECT_EQ(FetchUrl(server.Url("/slow"), hasty), "");
  EXPECT_EQ(CookieSentFor("/", server), "");
}

}  // namespace
}  // namespace velmora
