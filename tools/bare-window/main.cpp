// The floor of any Qt Widgets program: one empty window of the main window's size. The start-up
// measurement runs it beside the program. With --text it also shows one line of Chinese text and
// an edit box in the machine's CJK font: the floor of any window that shows Chinese text.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare Qt Window"));
  window.resize(946, 493);
  if (QApplication::arguments().contains(QStringLiteral("--text"))) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(12);
    window.setFont(font);
    auto* label = new QLabel(QStringLiteral("长度：米(m)"), &window);
    label->setGeometry(20, 20, 200, 16);
    auto* edit = new QLineEdit(QStringLiteral("1"), &window);
    edit->setGeometry(20, 40, 200, 16);
  }
  window.show();
  return QApplication::exec();
}
