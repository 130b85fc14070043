#include "ui/qt/start_up_qt.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QString>
#include <exception>

#include "common/fatal.h"
#include "common/paths.h"
#include "ui/click_routine.h"

namespace tosilk {

void ShowFatalInMessageBox(std::string_view message) {
  try {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"),
                    QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())),
                    QMessageBox::Ok);
    box.exec();
  } catch (...) {
    // The box needs memory, and the failure may be that there is none; the
    // message then reaches the user on standard error alone.
  }
  ShowFatalAndExit(message);
}

std::unique_ptr<qt::MainWindow> StartUp() {
  // First, so that even a failure while finding the program folder is shown.
  SetFatalHandler(&ShowFatalInMessageBox);
  // A relative source path is taken from the program folder. Should the
  // folder not be enterable, the inherited one stays, which changes only
  // where such a path leads; the tools and the result folder are found by
  // full paths either way.
  SetCurrentDirectoryTo(ProgramDirectory());
  // Lets Wayland desktops match the window to tosilk.desktop and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("tosilk"));

  std::unique_ptr<qt::MainWindow> window;
  try {
    window = std::make_unique<qt::MainWindow>(&RunClick);
    // Asking for the native window makes the platform create it now, so a
    // platform that cannot is caught here rather than on show.
    window->winId();
  } catch (const std::exception&) {
    window.reset();
  }
  if (window == nullptr || window->windowHandle() == nullptr) FatalFailure("加载主窗口失败");
  window->showNormal();
  window->activateWindow();
  return window;
}

}  // namespace tosilk
