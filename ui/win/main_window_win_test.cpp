// The window of the Windows program in the test's own process, where what
// Wine does not carry across processes (fonts, icons, drops) can be seen,
// and where a click on the result label can be caught before it reaches the
// shell.
#include "ui/win/main_window_win.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "common/wide_win.h"
#include "testing/job_fixture.h"
#include "texts/texts.h"

namespace tosilk {
namespace {

// Handles this thread's messages until `done` holds, or ten seconds passed.
bool PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  }
  return true;
}

std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

// A window of the test's own whose jobs run in `folder_`, and whose clicks
// on the result label are noted in `shown_`.
class InProcessWindowTest : public ::testing::Test {
 protected:
  InProcessWindowTest()
      : folder_("窗口 内"),
        window_(GetModuleHandleW(nullptr),
                [this](std::string_view source, JobSetting::Naming naming, const JobHooks& hooks) {
                  return folder_.Run(source, naming, hooks);
                },
                [this](const std::vector<std::string>& files) { shown_.push_back(files); }) {
    EXPECT_TRUE(window_.Open());
    main_ = FindWindowW(win::MainWindow::kClassName, nullptr);
  }
  ~InProcessWindowTest() override {
    DestroyWindow(main_);
    // Takes the quit request that the window's end posted.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  HWND control(ControlId id) const {
    return GetDlgItem(main_, win::MainWindow::DialogId(id));
  }

  std::string Encode(const std::string& typed) {
    SetWindowTextW(control(ControlId::kPathEdit), Widen(typed).c_str());
    SendMessageW(control(ControlId::kEncodeButton), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] {
      return IsWindowEnabled(control(ControlId::kEncodeButton)) &&
             !TextOf(control(ControlId::kResultLabel)).starts_with("正在");
    }));
    return TextOf(control(ControlId::kResultLabel));
  }

  // Whether the pointer over the result label is the hand.
  bool HandOverLabel() {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(main_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control(ControlId::kResultLabel)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor() == LoadCursorW(nullptr, IDC_HAND);
  }

  void ClickLabel() {
    HWND label = control(ControlId::kResultLabel);
    SendMessageW(main_, WM_COMMAND,
                 MAKEWPARAM(win::MainWindow::DialogId(ControlId::kResultLabel), STN_CLICKED),
                 reinterpret_cast<LPARAM>(label));
  }

  std::string Tooltip() {
    HWND tooltip = nullptr;
    for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, TOOLTIPS_CLASSW, nullptr));) {
      if (GetWindow(found, GW_OWNER) == main_) tooltip = found;
    }
    if (tooltip == nullptr) return {};
    wchar_t text[2048] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = main_;
    tool.uId = reinterpret_cast<UINT_PTR>(control(ControlId::kResultLabel));
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return Narrow(text);
  }

  ProgramFolder folder_;
  std::vector<std::vector<std::string>> shown_;
  win::MainWindow window_;
  HWND main_ = nullptr;
};

TEST_F(InProcessWindowTest, HasTheIconsAndGivesEveryControlTheDefaultGuiFont) {
  EXPECT_NE(SendMessageW(main_, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(main_, WM_GETICON, ICON_SMALL, 0), 0);
  HFONT gui_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (std::size_t i = 0; i < kMainWindow.controls.size(); ++i) {
    HWND control = GetDlgItem(main_, win::MainWindow::DialogId(static_cast<ControlId>(i)));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), gui_font)
        << kMainWindow.controls[i].name;
  }
}

TEST_F(InProcessWindowTest, TheLabelShowsItsWholeTextAndOpensTheFolderOnceAFileIsWritten) {
  const std::string source = folder_.AddSource("a.mp3");
  ClickLabel();
  EXPECT_FALSE(HandOverLabel());
  EXPECT_TRUE(shown_.empty()) << "nothing to show before a job";

  const std::string shown = Encode(source);
  const std::string silk = folder_.Base("10041") + ".silk";
  EXPECT_EQ(shown, std::string(texts::kDonePrefix) + silk);
  EXPECT_EQ(Tooltip(), shown + "\n单击打开所在文件夹");
  EXPECT_TRUE(HandOverLabel());
  ClickLabel();
  EXPECT_EQ(shown_, (std::vector<std::vector<std::string>>{{silk}}));

  Encode("");
  EXPECT_FALSE(HandOverLabel());
  ClickLabel();
  EXPECT_EQ(shown_.size(), 1u) << "a failure has no folder to open";
}

// A drop of `paths`, as Explorer makes one: the paths one after another,
// each ended by a NUL, and one more NUL at the end.
void Drop(HWND window, const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths) names += Widen(path) + L'\0';
  names += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
              names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  // The window owns the drop once it has it, and frees it.
  SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// One file dropped: its path goes into the edit box.
TEST_F(InProcessWindowTest, TakesADroppedFile) {
  const std::string path = folder_.Inside("拖进来 a.mp3");
  Drop(main_, {path});
  EXPECT_EQ(TextOf(control(ControlId::kPathEdit)), path);
}

// Several files dropped at once are encoded at once, each named after
// itself, and the label counts them.
TEST_F(InProcessWindowTest, EncodesSeveralDroppedFilesAsABatch) {
  std::vector<std::string> paths;
  for (const char* name : {"一.mp3", "二.wav", "三.ogg"}) paths.push_back(folder_.AddSource(name));
  Drop(main_, paths);
  EXPECT_TRUE(TextOf(control(ControlId::kResultLabel)).starts_with("正在编码 "));
  ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(control(ControlId::kEncodeButton)); }));
  EXPECT_EQ(TextOf(control(ControlId::kResultLabel)),
            "编码完成 3 个文件，路径：" + testing::PathText(folder_.result()));
  EXPECT_EQ(folder_.ResultEntries(), (std::vector<std::string>{"一.silk", "三.silk", "二.silk"}));
}

}  // namespace
}  // namespace tosilk
