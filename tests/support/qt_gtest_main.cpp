#include <gtest/gtest.h>

#include <QApplication>
#include <QThreadPool>

#include "net/http_client.h"

// One-time allocations of system libraries that live until the process ends; read by
// LeakSanitizer in the sanitizer build, unused otherwise.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libdbus\nleak:libglib\n";
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // No test fetches exchange rates from the built-in address on the internet: set but empty,
  // the address turns fetching off. Tests that fetch point it at a loopback server.
  qputenv("VELMORA_RATES_URL", QByteArray());
  // QApplication applies the locale of the environment (LC_ALL) to the C library, as it does in
  // the program; the tests run under a comma-decimal locale to catch locale-dependent code.
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  // Qt converts large pictures on its global thread pool. Its idle threads are joined here, so
  // that none is still ending while LeakSanitizer inspects the process at exit.
  QThreadPool::globalInstance()->waitForDone();
  // A test that quits during a fetch leaves its worker running; the process then ends as the
  // program does in that case.
  if (velmora::TransfersInProgress() > 0) velmora::EndWithTransfersRunning(result);
  return result;
}
