#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "text/gb18030.h"
#include "toolkit/grid.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/conversion_state.h"
#include "ui/modal_window.h"
#include "ui/unit_manager.h"
#include "ui/unit_manager_design.h"

namespace velmora::testing {

// One message box as the user saw it.
struct Message {
  QString title;
  QString text;
  bool information_icon = false;
  friend bool operator==(const Message& a, const Message& b) {
    return a.title == b.title && a.text == b.text;
  }
  friend std::ostream& operator<<(std::ostream& os, const Message& m) {
    return os << "[" << m.title.toStdString() << "] " << m.text.toStdString();
  }
};

// Answers every message box that opens while it lives with its OK button and keeps what each
// one said, in order.
class MessageLog {
 public:
  MessageLog() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      // Questions are a QuestionLog's to answer.
      if (box == nullptr || !box->isVisible() || box->icon() == QMessageBox::Question) return;
      messages_.push_back(
          {box->windowTitle(), box->text(), box->icon() == QMessageBox::Information});
      EXPECT_EQ(box->buttons().size(), 1) << messages_.back();
      box->button(QMessageBox::Ok)->click();
    });
    timer_.start();
  }

  // The messages shown since the last call.
  std::vector<Message> Take() { return std::exchange(messages_, {}); }

 private:
  QTimer timer_;
  std::vector<Message> messages_;
};

// Answers every question box that opens while it lives with the button captioned `answer`
// (set before the question comes) and keeps what each one asked and offered.
class QuestionLog {
 public:
  struct Question {
    QString title;
    QString text;
    QStringList buttons;
  };

  QuestionLog() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible() || box->icon() != QMessageBox::Question) return;
      Question asked{box->windowTitle(), box->text(), {}};
      QAbstractButton* chosen = nullptr;
      for (QAbstractButton* button : box->buttons()) {
        asked.buttons << button->text();
        if (button->text() == answer) chosen = button;
      }
      questions_.push_back(asked);
      EXPECT_NE(chosen, nullptr) << "no button " << answer.toStdString();
      if (chosen != nullptr) {
        chosen->click();
      } else {
        box->reject();
      }
    });
    timer_.start();
  }

  std::vector<Question> Take() { return std::exchange(questions_, {}); }

  QString answer;

 private:
  QTimer timer_;
  std::vector<Question> questions_;
};

// Acting on the unit manager's widgets as the user does.
inline QWidget* Widget(Window* window, std::string_view name) {
  return qobject_cast<QWidget*>(FindControl(window, name).object());
}
inline void Click(Window* window, std::string_view name) {
  QWidget* widget = Widget(window, name);
  ASSERT_NE(widget, nullptr) << name;
  QTest::mouseClick(widget, Qt::LeftButton);
}
inline QTableWidget* Table(Window* window) {
  return qobject_cast<QTableWidget*>(Widget(window, kUnitGrid));
}
inline Control Grid(Window* window) {
  return FindControl(window, kUnitGrid);
}

// The unit rows as the grid shows them: number, name and factor of each.
inline std::vector<std::vector<std::string>> GridRows(Window* window) {
  std::vector<std::vector<std::string>> rows;
  const Control grid = Grid(window);
  for (int row = 1; row < GridRowCount(grid); ++row) {
    rows.push_back({GridCell(grid, row, 0).toStdString(), GridCell(grid, row, 1).toStdString(),
                    GridCell(grid, row, 2).toStdString()});
  }
  return rows;
}

// Clicks a cell of a unit row (1 upward) as the user does.
inline void ClickCell(Window* window, int row, int column) {
  QTableWidget* table = Table(window);
  QTableWidgetItem* item = table->item(row - 1, column);
  ASSERT_NE(item, nullptr) << "row " << row;
  table->scrollToItem(item);
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(item).center());
}

// Types text into the focused widget, Chinese characters included.
inline void TypeText(const QString& text) {
  for (const QChar c : text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

// Enter in a cell editor commits its text once the events of the moment have run.
inline void CommitWithEnter(QWidget* editor) {
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
}

// Opens the cell with F2, replaces its text and commits it with Enter.
inline void EditCell(Window* window, int row, int column, const QString& text) {
  // A message box that closed just now may have left the window inactive, without a focus.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  ClickCell(window, row, column);
  QTest::keyClick(Table(window), Qt::Key_F2);
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr) << "no cell editor";
  editor->selectAll();
  QTest::keyClick(editor, Qt::Key_Delete);
  TypeText(text);
  CommitWithEnter(editor);
}

// The unit manager opened modally on a temporary config.dat; tests act inside `WithManager`.
class UnitManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSettingsPath(Path()); }
  void TearDown() override { SetSettingsPath({}); }

  std::filesystem::path Path() const { return dir_ / "config.dat"; }
  void WriteConfig(std::string_view utf8) { WriteBytes(Path(), Utf8ToGb18030(utf8)); }
  std::string ConfigBytes() const { return ReadBytes(Path()); }

  // Opens the manager as its menu item does and runs `body` on it; returns once it is closed.
  void WithManager(const std::function<void(Window*)>& body) {
    WhileModal([&](Window* window) {
      window->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(window));
      body(window);
    });
    LoadWindow(UnitManagerWindowDesign(), UnitManagerWindowHandlers(state_, nullptr), nullptr,
               true);
  }

  ConversionState state_;
  TempDir dir_;
  MessageLog messages_;
  QuestionLog questions_;
};

}  // namespace velmora::testing
