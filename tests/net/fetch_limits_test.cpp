#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>

#include "loopback_server.h"
#include "net/http_client.h"

namespace velmora {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::LoopbackConnection;
using testing::LoopbackServer;

std::chrono::milliseconds Since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

TEST(FetchFailureTest, NoServerListeningGivesEmptyBytesAtOnce) {
  FetchOptions options;
  options.timeout = 20s;
  std::string headers = "stale";
  options.response_headers = &headers;
  const auto start = Clock::now();
  EXPECT_EQ(
      FetchUrl("http://127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort()) + "/x", options),
      "");
  EXPECT_LT(Since(start), 5s);
  EXPECT_EQ(headers, "");
}

struct StallingServer {
  const char* name;
  std::function<void(LoopbackConnection&)> handler;
};

void PrintTo(const StallingServer& c, std::ostream* out) {
  *out << c.name;
}

class TimeOutTest : public ::testing::TestWithParam<StallingServer> {};

// Whatever the server does, the caller gets empty bytes at its time-out, and the worker it left
// behind closes the connection soon after instead of reading on.
TEST_P(TimeOutTest, CallerGetsEmptyBytesAtTheTimeOutAndTheWorkerStops) {
  LoopbackServer server(GetParam().handler);
  constexpr auto kTimeout = 500ms;
  FetchOptions options;
  options.timeout = kTimeout;
  std::string headers = "stale";
  options.response_headers = &headers;

  const auto start = Clock::now();
  EXPECT_EQ(FetchUrl(server.Url("/slow"), options), "");
  const auto returned = Clock::now();
  EXPECT_GE(returned - start, kTimeout - 20ms);
  EXPECT_LT(returned - start, kTimeout + 1500ms);
  EXPECT_EQ(headers, "");

  const auto closes = server.WaitForPeerCloses(1, 5s);
  ASSERT_EQ(closes.size(), 1u) << "the abandoned worker kept its connection open";
  EXPECT_LT(closes[0] - returned, 1500ms);
}

// clang-format off
const StallingServer kStallingServers[] = {
  {"Silent", [](LoopbackConnection& c) {
     if (c.ReadRequest()) c.WaitForClose();
   }},
  {"TricklingBody", [](LoopbackConnection& c) {
     if (!c.ReadRequest() || !c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n")) return;
     while (c.Send("x") && c.Pause(20ms)) {}
   }},
  {"TricklingHeaders", [](LoopbackConnection& c) {
     if (!c.ReadRequest() || !c.Send("HTTP/1.1 200 OK\r\n")) return;
     while (c.Send("X-More: 1\r\n") && c.Pause(20ms)) {}
   }},
  {"AnswerAfterTheTimeOut", [](LoopbackConnection& c) {
     if (c.ReadRequest() && c.Pause(1500ms)) c.Send(LoopbackServer::Response("200 OK", "", "late"));
   }},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Servers, TimeOutTest, ::testing::ValuesIn(kStallingServers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FetchFailureTest, EndlessHeadersEndTheTransferBeforeTheTimeOut) {
  LoopbackServer server([](LoopbackConnection& c) {
    if (!c.ReadRequest() || !c.Send("HTTP/1.1 200 OK\r\n")) return;
    const std::string lines(64, 'h');
    while (c.Send("X-More: " + lines + "\r\n")) {
    }
  });
  FetchOptions options;
  options.timeout = 20s;
  const auto start = Clock::now();
  EXPECT_EQ(FetchUrl(server.Url("/"), options), "");
  EXPECT_LT(Since(start), 5s);
}

struct CapCase {
  const char* name;
  std::size_t body_size;
  // How the body's end is marked: by its length, by chunks, or by closing the connection
  // (with "endless", never).
  const char* framing;
  bool accepted;
};

void PrintTo(const CapCase& c, std::ostream* out) {
  *out << c.name;
}

class BodyCapTest : public ::testing::TestWithParam<CapCase> {};

TEST_P(BodyCapTest, BodyOverTheCapIsAFailure) {
  const CapCase& c = GetParam();
  const std::string framing = c.framing;
  const std::string body(c.body_size, 'b');
  LoopbackServer server([&](LoopbackConnection& connection) {
    if (!connection.ReadRequest()) return;
    if (framing == "length") {
      connection.Send(LoopbackServer::Response("200 OK", "", body));
    } else if (framing == "chunks") {
      connection.Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
      for (std::size_t sent = 0; sent < body.size(); sent += 100) {
        const std::size_t size = std::min<std::size_t>(100, body.size() - sent);
        if (!connection.Send("64\r\n" + body.substr(sent, size) + "\r\n")) return;
      }
      connection.Send("0\r\n\r\n");
    } else if (framing == "close") {
      connection.Send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + body);
    } else {
      connection.Send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
      const std::string piece(4096, 'e');
      while (connection.Send(piece)) {
      }
    }
  });
  FetchOptions options;
  options.max_body_bytes = 1000;
  options.timeout = 20s;
  std::string headers;
  options.response_headers = &headers;
  const auto start = Clock::now();
  const std::string result = FetchUrl(server.Url("/"), options);
  EXPECT_LT(Since(start), 5s);
  if (c.accepted) {
    EXPECT_EQ(result, body);
    EXPECT_NE(headers, "");
  } else {
    EXPECT_EQ(result, "");
    EXPECT_EQ(headers, "");
  }
}

// clang-format off
const CapCase kCapCases[] = {
  {"LengthAtCap",       1000,  "length", true},
  {"LengthOverCap",     1001,  "length", false},
  {"ChunksAtCap",       1000,  "chunks", true},
  {"ChunksOverCap",     1100,  "chunks", false},
  {"CloseAtCap",        1000,  "close",  true},
  {"CloseOverCap",      5000,  "close",  false},
  {"Endless",           0,     "endless", false},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Bodies, BodyCapTest, ::testing::ValuesIn(kCapCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A caller on the Qt event loop: its timer keeps firing while it waits for the fetch.
class EventLoopCallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      ++ticks_;
      // A timer that ran for ever would keep a wait that restarts on every event waiting for
      // ever; stopping it lets such a wait end so that the elapsed time shows the fault.
      if (ticks_ == 150) timer_.stop();
    });
    timer_.start();
    options_.process_events = [] { QCoreApplication::processEvents(); };
  }

  QTimer timer_;
  int ticks_ = 0;
  FetchOptions options_;
};

TEST_F(EventLoopCallerTest, StaysResponsiveWhileTheServerIsSilent) {
  LoopbackServer server([](LoopbackConnection& c) {
    if (c.ReadRequest()) c.WaitForClose();
  });
  options_.timeout = 600ms;
  const auto start = Clock::now();
  EXPECT_EQ(FetchUrl(server.Url("/"), options_), "");
  // The time-out counts from the start of the wait, however many events arrived meanwhile.
  EXPECT_LT(Since(start), 2s);
  EXPECT_GE(ticks_, 10);
}

TEST_F(EventLoopCallerTest, StaysResponsiveAndGetsTheBodyOfASlowServer) {
  LoopbackServer server([](LoopbackConnection& c) {
    if (c.ReadRequest() && c.Pause(300ms)) c.Send(LoopbackServer::Response("200 OK", "", "slow"));
  });
  options_.timeout = 10s;
  const auto start = Clock::now();
  EXPECT_EQ(FetchUrl(server.Url("/"), options_), "slow");
  EXPECT_LT(Since(start), 5s);
  EXPECT_GE(ticks_, 5);
}

TEST_F(EventLoopCallerTest, ExceptionFromTheEventHookReachesTheCallerAndStopsTheWorker) {
  LoopbackServer server([](LoopbackConnection& c) {
    if (c.ReadRequest()) c.WaitForClose();
  });
  options_.timeout = 20s;
  // The hook fails once the transfer is under way (the request has arrived): before that, the
  // worker may still be loading libcurl, and would stop without ever connecting.
  bool thrown = false;
  options_.process_events = [&server, &thrown] {
    if (!thrown && !server.Requests().empty()) {
      thrown = true;
      throw std::runtime_error("event handler failed");
    }
  };
  const auto start = Clock::now();
  EXPECT_THROW(FetchUrl(server.Url("/"), options_), std::runtime_error);
  EXPECT_LT(Since(start), 5s);
  // The worker left behind stops its transfer soon.
  EXPECT_EQ(server.WaitForPeerCloses(1, 5s).size(), 1u);
}

// Time-outs too long to add to the clock (up to milliseconds::max()) wait as long as needed.
TEST(FetchTimeOutTest, VeryLongTimeOutWaitsForTheAnswer) {
  LoopbackServer server([](LoopbackConnection& c) {
    if (c.ReadRequest() && c.Pause(300ms)) c.Send(LoopbackServer::Response("200 OK", "", "late"));
  });
  for (const std::chrono::milliseconds timeout :
       {std::chrono::milliseconds::max(),
        std::chrono::milliseconds(std::chrono::hours(24 * 365 * 300)),
        std::chrono::milliseconds(std::chrono::hours(24 * 400))}) {
    SCOPED_TRACE(timeout.count());
    FetchOptions options;
    options.timeout = timeout;
    EXPECT_EQ(FetchUrl(server.Url("/"), options), "late");
    options.process_events = [] {};
    EXPECT_EQ(FetchUrl(server.Url("/"), options), "late");
  }
}

}  // namespace
}  // namespace velmora
