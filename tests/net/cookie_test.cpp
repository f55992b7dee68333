#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "loopback_server.h"
#include "net/cookie_store.h"
#include "net/http_client.h"
#include "net_test_support.h"

namespace velmora {
namespace {

using testing::DefaultBlock;
using testing::LoopbackConnection;
using testing::LoopbackServer;

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
    const std::string request = server.Requests().back();
    const auto at = request.find("\r\nCookie: ");
    if (at == std::string::npos) return "";
    return request.substr(at + 2, request.find("\r\n", at + 2) - at - 2);
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

}  // namespace
}  // namespace velmora
