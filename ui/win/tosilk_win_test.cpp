// Runs the real tosilk.exe from a fresh program folder that holds the
// stand-in tools, and checks its window from outside, as a user would see
// and drive it: geometry, controls, focus, real key and mouse input, the
// label after a job, and the exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "common/paths.h"
#include "common/text.h"
#include "common/unique_handle_win.h"
#include "common/wide_win.h"
#include "testing/fs_util.h"
#include "ui/click_routine.h"
#include "ui/win/main_window_win.h"
#include "ui/window_description.h"

namespace tosilk {
namespace {

namespace fs = std::filesystem;
using testing::Utf8Path;

// Polls `done` until it holds or `limit` has passed.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::string TextOf(HWND window) {
  wchar_t text[2048] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 10000, &copied);
  return Narrow(std::wstring_view(text, copied));
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, std::size(name));
  return name;
}

// The rectangle of `child` in its parent's client coordinates.
RECT RectInParent(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

// Presses `key` while holding `modifier` (0 for none), as real key input.
void Press(WORD key, WORD modifier = 0) {
  if (modifier != 0) Key(modifier, false);
  Key(key, false);
  Key(key, true);
  if (modifier != 0) Key(modifier, true);
}

// A program folder with tosilk.exe and the stand-ins, and tosilk running in it.
class RunningProgram {
 public:
  explicit RunningProgram(std::string_view folder_label = "程序") : folder_(folder_label) {
    const fs::path build = Utf8Path(ProgramDirectory()) / "..";
    fs::copy_file(build / "tosilk.exe", folder_.path() / "tosilk.exe");
    for (const char* tool : {"ffmpeg.exe", "silk_v3_encoder.exe"}) {
      fs::copy_file(build / "standin" / tool, folder_.path() / tool);
    }
    source_ = Inside("录音 a.mp3");
    testing::WriteAll(Utf8Path(source_), "RIFF audio");

    const std::wstring program = Widen(Inside("tosilk.exe"));
    std::wstring command_line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Asks for a minimised start, which the program must not pass on.
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION info{};
    // Started from another current directory than its own folder.
    const std::wstring elsewhere = Widen(testing::PathText(fs::temp_directory_path()));
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, elsewhere.c_str(), &startup, &info)) {
      ADD_FAILURE() << "cannot start tosilk.exe: " << GetLastError();
      return;
    }
    process_.reset(info.hProcess);
    UniqueHandle thread(info.hThread);
    thread_id_ = info.dwThreadId;
    WaitForInputIdle(process_.get(), 10000);
    WaitUntil([&] {
      window_ = FindWindowW(MainWindow::kClassName, nullptr);
      DWORD owner = 0;
      if (window_ != nullptr) GetWindowThreadProcessId(window_, &owner);
      return window_ != nullptr && owner == info.dwProcessId && IsWindowVisible(window_);
    });
  }

  ~RunningProgram() {
    if (process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.get(), 1);
      WaitForSingleObject(process_.get(), 10000);
    }
  }

  HWND window() const { return window_; }
  HWND control(std::string_view name) const {
    for (std::size_t i = 0; i < kMainWindow.controls.size(); ++i) {
      if (kMainWindow.controls[i].name == name) {
        return GetDlgItem(window_, MainWindow::kFirstControlId + static_cast<int>(i));
      }
    }
    return nullptr;
  }
  std::string Inside(std::string_view name) const {
    return Join({folder_.text(), "\\", name});
  }
  const std::string& source() const { return source_; }
  const fs::path& folder() const { return folder_.path(); }

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
    SendMessageW(control(kPathEdit), WM_SETTEXT, 0,
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

  // Clicks "编码" and waits until the result label changed from `before`.
  std::string ClickEncode() const {
    const std::string before = TextOf(control(kResultLabel));
    Click(control(kEncodeButton));
    std::string after;
    WaitUntil([&] { return (after = TextOf(control(kResultLabel))) != before; });
    return after;
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
  testing::TempFolder folder_;
  std::string source_;
  UniqueHandle process_;
  DWORD thread_id_ = 0;
  HWND window_ = nullptr;
};

TEST(TosilkWindow, IsCentredWithAFixedDialogFrameAndNoTitle) {
  RunningProgram program;
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, 489);
  EXPECT_EQ(rect.bottom - rect.top, 201);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 489) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 201) / 2);
  EXPECT_FALSE(IsIconic(window)) << "the minimised start-up request was passed on";
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(TextOf(window), "");

  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
}

TEST(TosilkWindow, HasTheFourControlsOfTheDescription) {
  RunningProgram program;
  // In the order of the list: each control lies below the one before it.
  HWND previous = nullptr;
  for (const ControlDescription& described : kMainWindow.controls) {
    SCOPED_TRACE(std::string(described.name));
    HWND control = program.control(described.name);
    ASSERT_NE(control, nullptr);
    const RECT rect = RectInParent(control);
    EXPECT_EQ(rect.left, described.left);
    EXPECT_EQ(rect.top, described.top);
    EXPECT_EQ(rect.right - rect.left, described.width);
    EXPECT_EQ(rect.bottom - rect.top, described.height);
    EXPECT_EQ(TextOf(control), described.text);
    EXPECT_TRUE(IsWindowVisible(control) && IsWindowEnabled(control));
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    EXPECT_EQ((style & WS_TABSTOP) != 0, described.tab_stop);
    if (previous != nullptr) {
      EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), control);
    }
    previous = control;
  }

  for (std::string_view name : {kResultLabel, kPathLabel}) {
    HWND label = program.control(name);
    EXPECT_EQ(ClassOf(label), L"Static");
    const LONG style = GetWindowLongW(label, GWL_STYLE);
    EXPECT_EQ(style & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
    EXPECT_TRUE(style & SS_CENTERIMAGE);
    EXPECT_TRUE(style & SS_NOPREFIX);
    EXPECT_FALSE(style & (SS_ENDELLIPSIS | SS_PATHELLIPSIS | SS_WORDELLIPSIS));
  }

  HWND edit = program.control(kPathEdit);
  EXPECT_EQ(ClassOf(edit), L"Edit");
  const LONG edit_style = GetWindowLongW(edit, GWL_STYLE);
  EXPECT_TRUE(edit_style & ES_AUTOHSCROLL);
  EXPECT_FALSE(edit_style & (ES_MULTILINE | ES_READONLY | ES_PASSWORD | ES_NOHIDESEL |
                             ES_UPPERCASE | ES_LOWERCASE | ES_NUMBER | ES_CENTER | ES_RIGHT));
  EXPECT_TRUE(GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_GE(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);

  HWND button = program.control(kEncodeButton);
  EXPECT_EQ(ClassOf(button), L"Button");
  EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

// Wine does not carry WM_GETFONT and WM_GETICON across processes, so this
// one looks at a window of the test's own, which holds the program's
// resources too.
TEST(MainWindow, HasTheIconsAndGivesEveryControlTheDefaultGuiFont) {
  MainWindow window(GetModuleHandleW(nullptr));
  ASSERT_TRUE(window.Open());
  HWND main = FindWindowW(MainWindow::kClassName, nullptr);
  EXPECT_NE(SendMessageW(main, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(main, WM_GETICON, ICON_SMALL, 0), 0);
  HFONT gui_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (std::size_t i = 0; i < kMainWindow.controls.size(); ++i) {
    HWND control = GetDlgItem(main, MainWindow::kFirstControlId + static_cast<int>(i));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), gui_font)
        << kMainWindow.controls[i].name;
  }
  DestroyWindow(main);
  // Takes the quit request that the window's end posted.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

// The editing area is one line high, the height of "W" in the GUI font, and
// sits in the middle of the box's inner area; the margins are frame.
TEST(TosilkWindow, CentresTheEditLineVertically) {
  RunningProgram program;
  HWND edit = program.control(kPathEdit);
  HDC dc = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE w{};
  GetTextExtentPoint32W(dc, L"W", 1, &w);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);

  RECT window_rect;
  GetWindowRect(edit, &window_rect);
  RECT client;
  GetClientRect(edit, &client);
  MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const int border = client.left - window_rect.left;
  const int inner = (window_rect.bottom - window_rect.top) - 2 * border;
  EXPECT_EQ(client.bottom - client.top, w.cy);
  EXPECT_EQ(client.top - window_rect.top, border + (inner - w.cy) / 2);

  // A point in the top margin is not in the editing area.
  const LRESULT hit = SendMessageW(
      edit, WM_NCHITTEST, 0,
      MAKELPARAM((window_rect.left + window_rect.right) / 2, window_rect.top + border + 1));
  EXPECT_NE(hit, HTCLIENT);
}

TEST(TosilkWindow, StartsWithTheCaretInTheEmptyEditBox) {
  RunningProgram program;
  EXPECT_TRUE(program.FocusBecomes(program.control(kPathEdit)));
  EXPECT_EQ(GetForegroundWindow(), program.window());
}

TEST(TosilkWindow, TabAndShiftTabMoveTheFocusAndWrap) {
  RunningProgram program;
  HWND edit = program.control(kPathEdit);
  HWND button = program.control(kEncodeButton);
  program.Activate();
  ASSERT_TRUE(program.FocusBecomes(edit));
  Press(VK_TAB);
  EXPECT_TRUE(program.FocusBecomes(button));
  Press(VK_TAB);
  EXPECT_TRUE(program.FocusBecomes(edit));
  Press(VK_TAB, VK_SHIFT);
  EXPECT_TRUE(program.FocusBecomes(button));
  Press(VK_TAB, VK_SHIFT);
  EXPECT_TRUE(program.FocusBecomes(edit));
}

TEST(TosilkWindow, GivesTheFocusBackAfterAnotherWindowWasActive) {
  RunningProgram program;
  HWND button = program.control(kEncodeButton);
  program.Activate();
  Press(VK_TAB);
  ASSERT_TRUE(program.FocusBecomes(button));

  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(other);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }));
  program.Activate();
  EXPECT_TRUE(program.FocusBecomes(button));
  DestroyWindow(other);
}

TEST(TosilkWindow, EscCloses) {
  RunningProgram program;
  program.Activate();
  Press(VK_ESCAPE);
  EXPECT_TRUE(program.EndsWithZero());
}

TEST(TosilkWindow, EscWithAModifierDoesNothing) {
  RunningProgram program;
  HWND edit = program.control(kPathEdit);
  HWND button = program.control(kEncodeButton);
  for (WORD modifier : {VK_CONTROL, VK_SHIFT, VK_MENU}) {
    SCOPED_TRACE(modifier);
    program.Activate();
    HWND from = program.Focus() == edit ? edit : button;
    Press(VK_ESCAPE, modifier);
    // A Tab after it moves the focus only once the Esc has been handled.
    program.Activate();
    Press(VK_TAB);
    EXPECT_TRUE(program.FocusBecomes(from == edit ? button : edit));
    EXPECT_TRUE(program.Running());
  }
}

TEST(TosilkWindow, EnterStartsNoJob) {
  RunningProgram program;
  program.Type(program.source());
  program.Activate();
  Press(VK_RETURN);  // in the edit box
  Press(VK_TAB);
  ASSERT_TRUE(program.FocusBecomes(program.control(kEncodeButton)));
  Press(VK_RETURN);  // on the focused button
  Press(VK_TAB);
  ASSERT_TRUE(program.FocusBecomes(program.control(kPathEdit)));
  EXPECT_EQ(TextOf(program.control(kResultLabel)), "标签");
  EXPECT_FALSE(fs::exists(program.folder() / "ffmpeg.args"));
}

TEST(TosilkWindow, SpaceOnTheFocusedButtonClicksIt) {
  RunningProgram program;
  program.Type(program.source());
  program.Activate();
  Press(VK_TAB);
  ASSERT_TRUE(program.FocusBecomes(program.control(kEncodeButton)));
  Press(VK_SPACE);
  EXPECT_TRUE(WaitUntil([&] {
    return TextOf(program.control(kResultLabel)).starts_with(kDonePrefix);
  }));
}

TEST(TosilkWindow, AClickEncodesAndShowsWhereTheFileWent) {
  RunningProgram program("程序 a&b");
  program.Type("  \"" + program.source() + "\"  ");
  const std::string shown = program.ClickEncode();

  const std::string prefix = Join({kDonePrefix, program.Inside("result\\")});
  ASSERT_TRUE(shown.starts_with(prefix))
      << shown << (fs::exists(program.folder() / "ffmpeg.args") ? "" : " (ffmpeg never ran)");
  ASSERT_TRUE(shown.ends_with("10041.silk")) << shown;
  // The "&" of the folder is there as it is; the labels draw no prefixes.
  EXPECT_NE(shown.find("a&b"), std::string::npos);
  const std::string path = shown.substr(kDonePrefix.size());
  EXPECT_TRUE(fs::is_regular_file(Utf8Path(path)));
  EXPECT_FALSE(fs::exists(Utf8Path(path.substr(0, path.size() - 5) + ".pcm")));

  // A second job replaces the whole message.
  const std::string second = program.ClickEncode();
  EXPECT_TRUE(second.starts_with(prefix) && second.ends_with("28467.silk")) << second;
}

TEST(TosilkWindow, AFailingToolShowsWhy) {
  RunningProgram program;
  testing::WriteAll(program.folder() / "ffmpeg.behave",
                    "exit=1\nstderr=a.mp3: Invalid data found when processing input\n");
  program.Type(program.source());
  EXPECT_EQ(program.ClickEncode(),
            "编码失败：ffmpeg.exe 转换失败（退出码 1）：a.mp3: Invalid data found when "
            "processing input");
  EXPECT_FALSE(fs::exists(program.folder() / "silk_v3_encoder.args"));

  fs::remove(program.folder() / "ffmpeg.behave");
  program.Type("");
  EXPECT_EQ(program.ClickEncode(), "编码失败：没有输入音频文件的路径");
}

TEST(TosilkWindow, ClosingEndsWithZero) {
  RunningProgram program;
  PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(program.EndsWithZero());
}

TEST(TosilkWindow, AgreesToEndTheSession) {
  RunningProgram program;
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(program.window(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000,
                      &answer);
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
}

}  // namespace
}  // namespace tosilk
