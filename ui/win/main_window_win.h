// The main window of the Windows program: one top-level window built from
// the window description, with its four controls and its keyboard handling.
// A click of "编码" runs the job off the window's thread; the window keeps
// answering meanwhile, shows the job's progress, and after it how it went.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "ui/window_description.h"
#include "ui/window_jobs.h"

namespace tosilk::win {

// Shows the files in their folder, selected, in the system's file manager.
using ShowFiles = std::function<void(const std::vector<std::string>& files)>;

class MainWindow {
 public:
  // The window class name; tests find the window by it.
  static constexpr const wchar_t* kClassName = L"tosilk.MainWindow";
  // The identifier each control is created with, by which GetDlgItem finds it.
  static constexpr int DialogId(ControlId id) { return 100 + static_cast<int>(id); }

  // `job` runs the job for one source (on a thread of its own); `show_files`
  // is what a click on the result label does after a success.
  MainWindow(HINSTANCE instance, BackgroundJobs::Job job, ShowFiles show_files);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Builds the window hidden and centred, creates its controls, then shows it
  // normal and activated. Returns whether the window exists afterwards.
  bool Open();

  // The files the program was started with (dragged onto tosilk.exe, or
  // "打开方式"), or dropped on the window: see SortDroppedFiles.
  void TakeFiles(const std::vector<std::string>& files);

  // Lets the window's keyboard handling look at a message before it is
  // translated and dispatched: Tab and Shift+Tab move the focus, Esc closes
  // the window, Enter is swallowed. Returns true when it took the message.
  bool PreTranslate(const MSG& message);

  // Whether the window still exists.
  bool exists() const { return window_ != nullptr; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  bool OnCreate();
  void OnCommand(HWND sender, int notification);
  void OnActivate(WPARAM state, LPARAM other);
  void OnSetFocus();
  LRESULT OnControlColorStatic(HDC dc);
  bool OnSetCursor(HWND under);
  void OnContextMenu(HWND clicked, POINT at);
  void OnDropFiles(HDROP drop);
  void OnJobEvents();
  void OnClose();
  void OnDestroy();

  void OnClick();
  // Runs `event` on the window's thread; callable from the jobs' thread.
  void Post(std::function<void()> event);
  // Shows what the jobs have come to: 编码 and the edit box usable or not,
  // the label's text and tooltip.
  void OnJobsChanged();
  void CopyResult();
  HWND control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }

  HINSTANCE instance_;
  ShowFiles show_files_;
  HWND window_ = nullptr;
  std::array<HWND, kMainWindow.controls.size()> controls_{};
  HWND tooltip_ = nullptr;
  std::wstring tooltip_text_;  // the tooltip keeps a pointer to it
  // The control that had the focus when the window was last deactivated.
  HWND last_focus_ = nullptr;

  // Events from the jobs' thread, waiting to be run on the window's.
  std::mutex events_mutex_;
  std::deque<std::function<void()>> events_;
  // Last, so that it is destroyed first: its destructor stops the jobs, and
  // their thread must be gone before what it posts to.
  WindowJobs jobs_;
};

// Takes and handles the messages of this thread until the quit request, and
// returns its exit code; returns 0 at once when the window does not exist.
int RunMessageLoop(MainWindow& window);

// Shows `files` selected in their folder with the shell (Explorer).
void ShowFilesInExplorer(const std::vector<std::string>& files);

}  // namespace tosilk::win
