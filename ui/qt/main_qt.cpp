#include <QApplication>

#include "ui/qt/start_up_qt.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const std::unique_ptr<tosilk::qt::MainWindow> window = tosilk::StartUp();
  return app.exec();
}
