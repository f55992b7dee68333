#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QProcess>
#include <QTest>
#include <atomic>
#include <chrono>
#include <functional>
#include <iostream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/notices.h"
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
using Texts = std::vector<std::string>;

constexpr const char* kConfig = "[通用设置]\n跨度=300\n上下间隔=24\n每列个数=15\n";
const QString kMessageDesignText = QStringLiteral("点击此处下载更多软件");
const QString kAdvertDesignText = QStringLiteral("热门小游戏！");

std::string MessageFile(std::string_view payload) {
  return std::string(kMessageNotice.marker) + "\r\n" + Utf8ToGb18030(payload);
}
std::string AdvertFile(std::string_view payload) {
  return std::string(kAdvertNotice.marker) + "\r\n" + Utf8ToGb18030(payload);
}
std::string Ok(std::string_view body) {
  return LoopbackServer::Response("200 OK", "", body);
}

// Serves the message and advert files by their paths, then waits for the program to close the
// connection, which marks its fetch as done.
LoopbackServer::Handler NoticeFiles(std::string message_response, std::string advert_response) {
  return [message_response, advert_response](LoopbackConnection& c) {
    const std::optional<std::string> request = c.ReadRequest();
    if (!request) return;
    if (request->starts_with("GET /regsoft/msg.txt ")) {
      c.Send(message_response);
    } else if (request->starts_with("GET /regsoft/ad.txt ")) {
      c.Send(advert_response);
    } else {
      c.Send(LoopbackServer::Response("404 Not Found", "", ""));
    }
    c.WaitForClose();
  };
}

class NoticeTest : public testing::MainWindowTest {
 protected:
  void TearDown() override {
    MainWindowTest::TearDown();
    qunsetenv(kNoticeServerVariable);
  }
  void UseServer(const std::string& server) {
    qputenv(kNoticeServerVariable, QByteArray::fromStdString(server));
  }
  void UseServer(const LoopbackServer& server) {
    UseServer("127.0.0.1:" + std::to_string(server.port()));
  }

  QString LabelText(const char* name) { return Text(FindControl(window(), name)); }
  int TimerOf(const char* name) { return TimerInterval(FindControl(window(), name)); }
};

TEST_F(NoticeTest, ValidFilesFillTheListsAndStartTheRotations) {
  // State: a server with a three-text message file and a one-text advert file.
  // Action: start the program.  Expected: both labels show their first text, then rotate.
  LoopbackServer server(NoticeFiles(Ok(MessageFile("A|B|C")), Ok(AdvertFile("新游戏上线"))));
  UseServer(server);
  Start(kConfig);
  ASSERT_TRUE(QTest::qWaitFor([this] { return LabelText(kMessageLabel) == "A"; }, 10000))
      << LabelText(kMessageLabel).toStdString();
  ASSERT_TRUE(QTest::qWaitFor([this] { return LabelText(kAdvertLabel) == "新游戏上线"; }, 10000))
      << LabelText(kAdvertLabel).toStdString();
  EXPECT_EQ(notices().MessageTexts, (Texts{"A", "B", "C"}));
  EXPECT_EQ(notices().AdvertTexts, Texts{"新游戏上线"});
  // The first tick came 1 ms after the fetch; later ones every 3 seconds.
  EXPECT_EQ(TimerOf(kMessageTimer), kNoticeInterval);
  EXPECT_EQ(TimerOf(kAdvertTimer), kNoticeInterval);
  ShowNextMessage(notices(), window());
  EXPECT_EQ(LabelText(kMessageLabel), QStringLiteral("B"));
  ShowNextMessage(notices(), window());
  EXPECT_EQ(LabelText(kMessageLabel), QStringLiteral("C"));
  // The label shows the text as it stands, never as markup.
  EXPECT_EQ(qobject_cast<QLabel*>(FindControl(window(), kMessageLabel).object())->textFormat(),
            Qt::PlainText);
}

struct BadServer {
  const char* name;
  std::string message_response;
  std::string advert_response;
};

void PrintTo(const BadServer& c, std::ostream* out) {
  *out << c.name;
}

class BadNoticeTest : public NoticeTest, public ::testing::WithParamInterface<BadServer> {};

TEST_P(BadNoticeTest, LabelsKeepTheirDesignTexts) {
  // State: a server whose files are no valid notices.  Action: start and let both fetches end.
  // Expected: the design texts stay, the display timers stay stopped.
  LoopbackServer server(NoticeFiles(GetParam().message_response, GetParam().advert_response));
  UseServer(server);
  Start(kConfig);
  ASSERT_EQ(server.WaitForPeerCloses(2, 20s).size(), 2u);
  QTest::qWait(300);
  EXPECT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(LabelText(kMessageLabel), kMessageDesignText);
  EXPECT_EQ(LabelText(kAdvertLabel), kAdvertDesignText);
  EXPECT_EQ(TimerOf(kMessageTimer), 0);
  EXPECT_EQ(TimerOf(kAdvertTimer), 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, BadNoticeTest, ::testing::Values(
    BadServer{"OtherText", Ok("Welcome|to|our|site"), Ok("<html>hot games</html>")},
    BadServer{"EmptyBodies", Ok(""), Ok("")},
    BadServer{"ErrorPages", LoopbackServer::Response("404 Not Found", "", "<h1>Not Found</h1>"),
              LoopbackServer::Response("500 Internal Server Error", "", "")},
    BadServer{"EachFileAtTheOthersAddress", Ok(AdvertFile("A|B")), Ok(MessageFile("A|B"))}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(NoticeTest, RefusedConnectionKeepsTheDesignTexts) {
  UseServer("127.0.0.1:" + std::to_string(testing::UnusedLoopbackPort()));
  Start(kConfig);
  QTest::qWait(1000);
  EXPECT_EQ(LabelText(kMessageLabel), kMessageDesignText);
  EXPECT_EQ(LabelText(kAdvertLabel), kAdvertDesignText);
  EXPECT_EQ(TimerOf(kMessageTimer), 0);
  EXPECT_EQ(TimerOf(kAdvertTimer), 0);
}

TEST_F(NoticeTest, NoServerMeansNoFetch) {
  // This build names no notice server, and an empty variable turns a built-in one off.
  EXPECT_EQ(NoticeServer(), "");
  for (const char* server : {"", "127.0.0.1/evil", "127.0.0.1:0"}) {
    UseServer(server);
    Start(kConfig);
    EXPECT_FALSE(StartNoticeFetch(notices(), window(), NoticeKind::kMessage)) << server;
    EXPECT_FALSE(StartNoticeFetch(notices(), window(), NoticeKind::kAdvert)) << server;
    Quit();
  }
}

TEST_F(NoticeTest, AnswerArrivingAfterQuitReachesNothing) {
  // State: both fetches wait for a server that holds its answers back.
  // Action: quit, then let the server answer with valid files.
  // Expected: the late notices are dropped; nothing touches the deleted window.
  std::atomic<bool> release{false};
  LoopbackServer server([&release](LoopbackConnection& c) {
    const std::optional<std::string> request = c.ReadRequest();
    if (!request) return;
    while (!release.load() && c.Pause(10ms)) {
    }
    c.Send(Ok(request->starts_with("GET /regsoft/msg.txt ") ? MessageFile("late|message")
                                                            : AdvertFile("late|advert")));
    c.WaitForClose();
  });
  UseServer(server);
  Start(kConfig);
  ASSERT_TRUE(QTest::qWaitFor([&server] { return server.Requests().size() == 2; }, 10000));
  Quit();
  release = true;
  ASSERT_EQ(server.WaitForPeerCloses(2, 20s).size(), 2u);
  QTest::qWait(300);
  EXPECT_TRUE(notices().MessageTexts.empty());
  EXPECT_TRUE(notices().AdvertTexts.empty());
}

// Runs the program in a process of its own and quits it by its close button; the time from the
// quit to the process's end. `while_up` gets the process id once the program is up and the
// answering server has both requests.
std::chrono::milliseconds QuitProgram(const std::string& server, LoopbackServer* answering,
                                      const std::function<void(qint64)>& while_up = {}) {
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert(kNoticeServerVariable, QString::fromStdString(server));
  program.setProcessEnvironment(env);
  program.start(QStringLiteral(VELMORA_EXIT_PROBE), {});
  EXPECT_TRUE(program.waitForStarted(10000));
  EXPECT_TRUE(program.waitForReadyRead(20000)) << "the program did not come up";
  if (answering != nullptr) {
    EXPECT_TRUE(QTest::qWaitFor([answering] { return answering->Requests().size() == 2; }, 10000));
  }
  if (while_up) while_up(program.processId());
  const auto quit = std::chrono::steady_clock::now();
  program.write("quit\n");
  const bool ended = program.waitForFinished(20000);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - quit);
  EXPECT_TRUE(ended) << "the program did not end after its quit";
  if (!ended) program.kill();
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  return took;
}

TEST(NoticeQuitTest, QuittingWhileTheServerNeverAnswersEndsTheProcessAtOnce) {
  // State: the program waits for a notice server that reads the requests and never answers.
  // Action: quit by the close button.  Expected: the process ends normally, no later than it
  // ends with no server at all (its fetches are not waited for).
  LoopbackServer silent([](LoopbackConnection& c) {
    if (c.ReadRequest()) c.WaitForClose(60s);
  });
  const auto with_server = QuitProgram("127.0.0.1:" + std::to_string(silent.port()), &silent);
  const auto without_server = QuitProgram("", nullptr);
  std::cout << "quit took " << with_server.count() << " ms waiting for a server, "
            << without_server.count() << " ms without one\n";
  EXPECT_LT(with_server, 10s);
}

TEST(NoticeQuitTest, LibcurlIsLoadedOnlyForAFetch) {
  // Without a notice server the program makes no request and never maps libcurl (nor what it
  // pulls in); a fetch loads it.
  QuitProgram("", nullptr, [](qint64 pid) {
    QTest::qWait(300);
    EXPECT_FALSE(testing::MapsLibrary(std::to_string(pid), "libcurl"));
  });
  LoopbackServer server(NoticeFiles(Ok(MessageFile("A")), Ok(AdvertFile("B"))));
  QuitProgram("127.0.0.1:" + std::to_string(server.port()), &server, [](qint64 pid) {
    EXPECT_TRUE(testing::MapsLibrary(std::to_string(pid), "libcurl"));
  });
}

}  // namespace
}  // namespace velmora
