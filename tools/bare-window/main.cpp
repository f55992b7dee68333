// The floor of any Qt Widgets program: one empty window of the main window's size. The start-up
// measurement runs it beside the program.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare Qt Window"));
  window.resize(946, 493);
  window.show();
  return QApplication::exec();
}
