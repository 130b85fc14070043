// The main window of the Windows program: one top-level window built from
// the window description, with its four controls, its keyboard handling and
// the click routine of "编码".
#pragma once

#include <windows.h>

#include <array>

#include "ui/click_routine.h"
#include "ui/window_description.h"

namespace tosilk::win {

class MainWindow {
 public:
  // The window class name; tests find the window by it.
  static constexpr const wchar_t* kClassName = L"tosilk.MainWindow";
  // The identifier each control is created with, by which GetDlgItem finds it.
  static constexpr int DialogId(ControlId id) { return 100 + static_cast<int>(id); }

  // `click` turns the edit box's text into the result label's text.
  MainWindow(HINSTANCE instance, ClickRoutine click);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Builds the window hidden and centred, creates its controls, then shows it
  // normal and activated. Returns whether the window exists afterwards.
  bool Open();

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
  void OnDestroy();

  void OnClick();
  HWND control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }

  HINSTANCE instance_;
  ClickRoutine click_;
  HWND window_ = nullptr;
  std::array<HWND, kMainWindow.controls.size()> controls_{};
  // The control that had the focus when the window was last deactivated.
  HWND last_focus_ = nullptr;
};

// Takes and handles the messages of this thread until the quit request, and
// returns its exit code; returns 0 at once when the window does not exist.
int RunMessageLoop(MainWindow& window);

}  // namespace tosilk::win
