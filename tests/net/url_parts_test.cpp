#include "net/url_parts.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace velmora {
namespace {

struct UrlCase {
  const char* name;
  const char* url;
  const char* host;
  const char* host_with_port;
  int port;
  const char* path;
};

void PrintTo(const UrlCase& c, std::ostream* out) {
  *out << c.name;
}

class UrlPartsTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlPartsTest, SplitsTheUrl) {
  const UrlCase& c = GetParam();
  EXPECT_EQ(UrlHost(c.url, false), c.host);
  EXPECT_EQ(UrlHost(c.url, true), c.host_with_port);
  EXPECT_EQ(UrlPort(c.url), c.port);
  EXPECT_EQ(UrlPath(c.url), c.path);
}

// clang-format off
const UrlCase kUrlCases[] = {
  {"PortPathAndQuery",    "http://Example.COM:8080/a/b?c=1", "example.com", "example.com:8080", 8080, "/a/b?c=1"},
  {"HostOnly",            "http://example.com",              "example.com", "example.com",      80,   "/"},
  {"HostAndSlash",        "http://example.com/",             "example.com", "example.com",      80,   "/"},
  {"NoScheme",            "Example.com/x/y",                 "example.com", "example.com",      80,   "/x/y"},
  {"NoSchemeWithPort",    "127.0.0.1:81/x",                  "127.0.0.1",   "127.0.0.1:81",     81,   "/x"},
  {"ColonInPathOnly",     "http://a.b/c:d",                  "a.b",         "a.b",              80,   "/c:d"},
  {"QueryWithoutPath",    "http://a.b?q=1",                  "a.b?q=1",     "a.b?q=1",          80,   "/"},
  {"EmptyPort",           "http://a.b:/x",                   "a.b",         "a.b:",             0,    "/x"},
  {"PortNotANumber",      "http://a.b:http/x",               "a.b",         "a.b:http",         0,    "/x"},
  {"PortDigitsThenText",  "http://a.b:81x/",                 "a.b",         "a.b:81x",          81,   "/"},
  {"PortTooLarge",        "http://a.b:9999999/",             "a.b",         "a.b:9999999",      65536, "/"},
  // The scheme is matched case-sensitively: an upper-case one is taken as part of the host.
  {"UpperCaseScheme",     "HTTP://Host/x",                   "http",        "http:",            0,    "//Host/x"},
  // A host that also occurs inside "http://" still gives the path behind the host.
  {"HostInsideScheme",    "http://tt/x",                     "tt",          "tt",               80,   "/x"},
  {"TextBeforeScheme",    "see http://Host/p",               "host",        "host",             80,   "/p"},
  {"Empty",               "",                                "",            "",                 80,   "/"},
  // Bytes of code page 936 are neither lower-cased nor split.
  {"DoubleByteHost",      "http://\xD6\xD0\xCE\xC4.cn/a",    "\xD6\xD0\xCE\xC4.cn", "\xD6\xD0\xCE\xC4.cn", 80, "/a"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Forms, UrlPartsTest, ::testing::ValuesIn(kUrlCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlainHostNameTest, AcceptsNamesAndAddressesOnly) {
  EXPECT_TRUE(IsPlainHostName("127.0.0.1"));
  EXPECT_TRUE(IsPlainHostName("www.example-site_1.com"));
  EXPECT_FALSE(IsPlainHostName(""));
  EXPECT_FALSE(IsPlainHostName(".example.com"));
  EXPECT_FALSE(IsPlainHostName("user@example.com"));
  EXPECT_FALSE(IsPlainHostName("a.b?q=1"));
  EXPECT_FALSE(IsPlainHostName("example.com:80"));
  EXPECT_FALSE(IsPlainHostName("\xD6\xD0\xCE\xC4.cn"));
}

}  // namespace
}  // namespace velmora
