// Runs the real tosilk.exe from a fresh program folder that holds the
// stand-in tools, and checks its window from outside, as a user would see
// and drive it: geometry, controls, focus, real key and mouse input, the
// label after a job, and the exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/win/running_program_win_test.h"

namespace tosilk {
namespace {

namespace fs = std::filesystem;
using testing::Utf8Path;

TEST(TosilkWindow, IsCentredWithAFixedDialogFrameAndNoTitle) {
  RunningProgram program;
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, kMainWindow.width);
  EXPECT_EQ(rect.bottom - rect.top, kMainWindow.height);
  EXPECT_EQ(rect.left, CentredEdge(GetSystemMetrics(SM_CXSCREEN), kMainWindow.width));
  EXPECT_EQ(rect.top, CentredEdge(GetSystemMetrics(SM_CYSCREEN), kMainWindow.height));
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
  for (std::size_t i = 0; i < kMainWindow.controls.size(); ++i) {
    const ControlDescription& described = kMainWindow.controls[i];
    SCOPED_TRACE(std::string(described.name));
    HWND control = program.control(static_cast<ControlId>(i));
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

  for (ControlId id : {ControlId::kResultLabel, ControlId::kPathLabel}) {
    HWND label = program.control(id);
    EXPECT_EQ(ClassOf(label), L"Static");
    const LONG style = GetWindowLongW(label, GWL_STYLE);
    EXPECT_EQ(style & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
    EXPECT_TRUE(style & SS_CENTERIMAGE);
    EXPECT_TRUE(style & SS_NOPREFIX);
    EXPECT_FALSE(style & (SS_ENDELLIPSIS | SS_PATHELLIPSIS | SS_WORDELLIPSIS));
  }

  HWND edit = program.control(ControlId::kPathEdit);
  EXPECT_EQ(ClassOf(edit), L"Edit");
  const LONG edit_style = GetWindowLongW(edit, GWL_STYLE);
  EXPECT_TRUE(edit_style & ES_AUTOHSCROLL);
  EXPECT_FALSE(edit_style & (ES_MULTILINE | ES_READONLY | ES_PASSWORD | ES_NOHIDESEL |
                             ES_UPPERCASE | ES_LOWERCASE | ES_NUMBER | ES_CENTER | ES_RIGHT));
  EXPECT_TRUE(GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_GE(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);

  HWND button = program.control(ControlId::kEncodeButton);
  EXPECT_EQ(ClassOf(button), L"Button");
  EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

// The editing area is one line high, the height of "W" in the GUI font, and
// sits in the middle of the box's inner area; the margins are frame.
TEST(TosilkWindow, CentresTheEditLineVertically) {
  RunningProgram program;
  HWND edit = program.control(ControlId::kPathEdit);
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
  EXPECT_TRUE(program.FocusBecomes(program.control(ControlId::kPathEdit)));
  EXPECT_EQ(GetForegroundWindow(), program.window());
}

TEST(TosilkWindow, TabAndShiftTabMoveTheFocusAndWrap) {
  RunningProgram program;
  HWND edit = program.control(ControlId::kPathEdit);
  HWND button = program.control(ControlId::kEncodeButton);
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
  HWND button = program.control(ControlId::kEncodeButton);
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
  HWND edit = program.control(ControlId::kPathEdit);
  HWND button = program.control(ControlId::kEncodeButton);
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
  ASSERT_TRUE(program.FocusBecomes(program.control(ControlId::kEncodeButton)));
  Press(VK_RETURN);  // on the focused button
  Press(VK_TAB);
  ASSERT_TRUE(program.FocusBecomes(program.control(ControlId::kPathEdit)));
  EXPECT_EQ(TextOf(program.control(ControlId::kResultLabel)), "标签");
  EXPECT_FALSE(fs::exists(program.folder() / "ffmpeg.args"));
}

TEST(TosilkWindow, SpaceOnTheFocusedButtonClicksIt) {
  RunningProgram program;
  program.Type(program.source());
  program.Activate();
  Press(VK_TAB);
  ASSERT_TRUE(program.FocusBecomes(program.control(ControlId::kEncodeButton)));
  Press(VK_SPACE);
  EXPECT_TRUE(WaitUntil([&] {
    return TextOf(program.control(ControlId::kResultLabel)).starts_with(texts::kDonePrefix);
  }));
}

TEST(TosilkWindow, AClickEncodesAndShowsWhereTheFileWent) {
  RunningProgram program("程序 a&b");
  program.Type("  \"" + program.source() + "\"  ");
  const std::string shown = program.ClickEncode();

  const std::string prefix = Join({texts::kDonePrefix, program.Inside("result\\")});
  ASSERT_TRUE(shown.starts_with(prefix))
      << shown << (fs::exists(program.folder() / "ffmpeg.args") ? "" : " (ffmpeg never ran)");
  ASSERT_TRUE(shown.ends_with("10041.silk")) << shown;
  // The "&" of the folder is there as it is; the labels draw no prefixes.
  EXPECT_NE(shown.find("a&b"), std::string::npos);
  const std::string path = shown.substr(texts::kDonePrefix.size());
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
  // The job's reasons are its own tests' business; the label shows the one
  // this job gave, with the tool's line in it.
  const std::string shown = program.ClickEncode();
  EXPECT_TRUE(shown.starts_with(texts::kFailedPrefix)) << shown;
  EXPECT_NE(shown.find("a.mp3: Invalid data found when processing input"), std::string::npos)
      << shown;
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

// Windows' own test of a hung window, which it asks before it offers to end
// the program; looked up, since not every SDK declares it.
bool IsHung(HWND window) {
  using IsHungAppWindowFunction = BOOL(WINAPI*)(HWND);
  static const auto is_hung = reinterpret_cast<IsHungAppWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "IsHungAppWindow")));
  return is_hung != nullptr && is_hung(window);
}

// For the whole of a long job the window answers and shows how far the job
// is; clicks, Enter and Space meanwhile start nothing, so one file is made.
TEST(TosilkWindow, WhileAJobRunsAnswersShowsProgressAndTakesNoFurtherJob) {
  RunningProgram program;
  testing::WriteAll(program.folder() / "ffmpeg.behave", "sleep=8000\n");
  program.Type(program.source());
  program.StartJob();
  HWND button = program.control(ControlId::kEncodeButton);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(button); }));
  EXPECT_TRUE(GetWindowLongW(program.control(ControlId::kPathEdit), GWL_STYLE) & ES_READONLY);

  bool answered = true;
  bool hung = false;
  bool showed_percent = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (int pressed = 0; !program.JobEnded();) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the job did not end";
    answered = answered && program.Answers();
    hung = hung || IsHung(program.window());
    const std::string shown = program.Label();
    EXPECT_TRUE(shown.starts_with("正在") || shown.starts_with(texts::kDonePrefix)) << shown;
    showed_percent = showed_percent || shown.ends_with("%");
    // Impatient input while the stand-in takes its time.
    if (pressed < 3 && shown.ends_with("%")) {
      program.ClickOnce(button);
      program.Activate();
      Press(VK_RETURN);
      Press(VK_SPACE);
      ++pressed;
    }
    Sleep(200);
  }
  EXPECT_TRUE(answered);
  EXPECT_FALSE(hung);
  EXPECT_TRUE(showed_percent);
  EXPECT_TRUE(program.Label().starts_with(texts::kDonePrefix)) << program.Label();
  Sleep(1000);
  EXPECT_EQ(testing::EntryNames(program.folder() / "result").size(), 1u);
  EXPECT_TRUE(IsWindowEnabled(button));
}

// Esc during a job ends the tool and then the program, at once, and leaves
// nothing in the result folder.
TEST(TosilkWindow, EscDuringAJobEndsTheToolAndTheProgramAndLeavesNothing) {
  RunningProgram program;
  testing::WriteAll(program.folder() / "ffmpeg.behave", "sleep=60000\n");
  program.Type(program.source());
  program.StartJob();
  ASSERT_TRUE(WaitUntil([&] { return program.ToolRunning("ffmpeg"); }));
  ASSERT_TRUE(WaitUntil([&] { return testing::EntryNames(program.folder() / "result").size() == 2; }));
  program.Activate();
  Press(VK_ESCAPE);
  EXPECT_TRUE(program.EndsWithZero());
  EXPECT_FALSE(program.ToolRunning("ffmpeg"));
  EXPECT_TRUE(testing::EntryNames(program.folder() / "result").empty());
}

// Killed mid-job, the program leaves its files, and its tool dies with it. A
// second copy started meanwhile leaves the files of a job that still runs;
// the next start after the kill removes them.
TEST(TosilkWindow, TheNextStartRemovesWhatAKilledJobLeft) {
  RunningProgram first;
  testing::WriteAll(first.folder() / "ffmpeg.behave", "sleep=60000\n");
  fs::create_directory(first.folder() / "result");
  testing::WriteAll(first.folder() / "result" / Utf8Path("我的.pcm"), "the user's own");
  first.Type(first.source());
  first.StartJob();
  ASSERT_TRUE(WaitUntil([&] { return first.ToolRunning("ffmpeg"); }));
  ASSERT_TRUE(WaitUntil([&] { return testing::EntryNames(first.folder() / "result").size() == 3; }));
  {
    RunningProgram second(RunningProgram::ReadyFolder{first.folder()});
    ASSERT_NE(second.window(), nullptr);
    EXPECT_EQ(testing::EntryNames(first.folder() / "result").size(), 3u)
        << "the files of a running job were taken";
  }
  first.Kill();
  EXPECT_TRUE(WaitUntil([&] { return !first.ToolRunning("ffmpeg"); }))
      << "the tool outlived the program";
  EXPECT_EQ(testing::EntryNames(first.folder() / "result").size(), 3u);
  RunningProgram next(RunningProgram::ReadyFolder{first.folder()});
  ASSERT_NE(next.window(), nullptr);
  EXPECT_EQ(testing::EntryNames(first.folder() / "result"), std::vector<std::string>{"我的.pcm"});
}

// A file dragged onto tosilk.exe, or opened with it, is in the edit box.
TEST(TosilkWindow, TakesTheFileItWasStartedWith) {
  testing::TempFolder folder("打开方式");
  fs::copy_file(Utf8Path(ProgramDirectory()) / ".." / "tosilk.exe", folder.path() / "tosilk.exe");
  testing::CopyStandins(folder.path());
  const std::string source = testing::PathText(folder.path() / Utf8Path("拖到 程序上.mp3"));
  RunningProgram program(RunningProgram::ReadyFolder{folder.path(), {source}});
  EXPECT_EQ(TextOf(program.control(ControlId::kPathEdit)), source);
}

}  // namespace
}  // namespace tosilk
