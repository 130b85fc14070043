// Drives the real tosilk.exe from outside, as a user would: starts it from a
// program folder, finds its window and controls, and gives it real key and
// mouse input. Shared by the tests of the window and of the release archive.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/command_line.h"
#include "common/paths.h"
#include "common/text.h"
#include "common/unique_handle_win.h"
#include "common/wide_win.h"
#include "testing/fs_util.h"
#include "testing/processes.h"
#include "testing/standins.h"
#include "texts/texts.h"
#include "ui/win/main_window_win.h"
#include "ui/window_description.h"

namespace tosilk {

using testing::WaitUntil;

inline std::string TextOf(HWND window) {
  wchar_t text[2048] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 10000, &copied);
  return Narrow(std::wstring_view(text, copied));
}

inline std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, std::size(name));
  return name;
}

// The rectangle of `child` in its parent's client coordinates.
inline RECT RectInParent(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

inline void Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

// Presses `key` while holding `modifier` (0 for none), as real key input.
inline void Press(WORD key, WORD modifier = 0) {
  if (modifier != 0) Key(modifier, false);
  Key(key, false);
  Key(key, true);
  if (modifier != 0) Key(modifier, true);
}

// tosilk.exe running from a program folder that holds the tools, with a
// source recording "录音 a.mp3" put there.
class RunningProgram {
 public:
  // A fresh folder named with `folder_label`, with the build's tosilk.exe
  // and the stand-ins.
  explicit RunningProgram(std::string_view folder_label = "程序") {
    own_folder_.emplace(folder_label);
    std::filesystem::copy_file(testing::Utf8Path(ProgramDirectory()) / ".." / "tosilk.exe",
                               own_folder_->path() / "tosilk.exe");
    testing::CopyStandins(own_folder_->path());
    Start(own_folder_->path());
  }

  // The program folder `folder`, made ready by the caller, and the words
  // the program is started with after its own name.
  struct ReadyFolder {
    std::filesystem::path path;
    std::vector<std::string> arguments = {};
  };
  explicit RunningProgram(const ReadyFolder& folder) { Start(folder.path, folder.arguments); }

  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  ~RunningProgram() {
    if (process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.get(), 1);
      WaitForSingleObject(process_.get(), 10000);
    }
  }

  HWND window() const { return window_; }
  HWND control(ControlId id) const {
    return GetDlgItem(window_, win::MainWindow::DialogId(id));
  }
  std::string Inside(std::string_view name) const {
    return Join({testing::PathText(folder_), "\\", name});
  }
  const std::string& source() const { return source_; }
  const std::filesystem::path& folder() const { return folder_; }

  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(thread_id_, &info);
    return info.hwndFocus;
  }
  bool FocusBecomes(HWND expected) const {
    return WaitUntil([&] { return Focus() == expected; });
  }

  // Makes the window the foreground one, so that real input reaches it.
  void Activate() const {
    SetForegroundWindow(window_);
    WaitUntil([&] { return GetForegroundWindow() == window_; });
  }

  void Type(std::string_view text) const {
    SendMessageW(control(ControlId::kPathEdit), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Widen(text).c_str()));
  }

  // A real left click in the middle of `target`. Wine now and then drops a
  // click made right after other real input went to a program that has
  // ended; a click that visibly did not land (a control without the focus
  // did not get it) is made again.
  void Click(HWND target) const {
    if (Focus() == target) return ClickOnce(target);
    for (int attempt = 0; attempt < 3; ++attempt) {
      ClickOnce(target);
      if (WaitUntil([&] { return Focus() == target; }, std::chrono::seconds(2))) return;
    }
    ADD_FAILURE() << "no click reached the control";
  }

  void ClickOnce(HWND target) const {
    Activate();
    RECT rect;
    GetWindowRect(target, &rect);
    // The move travels in the same input stream as the button, so the press
    // lands where the pointer went; absolute positions run from 0 to 65535.
    const LONG x = ((rect.left + rect.right) / 2 * 65535 + 65534 / 2) /
                   (GetSystemMetrics(SM_CXSCREEN) - 1);
    const LONG y = ((rect.top + rect.bottom) / 2 * 65535 + 65534 / 2) /
                   (GetSystemMetrics(SM_CYSCREEN) - 1);
    INPUT input[3] = {};
    const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
      input[i].type = INPUT_MOUSE;
      input[i].mi.dx = x;
      input[i].mi.dy = y;
      input[i].mi.dwFlags = flags[i] | MOUSEEVENTF_ABSOLUTE;
    }
    SendInput(3, input, sizeof input[0]);
  }

  std::string Label() const { return TextOf(control(ControlId::kResultLabel)); }

  // Whether the label shows a job's outcome, and "编码" can be clicked again.
  bool JobEnded() const {
    const std::string shown = Label();
    return (shown.starts_with(texts::kDonePrefix) || shown.starts_with(texts::kFailedPrefix)) &&
           IsWindowEnabled(control(ControlId::kEncodeButton));
  }

  // Clicks "编码", which starts a job, and waits until the job has ended.
  std::string ClickEncode(std::chrono::milliseconds limit = std::chrono::seconds(20)) const {
    StartJob();
    WaitUntil([&] { return JobEnded(); }, limit);
    return Label();
  }

  // Clicks "编码" and waits until the job has started: the label no longer
  // shows what it showed. (The focus tells nothing here: a job disables the
  // button.)
  void StartJob() const {
    const std::string before = Label();
    HWND button = control(ControlId::kEncodeButton);
    for (int attempt = 0; attempt < 3; ++attempt) {
      ClickOnce(button);
      if (WaitUntil([&] { return Label() != before; }, std::chrono::seconds(2))) return;
    }
    ADD_FAILURE() << "no click started a job";
  }

  // Whether the window answers the system within 200 ms, as Windows asks
  // before it calls a window hung.
  bool Answers() const {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &ignored) != 0;
  }

  // Whether the stand-in `role` that this folder's program started last
  // still runs.
  bool ToolRunning(std::string_view role) const {
    return testing::ProcessRunning(
        testing::ReadAll(folder_ / testing::Utf8Path(std::string(role) + ".pid")));
  }

  // Ends the program at once, as Task Manager does.
  void Kill() const {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 10000);
  }

  // Whether the process ended within ten seconds with the exit code 0.
  bool EndsWithZero() const {
    if (WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) return false;
    DWORD code = 1;
    GetExitCodeProcess(process_.get(), &code);
    return code == 0;
  }
  bool Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

 private:
  void Start(const std::filesystem::path& folder, const std::vector<std::string>& arguments = {}) {
    folder_ = folder;
    source_ = Inside("录音 a.mp3");
    testing::WriteAll(testing::Utf8Path(source_), "RIFF audio");

    const std::wstring program = Widen(Inside("tosilk.exe"));
    std::wstring command_line = Widen(JoinCommandLine([&] {
      std::vector<std::string> words = {Inside("tosilk.exe")};
      words.insert(words.end(), arguments.begin(), arguments.end());
      return words;
    }()));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Asks for a minimised start, which the program must not pass on.
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION info{};
    // Started from another current directory than its own folder.
    const std::wstring elsewhere = Widen(testing::PathText(std::filesystem::temp_directory_path()));
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, elsewhere.c_str(), &startup, &info)) {
      ADD_FAILURE() << "cannot start tosilk.exe: " << GetLastError();
      return;
    }
    process_.reset(info.hProcess);
    UniqueHandle thread(info.hThread);
    thread_id_ = info.dwThreadId;
    WaitForInputIdle(process_.get(), 10000);
    // Its own window, which another copy running beside it does not share.
    WaitUntil([&] {
      for (HWND found = nullptr;
           (found = FindWindowExW(nullptr, found, win::MainWindow::kClassName, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == info.dwProcessId && IsWindowVisible(found)) {
          window_ = found;
          return true;
        }
      }
      return false;
    });
  }

  std::optional<testing::TempFolder> own_folder_;
  std::filesystem::path folder_;
  std::string source_;
  UniqueHandle process_;
  DWORD thread_id_ = 0;
  HWND window_ = nullptr;
};

}  // namespace tosilk
