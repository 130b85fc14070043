// minimal_qt [label]
//
// The smallest Qt Widgets program that shows a window: one empty QWidget.
// Its start-up time is what any Qt program pays before its own work, so
// scripts/bench compares tosilk's start-up with it.
//
// With "label" the window holds one QLabel too. The first widget with text
// makes Qt load its font database, which an empty window never needs; this
// variant shows how much of tosilk's extra start-up time is that alone.
#include <QApplication>
#include <QLabel>
#include <QString>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("label")) {
    new QLabel(QStringLiteral("tosilk"), &window);
  }
  window.show();
  return app.exec();
}
