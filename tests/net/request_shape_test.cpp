#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "loopback_server.h"
#include "net/cookie_store.h"
#include "net/http_client.h"
#include "net_test_support.h"

namespace velmora {
namespace {

using namespace std::chrono_literals;
using testing::DefaultBlock;
using testing::ExpectedRequest;
using testing::kDefaultAcceptLine;
using testing::kDefaultLanguageLine;
using testing::LoopbackConnection;
using testing::LoopbackServer;

// Answers every request on a connection with `response`.
LoopbackServer::Handler Answer(std::string response) {
  return [response](LoopbackConnection& connection) {
    while (connection.ReadRequest()) {
      if (!connection.Send(response)) return;
    }
  };
}

const std::string kOk = LoopbackServer::Response("200 OK", "", "fine");

class RequestShapeTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearCookieStore(); }

  std::string HostHeader() const { return "127.0.0.1:" + std::to_string(server_.port()); }
  std::vector<std::string> Requests() const { return server_.Requests(); }

  LoopbackServer server_{Answer(kOk)};
};

struct HeaderCase {
  const char* name;
  const char* extra_headers;
  // The block that must arrive; "%R" stands for the Referer line of the request's own URL.
  const char* block;
};

void PrintTo(const HeaderCase& c, std::ostream* out) {
  *out << c.name;
}

std::string Expand(std::string_view pattern, std::string_view referer_line) {
  std::string text(pattern);
  for (auto at = text.find("%R"); at != std::string::npos; at = text.find("%R")) {
    text.replace(at, 2, referer_line);
  }
  for (auto at = text.find("%A"); at != std::string::npos; at = text.find("%A")) {
    text.replace(at, 2, kDefaultAcceptLine);
  }
  for (auto at = text.find("%L"); at != std::string::npos; at = text.find("%L")) {
    text.replace(at, 2, kDefaultLanguageLine);
  }
  return text;
}

class HeaderBlockTest : public RequestShapeTest,
                        public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderBlockTest, SendsExactlyTheBuiltBlock) {
  const HeaderCase& c = GetParam();
  const std::string url = server_.Url("/regsoft/msg.txt");
  FetchOptions options;
  options.extra_headers = c.extra_headers;
  EXPECT_EQ(FetchUrl(url, options), "fine");
  const std::string block = Expand(c.block, "Referer: " + url + "\r\n");
  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_EQ(Requests()[0], ExpectedRequest("GET", "/regsoft/msg.txt", HostHeader(), block));
}

// %A, %R and %L are the default Accept line, the request's own Referer line and the default
// Accept-Language line.
// clang-format off
const HeaderCase kHeaderCases[] = {
  {"NoExtraHeaders",       "",                                          "%A%R%L"},
  {"OwnAcceptAnyCase",     "accept: text/html\r\n",                     "accept: text/html\r\n%R%L"},
  {"OwnRefererAnyCase",    "REFERER: http://elsewhere/\r\n",            "REFERER: http://elsewhere/\r\n%A%L"},
  {"OwnLanguage",          "Accept-Language: de\r\n",                   "Accept-Language: de\r\n%A%R"},
  {"AllOwnInOwnOrder",     "Accept-Language: en\r\nReferer: r\r\nAccept: a\r\n",
                           "Accept-Language: en\r\nReferer: r\r\nAccept: a\r\n"},
  {"OtherHeaderKept",      "X-Tag: 7\r\n",                              "X-Tag: 7\r\n%A%R%L"},
  // Without the space behind the colon the search does not match, so the default is added too.
  {"AcceptWithoutSpace",   "Accept:text/html\r\n",                      "Accept:text/html\r\n%A%R%L"},
  // A last line without its CR LF is ended before the defaults follow.
  {"LastLineUnterminated", "X-Tag: 7",                                  "X-Tag: 7\r\n%A%R%L"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(ExtraHeaders, HeaderBlockTest, ::testing::ValuesIn(kHeaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RequestShapeTest, RequestsThePathAndQueryOfEachUrlForm) {
  const std::string port = std::to_string(server_.port());
  const struct {
    std::string url;
    const char* target;
  } cases[] = {
      {server_.Url("/a/b?c=1"), "/a/b?c=1"},
      {server_.Url(""), "/"},
      {"127.0.0.1:" + port + "/no/scheme", "/no/scheme"},
      {server_.Url("/x/../y"), "/x/../y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(FetchUrl(c.url), "fine");
    ASSERT_FALSE(Requests().empty());
    EXPECT_EQ(Requests().back(),
              ExpectedRequest("GET", c.target, HostHeader(), DefaultBlock(c.url)));
  }
}

struct PostCase {
  const char* name;
  const char* method;
  const char* extra_headers;
  const char* form_data;
  // Header lines expected behind the default block, and the body.
  const char* added_lines;
  const char* body;
};

void PrintTo(const PostCase& c, std::ostream* out) {
  *out << c.name;
}

class PostTest : public RequestShapeTest, public ::testing::WithParamInterface<PostCase> {};

TEST_P(PostTest, SendsFormDataWithItsTypeAndLength) {
  const PostCase& c = GetParam();
  const std::string url = server_.Url("/post");
  FetchOptions options;
  options.method = c.method;
  options.extra_headers = c.extra_headers;
  options.form_data = c.form_data;
  EXPECT_EQ(FetchUrl(url, options), "fine");
  const std::string block = std::string(c.extra_headers) + DefaultBlock(url) + c.added_lines;
  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_EQ(Requests()[0], ExpectedRequest("POST", "/post", HostHeader(), block, c.body));
}

// clang-format off
const PostCase kPostCases[] = {
  {"FormData",          "POST", "", "a=1&b=2",
   "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 7\r\n", "a=1&b=2"},
  {"NoFormData",        "POST", "", "", "", ""},
  {"LowerCaseMethod",   "post", "", "x=\xD6\xD0",
   "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 4\r\n", "x=\xD6\xD0"},
  {"OwnContentType",    "POST", "content-type: text/plain\r\n", "hello",
   "Content-Length: 5\r\n", "hello"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Forms, PostTest, ::testing::ValuesIn(kPostCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RequestShapeTest, LargeFormDataGoesOutWithoutWaitingForContinue) {
  const std::string form(1536 * 1024, 'f');
  const std::string url = server_.Url("/big");
  FetchOptions options;
  options.method = "POST";
  options.form_data = form;
  EXPECT_EQ(FetchUrl(url, options), "fine");
  const std::string block = DefaultBlock(url) +
                            "Content-Type: application/x-www-form-urlencoded\r\n"
                            "Content-Length: 1572864\r\n";
  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_TRUE(Requests()[0] == ExpectedRequest("POST", "/big", HostHeader(), block, form))
      << Requests()[0].substr(0, 1000);
}

TEST_F(RequestShapeTest, OtherMethodsFailWithoutSendingAnything) {
  for (const char* method : {"PUT", "DELETE", "HEAD", "G ET"}) {
    SCOPED_TRACE(method);
    FetchOptions options;
    options.method = method;
    options.form_data = "a=1";
    EXPECT_EQ(FetchUrl(server_.Url("/x"), options), "");
  }
  // Give a stray connection time to show up before concluding there was none.
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(server_.ConnectionCount(), 0);
}

struct ControlCharacterCase {
  const char* name;
  std::string text;  // put into the URL where the case says
};

void PrintTo(const ControlCharacterCase& c, std::ostream* out) {
  *out << c.name;
}

class ControlCharacterTest : public RequestShapeTest,
                             public ::testing::WithParamInterface<ControlCharacterCase> {};

// A URL with a control character anywhere is refused before anything goes on the wire, so no
// header line can be smuggled in through it (the Referer line repeats the URL).
TEST_P(ControlCharacterTest, UrlIsRefusedWithoutARequest) {
  const std::string& bad = GetParam().text;
  const std::string port = std::to_string(server_.port());
  const std::string urls[] = {
      "http://127.0.0.1:" + port + bad + "X-Injected: 1/x",
      server_.Url("/a" + bad + "X-Injected: 1"),
      server_.Url("/a?q=" + bad),
      "http://127.0.0.1" + bad + ":" + port + "/",
      bad + "http://127.0.0.1:" + port + "/",
      server_.Url("/") + bad,
  };
  for (const std::string& url : urls) {
    SCOPED_TRACE(::testing::PrintToString(url));
    EXPECT_EQ(FetchUrl(url), "");
    RequestBuffer record;
    record.url = url;
    EXPECT_EQ(PerformRequest(&record), 0);
    EXPECT_EQ(record.marker, kRequestMarker);
    EXPECT_EQ(record.url, url);
  }
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(server_.ConnectionCount(), 0);
  EXPECT_TRUE(Requests().empty());
}

// clang-format off
const ControlCharacterCase kControlCharacters[] = {
  {"CrLf", "\r\n"},
  {"Lf", "\n"},
  {"Cr", "\r"},
  {"Nul", std::string(1, '\0')},
  {"Tab", "\t"},
  {"Byte01", "\x01"},
  {"Byte1F", "\x1F"},
  {"Del", "\x7F"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Characters, ControlCharacterTest, ::testing::ValuesIn(kControlCharacters),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RequestShapeTest, CredentialsWithLineBreaksAreRefused) {
  for (const auto& [user, password] : {std::pair{"us\r\ner", "pw"}, std::pair{"user", "p\nw"}}) {
    FetchOptions options;
    options.user_name = user;
    options.password = password;
    EXPECT_EQ(FetchUrl(server_.Url("/"), options), "");
  }
  EXPECT_EQ(server_.ConnectionCount(), 0);
}

TEST(PerformRequestTest, RecordHoldsTheRequestUntilAResponseReplacesIt) {
  EXPECT_EQ(PerformRequest(nullptr), 0);

  LoopbackServer server(Answer(LoopbackServer::Response("200 OK", "X-A: 1\r\n", "body")));
  RequestBuffer response_record;
  response_record.marker = kResponseMarker;
  response_record.url = server.Url("/");
  EXPECT_EQ(PerformRequest(&response_record), 0);

  RequestBuffer refused;
  refused.url = server.Url("/");
  refused.method = "PUT";
  EXPECT_EQ(PerformRequest(&refused), 0);
  EXPECT_EQ(refused.marker, kRequestMarker);
  EXPECT_EQ(refused.method, "PUT");
  EXPECT_EQ(server.ConnectionCount(), 0);

  RequestBuffer record;
  record.url = server.Url("/");
  record.form_data = "ignored by GET";
  ASSERT_EQ(PerformRequest(&record), 1);
  EXPECT_EQ(record.marker, kResponseMarker);
  EXPECT_EQ(record.url, "");
  EXPECT_EQ(record.form_data, "");
  EXPECT_EQ(record.headers, "HTTP/1.1 200 OK\r\nContent-Length: 4\r\nX-A: 1\r\n\r\n");
  EXPECT_EQ(record.body, "body");
  // A second run finds no request in the record.
  EXPECT_EQ(PerformRequest(&record), 0);
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(ResponseStatusTest, ErrorAndRedirectStatusesReturnTheirOwnBody) {
  LoopbackServer elsewhere(Answer(kOk));
  const struct {
    std::string response;
    const char* body;
  } cases[] = {
      {LoopbackServer::Response("404 Not Found", "", "no such file"), "no such file"},
      {LoopbackServer::Response("500 Internal Server Error", "", "broken"), "broken"},
      {LoopbackServer::Response("302 Found", "Location: " + elsewhere.Url("/") + "\r\n", "moved"),
       "moved"},
      {LoopbackServer::Response("200 OK", "", ""), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    LoopbackServer server(Answer(c.response));
    EXPECT_EQ(FetchUrl(server.Url("/x")), c.body);
  }
  // A redirect is not followed anywhere.
  EXPECT_EQ(elsewhere.ConnectionCount(), 0);
}

TEST(ResponseHeadersTest, GivesTheRawHeadersWhenTheyFit) {
  const std::string fitting_headers = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nX-A: b\r\n\r\n";
  // With the Content-Length line this response's headers take 1,024 bytes: one too many.
  const std::string long_value(1024 - 48, 'v');
  const std::string long_response =
      LoopbackServer::Response("200 OK", "X-Long: " + long_value + "\r\n", "ok");
  ASSERT_EQ(long_response.find("\r\n\r\n") + 4, 1024u);
  const std::string just_fitting_response =
      LoopbackServer::Response("200 OK", "X-Long: " + long_value.substr(1) + "\r\n", "ok");
  // The status line's protocol name is matched without regard to case, by libcurl too.
  const std::string interim = "HTTP/1.1 100 Continue\r\nX-Interim: 1\r\n\r\n";
  const std::string final_in_lower_case = "http/1.1 200 OK\r\nContent-Length: 2\r\n\r\n";

  const struct {
    const char* name;
    std::string response;
    std::string headers;
  } cases[] = {
      {"Short", fitting_headers + "ok", fitting_headers},
      {"JustFitting", just_fitting_response, just_fitting_response.substr(0, 1023)},
      {"TooLong", long_response, ""},
      {"FinalAfterInterimInLowerCase", interim + final_in_lower_case + "ok", final_in_lower_case},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackServer server(Answer(c.response));
    std::string headers = "stale";
    FetchOptions options;
    options.response_headers = &headers;
    EXPECT_EQ(FetchUrl(server.Url("/"), options), "ok");
    EXPECT_EQ(headers, c.headers);
  }

  std::string headers = "stale";
  FetchOptions options;
  options.response_headers = &headers;
  options.method = "PUT";
  LoopbackServer server(Answer(fitting_headers + "ok"));
  EXPECT_EQ(FetchUrl(server.Url("/"), options), "");
  EXPECT_EQ(headers, "");
}

TEST(ProxyTest, SendsTheRequestThroughTheGivenProxyOnly) {
  LoopbackServer proxy(Answer(LoopbackServer::Response("200 OK", "", "via proxy")));
  LoopbackServer origin(Answer(LoopbackServer::Response("200 OK", "", "direct")));
  const std::string proxy_address = "127.0.0.1:" + std::to_string(proxy.port());

  FetchOptions through_proxy;
  through_proxy.proxy = proxy_address;
  EXPECT_EQ(FetchUrl(origin.Url("/p?q=1"), through_proxy), "via proxy");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].substr(0, proxy.Requests()[0].find("\r\n")),
            "GET " + origin.Url("/p?q=1") + " HTTP/1.1");
  EXPECT_EQ(origin.ConnectionCount(), 0);

  // A proxy of blanks counts as none, and a proxy set in the environment is never used.
  ASSERT_EQ(setenv("http_proxy", ("http://" + proxy_address).c_str(), 1), 0);
  FetchOptions blank_proxy;
  blank_proxy.proxy = "   ";
  EXPECT_EQ(FetchUrl(origin.Url("/p"), blank_proxy), "direct");
  unsetenv("http_proxy");
  EXPECT_EQ(proxy.Requests().size(), 1u);

  FetchOptions bad_proxy;
  bad_proxy.proxy = "not a proxy";
  EXPECT_EQ(FetchUrl(origin.Url("/p"), bad_proxy), "");
}

TEST(CredentialsTest, AreSentOnlyWhenTheServerAsksForThem) {
  LoopbackServer server([](LoopbackConnection& connection) {
    while (const auto request = connection.ReadRequest()) {
      // "user:pw" in Base64.
      const bool authorised =
          request->find("\r\nAuthorization: Basic dXNlcjpwdw==\r\n") != std::string::npos;
      const std::string response =
          authorised ? LoopbackServer::Response("200 OK", "", "secret")
                     : LoopbackServer::Response("401 Unauthorized",
                                                "WWW-Authenticate: Basic realm=\"v\"\r\n", "who?");
      if (!connection.Send(response)) return;
    }
  });
  FetchOptions options;
  options.user_name = "user";
  options.password = "pw";
  EXPECT_EQ(FetchUrl(server.Url("/"), options), "secret");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].find("Authorization"), std::string::npos);

  FetchOptions blank_user;
  blank_user.user_name = "  ";
  blank_user.password = "pw";
  EXPECT_EQ(FetchUrl(server.Url("/"), blank_user), "who?");
}

TEST(ParallelFetchTest, RequestsOnSeveralThreadsEachGetTheirOwnBody) {
  LoopbackServer server([](LoopbackConnection& connection) {
    const auto request = connection.ReadRequest();
    if (!request) return;
    // Echo the path, after a pause that makes the requests overlap.
    const std::string path = request->substr(4, request->find(' ', 4) - 4);
    connection.Pause(100ms);
    connection.Send(
        LoopbackServer::Response("200 OK", "Set-Cookie: p=" + path.substr(1) + "\r\n", path));
  });
  std::vector<std::future<std::string>> results;
  for (int i = 0; i < 6; ++i) {
    results.push_back(std::async(std::launch::async, [&server, i] {
      return FetchUrl(server.Url("/" + std::to_string(i)));
    }));
  }
  for (int i = 0; i < 6; ++i) EXPECT_EQ(results[i].get(), "/" + std::to_string(i));
}

}  // namespace
}  // namespace velmora
