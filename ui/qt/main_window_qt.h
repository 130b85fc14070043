// The main window of the Qt front end: the four controls of kMainWindow at
// their described places. A click of "编码" runs the job off the window's
// thread; the window keeps answering meanwhile, shows the job's progress,
// and after it how it went.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "ui/window_jobs.h"

class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QMoveEvent;
class QPushButton;
class QShowEvent;

namespace tosilk::qt {

// Shows the files in their folder, selected, in the desktop's file manager.
using ShowFiles = std::function<void(const std::vector<std::string>& files)>;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // `job` runs the job for one source (on a thread of its own); `show_files`
  // is what a click on the result label does after a success.
  MainWindow(BackgroundJobs::Job job, ShowFiles show_files);

  // Files the program was started with, or that were dropped on it: see
  // SortDroppedFiles.
  void TakeFiles(const std::vector<std::string>& files);

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Encode();
  // Runs `event` on the window's thread; callable from the jobs' thread.
  void Post(std::function<void()> event);
  // Shows what the jobs have come to: 编码 and the edit box usable or not,
  // the label's text, tooltip and pointer.
  void OnJobsChanged();
  void ShowLabelMenu(const QPoint& at);
  void FitToFrame();
  void FitOnceTheFrameIsKnown();

  ShowFiles show_files_;
  QLabel* result_label_ = nullptr;
  QLabel* path_label_ = nullptr;
  QPushButton* encode_button_ = nullptr;
  QLineEdit* path_edit_ = nullptr;
  // Whether the window has been sized for the frame the platform reports.
  bool fitted_to_frame_ = false;
  // Last, so that it is destroyed first: its destructor stops the jobs, and
  // their thread must be gone before what it posts to.
  WindowJobs jobs_;
};

// Shows `files` selected in the desktop's file manager (the
// org.freedesktop.FileManager1 service), or opens their folder where there
// is none.
void ShowFilesInFileManager(const std::vector<std::string>& files);

}  // namespace tosilk::qt
