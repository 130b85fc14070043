#include "ui/qt/start_up_qt.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QString>
#include <exception>

#include "common/fatal.h"
#include "common/paths.h"
#include "job/encode_job.h"
#include "job/job_files.h"
#include "texts/fatal_texts.h"

namespace tosilk {
namespace {

// The write end of the pipe that turns a signal into an event of the loop.
int g_signal_pipe = -1;

void OnEndingSignal(int) {
  const char byte = 1;
  const ssize_t ignored = write(g_signal_pipe, &byte, 1);
  (void)ignored;
}

// SIGTERM (the session ending, or `kill`), SIGHUP (the terminal gone) and
// SIGINT (Ctrl+C) close the window as its close box does, so that a running
// job is stopped and its files removed rather than left behind. The handler
// only writes to a pipe; the loop reads it and does the rest.
void CloseOnEndingSignals(QWidget* window) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  g_signal_pipe = fds[1];
  auto* notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [window, fd = fds[0]] {
    char drained[16];
    while (read(fd, drained, sizeof drained) > 0) {
    }
    window->close();
  });
  struct sigaction action{};
  action.sa_handler = &OnEndingSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal_number : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal_number, &action, nullptr);
}

}  // namespace

void ShowFatalInMessageBox(std::string_view message) {
  try {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(texts::kFatalTitle),
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

  const JobSetting setting = ProgramJobSetting();
  RemoveAbandonedJobFiles(setting);
  std::unique_ptr<qt::MainWindow> window;
  try {
    window = std::make_unique<qt::MainWindow>(
        [setting](std::string_view source, JobSetting::Naming naming, const JobHooks& hooks) {
          JobSetting named = setting;
          named.naming = naming;
          return RunEncodingJob(source, named, hooks);
        },
        &qt::ShowFilesInFileManager);
    // Asking for the native window makes the platform create it now, so a
    // platform that cannot is caught here rather than on show.
    window->winId();
  } catch (const std::exception&) {
    window.reset();
  }
  if (window == nullptr || window->windowHandle() == nullptr) {
    FatalFailure(texts::kMainWindowFailed);
  }
  CloseOnEndingSignals(window.get());
  // The files it was started with: `tosilk FILE`, or the desktop entry's %f.
  std::vector<std::string> files;
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) files.push_back(arguments[i].toStdString());
  window->TakeFiles(files);
  window->showNormal();
  window->activateWindow();
  return window;
}

}  // namespace tosilk
