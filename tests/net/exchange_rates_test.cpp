#include "net/exchange_rates.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "loopback_server.h"

namespace velmora {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackConnection;
using testing::LoopbackServer;
using Rates = std::vector<CurrencyRate>;

// A body as the bank writes it, with the given entries inside the dated Cube.
std::string BankFile(std::string_view entries, std::string_view date = "2026-12-10") {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
             "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n"
             "\t<gesmes:subject>Reference rates</gesmes:subject>\n"
             "\t<gesmes:Sender>\n\t\t<gesmes:name>European Central Bank</gesmes:name>\n"
             "\t</gesmes:Sender>\n\t<Cube>\n\t\t<Cube time='") +
         std::string(date) + "'>\n" + std::string(entries) + "\t\t</Cube>\n\t</Cube>\n" +
         "</gesmes:Envelope>\n";
}

const std::string kThreeEntries =
    "\t\t\t<Cube currency='USD' rate='1.0492'/>\n"
    "\t\t\t<Cube currency='JPY' rate='161.12'/>\n"
    "\t\t\t<Cube currency='CNY' rate='7.6331'/>\n";
const Rates kThreeRates = {{"USD", 1.0492}, {"JPY", 161.12}, {"CNY", 7.6331}};

struct ParseCase {
  const char* name;
  std::string body;
  RatesProblem problem;
  Rates rates;  // when the problem is kNone
  std::string date = "2026-12-10";
};

void PrintTo(const ParseCase& c, std::ostream* out) {
  *out << c.name;
}

class ParseRatesTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseRatesTest, GivesTheRatesOrSaysWhatIsWrong) {
  const ParseCase& c = GetParam();
  const RatesParse parse = ParseRates(c.body);
  EXPECT_EQ(parse.problem, c.problem);
  ASSERT_EQ(parse.rates.has_value(), c.problem == RatesProblem::kNone);
  if (!parse.rates) return;
  EXPECT_EQ(parse.rates->date, c.date);
  EXPECT_EQ(parse.rates->rates, c.rates);
}

// clang-format off
const ParseCase kParseCases[] = {
  {"BankFile",              BankFile(kThreeEntries), RatesProblem::kNone, kThreeRates},
  {"DoubleQuotesAndBom",    "\xEF\xBB\xBF<Cube><Cube time=\"2024-02-29\"><Cube rate=\"2.5E1\" currency=\"GBP\"/></Cube></Cube>",
                            RatesProblem::kNone, {{"GBP", 25}}, "2024-02-29"},
  {"OnlyTheFirstDayCounts", BankFile(kThreeEntries) + "<Cube time='2026-12-09'><Cube currency='CHF' rate='0.93'/></Cube>",
                            RatesProblem::kNone, kThreeRates},
  {"CommentsAreSkipped",    BankFile("<!-- <Cube currency='XXX' rate='-1'/> -->\n<Cube currency='USD' rate='1.0492'/>"),
                            RatesProblem::kNone, {{"USD", 1.0492}}},
  {"Empty",                 "",                                         RatesProblem::kNotRatesFile, {}},
  {"HtmlErrorPage",         "<html><body>Service unavailable</body></html>", RatesProblem::kNotRatesFile, {}},
  {"PlainText",             "USD 1.0492",                               RatesProblem::kNotRatesFile, {}},
  {"NoEntries",             BankFile(""),                               RatesProblem::kNotRatesFile, {}},
  {"CutOffInTheDay",        BankFile(kThreeEntries).substr(0, BankFile(kThreeEntries).find("<Cube currency='JPY'")),
                            RatesProblem::kNotRatesFile, {}},
  {"NotADate",              BankFile(kThreeEntries, "2026-02-30"),      RatesProblem::kNotRatesFile, {}},
  {"TagNeverEnds",          "<Cube time='2026-12-10'><Cube currency='USD' rate='1.0'", RatesProblem::kNotRatesFile, {}},
  {"NegativeRate",          BankFile("<Cube currency='USD' rate='-1.0492'/>"), RatesProblem::kBadRate, {}},
  {"ZeroRate",              BankFile("<Cube currency='USD' rate='0'/>"),       RatesProblem::kBadRate, {}},
  {"InfiniteRate",          BankFile("<Cube currency='USD' rate='1e999'/>"),   RatesProblem::kBadRate, {}},
  {"NaNRate",               BankFile("<Cube currency='USD' rate='NaN'/>"),     RatesProblem::kBadRate, {}},
  {"WordRate",              BankFile("<Cube currency='USD' rate='one'/>"),     RatesProblem::kBadRate, {}},
  {"RateWithTrailingText",  BankFile("<Cube currency='USD' rate='1.05x'/>"),   RatesProblem::kBadRate, {}},
  {"MissingRate",           BankFile("<Cube currency='USD'/>"),                RatesProblem::kBadRate, {}},
  {"LowerCaseCode",         BankFile("<Cube currency='usd' rate='1.0492'/>"),  RatesProblem::kBadCode, {}},
  {"FourLetterCode",        BankFile("<Cube currency='USDT' rate='1.0'/>"),    RatesProblem::kBadCode, {}},
  {"MarkupInCode",          BankFile("<Cube currency='<b>' rate='1.0'/>"),     RatesProblem::kBadCode, {}},
  {"EuroAgainstItself",     BankFile("<Cube currency='EUR' rate='1'/>"),       RatesProblem::kBadCode, {}},
  {"RepeatedCode",          BankFile(kThreeEntries + "<Cube currency='USD' rate='2'/>"), RatesProblem::kBadCode, {}},
  {"OneBadEntrySpoilsAll",  BankFile(kThreeEntries + "<Cube currency='GBP' rate=''/>"),  RatesProblem::kBadRate, {}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Bodies, ParseRatesTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParseRatesTest, TooManyCurrenciesAreNoRatesFile) {
  std::string entries;
  for (char a = 'A'; a <= 'Z'; ++a) {
    for (char b = 'A'; b <= 'H'; ++b) {
      entries += std::string("<Cube currency='Q") + a + b + "' rate='1'/>";
    }
  }
  EXPECT_EQ(ParseRates(BankFile(entries)).problem, RatesProblem::kNotRatesFile);
}

// A loopback server that answers every request with `response`.
struct ServedCase {
  const char* name;
  std::string response;
  RatesProblem problem;
  int http_status;
};

void PrintTo(const ServedCase& c, std::ostream* out) {
  *out << c.name;
}

std::string Ok(std::string_view body) {
  return LoopbackServer::Response("200 OK", "Content-Type: text/xml\r\n", body);
}

class FetchRatesTest : public ::testing::TestWithParam<ServedCase> {};

TEST_P(FetchRatesTest, FetchesFromALoopbackServer) {
  const ServedCase& c = GetParam();
  LoopbackServer server([&c](LoopbackConnection& connection) {
    if (connection.ReadRequest()) connection.Send(c.response);
  });
  const RatesFetch fetch = FetchRates(server.Url("/stats/eurofxref-daily.xml"), 5s);
  EXPECT_EQ(fetch.problem, c.problem);
  EXPECT_EQ(fetch.http_status, c.http_status);
  EXPECT_EQ(fetch.rates.has_value(), c.problem == RatesProblem::kNone);
  if (fetch.rates) {
    EXPECT_EQ(fetch.rates->rates, kThreeRates);
  }
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_TRUE(server.Requests()[0].starts_with("GET /stats/eurofxref-daily.xml HTTP/1.1\r\n"));
}

// clang-format off
const ServedCase kServedCases[] = {
  {"GoodFile",        Ok(BankFile(kThreeEntries)),                                  RatesProblem::kNone,         200},
  {"NotThatXml",      Ok("<html><body>Maintenance</body></html>"),                  RatesProblem::kNotRatesFile, 200},
  {"BadRate",         Ok(BankFile("<Cube currency='USD' rate='-3'/>")),             RatesProblem::kBadRate,      200},
  {"BadCode",         Ok(BankFile("<Cube currency='us$' rate='1.1'/>")),            RatesProblem::kBadCode,      200},
  {"NotFound",        LoopbackServer::Response("404 Not Found", "", BankFile(kThreeEntries)), RatesProblem::kHttpStatus, 404},
  {"ServerError",     LoopbackServer::Response("503 Service Unavailable", "", "busy"), RatesProblem::kHttpStatus, 503},
  {"OverOneMebibyte", Ok(BankFile(kThreeEntries + std::string(kRatesBodyLimit, ' '))), RatesProblem::kTooLarge, 0},
  {"OverOneMebibyteWithoutLength",
                      "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + BankFile(kThreeEntries + std::string(kRatesBodyLimit, ' ')),
                                                                                    RatesProblem::kTooLarge,     0},
  {"ClosedWithoutAnswer", "",                                                       RatesProblem::kNoAnswer,     0},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Answers, FetchRatesTest, ::testing::ValuesIn(kServedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FetchRatesFailureTest, ASilentServerTimesOut) {
  LoopbackServer server([](LoopbackConnection& connection) {
    if (connection.ReadRequest()) connection.WaitForClose();
  });
  const auto start = std::chrono::steady_clock::now();
  const RatesFetch fetch = FetchRates(server.Url("/rates.xml"), 400ms);
  EXPECT_EQ(fetch.problem, RatesProblem::kTimedOut);
  EXPECT_FALSE(fetch.rates);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST(FetchRatesFailureTest, NoServerIsNoAnswer) {
  const RatesFetch fetch =
      FetchRates("http://127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort()) + "/r", 5s);
  EXPECT_EQ(fetch.problem, RatesProblem::kNoAnswer);
  EXPECT_FALSE(fetch.rates);
}

TEST(FetchRatesFailureTest, AnEmptyAddressFetchesNothing) {
  EXPECT_EQ(FetchRates("", 5s).problem, RatesProblem::kFetchingOff);
}

TEST(FetchRatesFailureTest, SecureAddressSpeaksTlsToItsPort) {
  // State: a plain TCP server on a loopback port.  Action: fetch an https:// address of that
  // port.  Expected: the client opens a TLS handshake there (a handshake record, 0x16 0x03),
  // not a plain HTTP request, and the failed handshake is no answer.
  std::string first_bytes;
  {
    LoopbackServer server(
        [&first_bytes](LoopbackConnection& connection) { first_bytes = connection.ReadBytes(2); });
    const std::string address = "https://127.0.0.1:" + std::to_string(server.port()) + "/r.xml";
    EXPECT_EQ(FetchRates(address, 5s).problem, RatesProblem::kNoAnswer);
  }
  ASSERT_GE(first_bytes.size(), 2u);
  EXPECT_EQ(first_bytes[0], '\x16');
  EXPECT_EQ(first_bytes[1], '\x03');
}

TEST(RatesAddressTest, TheEnvironmentOverridesTheBuiltInAddress) {
  const char* saved = std::getenv(kRatesUrlVariable);
  const std::string kept = saved != nullptr ? saved : "";
  setenv(kRatesUrlVariable, "http://127.0.0.1:9/rates.xml", 1);
  EXPECT_EQ(RatesAddress(), "http://127.0.0.1:9/rates.xml");
  setenv(kRatesUrlVariable, "", 1);
  EXPECT_EQ(RatesAddress(), "");
  unsetenv(kRatesUrlVariable);
  EXPECT_EQ(RatesAddress(), VELMORA_RATES_URL_BUILT);
  if (saved != nullptr) setenv(kRatesUrlVariable, kept.c_str(), 1);
}

}  // namespace
}  // namespace velmora
