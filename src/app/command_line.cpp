#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "velmora/version.h"

namespace velmora {
namespace {

const QString kConfigOption = QStringLiteral("config");
const QString kSmokeTestOption = QStringLiteral("smoke-test");
const QString kWindowSmokeTestOption = QStringLiteral("smoke-test-windows");

void DescribeProgram() {
  QCoreApplication::setApplicationName(QStringLiteral("velmora"));
  QCoreApplication::setApplicationVersion(
      QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())));
}

void AddOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("Velmora converts a value typed in any unit into all units of its category."));
  // Qt's own help option would add --help-all, which lists window-system options that are
  // checked only later.
  parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                      QStringLiteral("Displays this help.")));
  parser.addVersionOption();
  parser.addOption(QCommandLineOption(
      kConfigOption,
      QStringLiteral("Keep the settings and unit lists in FILE instead of the usual config.dat. "
                     "A FILE that does not exist is created from the shipped settings."),
      QStringLiteral("FILE")));
  QCommandLineOption smoke_test(kSmokeTestOption, QStringLiteral("Start, show PAGE and quit."),
                                QStringLiteral("PAGE"), QStringLiteral("0"));
  smoke_test.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(smoke_test);
  QCommandLineOption window_smoke_test(kWindowSmokeTestOption,
                                       QStringLiteral("Convert, open every window, drag and quit."),
                                       QStringLiteral("SECONDS"));
  window_smoke_test.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(window_smoke_test);
}

[[noreturn]] void Fail(const QString& message) {
  std::fprintf(stderr, "velmora: %s\nTry 'velmora --help' for more information.\n",
               qPrintable(message));
  std::exit(EXIT_FAILURE);
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  DescribeProgram();
  QCommandLineParser parser;
  AddOptions(parser);
  if (!parser.parse(arguments)) Fail(parser.errorText());
  if (!parser.positionalArguments().isEmpty()) {
    Fail(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
  }
  CommandLine result;
  if (parser.isSet(kConfigOption)) {
    const QString file = parser.value(kConfigOption);
    if (file.isEmpty()) Fail(QStringLiteral("--config needs a file name"));
    result.config = std::filesystem::path(QFile::encodeName(file).toStdString());
  }
  if (parser.isSet(kSmokeTestOption)) {
    bool ok = false;
    result.smoke_test = true;
    result.smoke_test_page = parser.value(kSmokeTestOption).toInt(&ok);
    if (!ok || result.smoke_test_page < 0 || result.smoke_test_page > 32) {
      Fail(QStringLiteral("--smoke-test takes a page from 1 to 32, or 0"));
    }
  }
  if (parser.isSet(kWindowSmokeTestOption)) {
    bool ok = false;
    result.window_smoke_test = parser.value(kWindowSmokeTestOption).toInt(&ok);
    if (!ok || result.window_smoke_test < 0 || result.window_smoke_test > 600) {
      Fail(QStringLiteral("--smoke-test-windows takes a number of seconds from 0 to 600"));
    }
  }
  return result;
}

}  // namespace velmora
