#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/program_state.h"
#include "app/startup.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "text/gb18030.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace velmora::testing {

// The real main window, started in-process from a temporary config.dat.
class MainWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    delete window_.data();
    SetSettingsPath({});
    SetTrayAvailableForTesting(std::nullopt);
    SetWindowOpacitySupportedForTesting(std::nullopt);
  }

  // Writes `config` (UTF-8 profile text) as the settings file, then starts the program up to the
  // shown, active main window.
  void Start(std::string_view config) {
    WriteConfig(config);
    Launch();
  }

  // Starts from a settings file holding exactly `bytes`.
  void StartWithFileBytes(std::string_view bytes) {
    WriteBytes(dir_ / "config.dat", bytes);
    SetSettingsPath(dir_ / "config.dat");
    Launch();
  }

  void Launch() {
    window_ = StartProgram(*state_);
    ASSERT_NE(window_, nullptr);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.data()));
  }

  void WriteConfig(std::string_view config) {
    WriteBytes(dir_ / "config.dat", Utf8ToGb18030(config));
    SetSettingsPath(dir_ / "config.dat");
  }

  // Quits as the user does: DestroyWindow, then the deferred deletion.
  void Quit() {
    DestroyWindow(window_.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window_.isNull());
  }

  std::string ConfigBytes() const { return ReadBytes(dir_ / "config.dat"); }

  Window* window() { return window_.data(); }
  ProgramState& program() { return *state_; }
  // The converter's state, which most tests look at.
  ConversionState& state() { return state_->conversion; }
  NoticeState& notices() { return state_->notices; }
  DragOffset& drag() { return state_->drag; }

  // A unit row's edit box, by row number.
  QLineEdit* Row(int row) {
    return qobject_cast<QLineEdit*>(FindControlByTag(window_.data(), row).object());
  }
  QString RowText(int row) {
    QLineEdit* edit = Row(row);
    return edit != nullptr ? edit->text() : QStringLiteral("<no row %1>").arg(row);
  }
  // Clicks into a row (giving it the focus, as the user does) and types Latin-1 keys.
  void TypeInto(int row, const char* keys) {
    QLineEdit* edit = Row(row);
    ASSERT_NE(edit, nullptr) << "row " << row;
    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_TRUE(edit->hasFocus()) << "row " << row;
    QTest::keyClicks(edit, keys);
  }
  void ClearRow(int row) {
    QLineEdit* edit = Row(row);
    ASSERT_NE(edit, nullptr) << "row " << row;
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
  }
  void ClickCategoryButton(int page) {
    auto* button =
        qobject_cast<QWidget*>(FindControl(window_.data(), "unit" + std::to_string(page)).object());
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // The unit-row edit boxes (copies) standing on category page `page`.
  QList<QLineEdit*> RowsOnPage(int page) {
    QWidget* pages = qobject_cast<QWidget*>(FindControl(window_.data(), "选择夹1").object());
    QWidget* on_page = pages->findChild<QWidget*>(QStringLiteral("选择夹1_page%1").arg(page));
    QList<QLineEdit*> rows;
    for (QLineEdit* edit : on_page->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
      if (edit->objectName().contains(u'#')) rows.append(edit);
    }
    return rows;
  }

 private:
  TempDir dir_;
  std::unique_ptr<ProgramState> state_ = std::make_unique<ProgramState>();
  QPointer<Window> window_;
};

}  // namespace velmora::testing
