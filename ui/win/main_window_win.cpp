#include "ui/win/main_window_win.h"

#include <commctrl.h>
#include <windowsx.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <utility>

#include "common/wide_win.h"
#include "texts/texts.h"
#include "ui/dropped_files.h"
#include "ui/win/centred_edit_win.h"

namespace tosilk::win {
namespace {

// The icon in the resource script.
constexpr int kIconId = 1;

// Posted to the window when the jobs' thread has left events for it.
constexpr UINT kJobEventsMessage = WM_APP + 1;

// The command of the result label's menu.
constexpr UINT_PTR kCopyCommand = 1;

// How wide the tooltip may grow before it wraps its lines.
constexpr int kTooltipWidth = 480;

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD extended_style;
};

ControlClass ClassFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      // One line, left-aligned, vertically centred, never wrapped, no
      // ellipsis, and "&" shown as it is rather than as a mnemonic prefix, so
      // a path with "&" in it reads right.
      return {L"STATIC", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case ControlKind::kEditBox:
      // No ES_NOHIDESEL: the selection is hidden while the box has no focus.
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kPushButton:
      return {L"BUTTON", BS_PUSHBUTTON | BS_MULTILINE, 0};
  }
  return {L"STATIC", 0, 0};
}

bool KeyIsDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, BackgroundJobs::Job job, ShowFiles show_files)
    : instance_(instance),
      show_files_(std::move(show_files)),
      jobs_(
          std::move(job), [this](std::function<void()> event) { Post(std::move(event)); },
          [this] { OnJobsChanged(); }) {}

bool MainWindow::Open() {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &MainWindow::WindowProc;
  window_class.hInstance = instance_;
  window_class.hIcon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIconId),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), 0));
  window_class.hIconSm = static_cast<HICON>(
      LoadImageW(instance_, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return false;
  }

  // The full screen counts, not the work area.
  const int left = CentredEdge(GetSystemMetrics(SM_CXSCREEN), kMainWindow.width);
  const int top = CentredEdge(GetSystemMetrics(SM_CYSCREEN), kMainWindow.height);
  // A fixed dialog frame with title bar, window menu, close box and minimise
  // box; no WS_THICKFRAME (no resizing) and no maximise box. Created hidden.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  HWND created = CreateWindowExW(0, kClassName, Widen(kMainWindow.title).c_str(), style, left,
                                 top, kMainWindow.width, kMainWindow.height, nullptr, nullptr,
                                 instance_, this);
  if (created == nullptr) return false;
  // The window's own icons, for the title bar and the task bar, which anyone
  // may ask it for.
  SendMessageW(created, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(window_class.hIcon));
  SendMessageW(created, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(window_class.hIconSm));

  // Files may be dropped anywhere on it, the edit box included.
  DragAcceptFiles(created, TRUE);

  // SetWindowPos rather than ShowWindow: the first ShowWindow of a process
  // may take the show state its starter asked for, and the window is to
  // come up normal whatever that was. Without SWP_NOACTIVATE it activates.
  SetWindowPos(created, HWND_TOP, left, top, kMainWindow.width, kMainWindow.height,
               SWP_SHOWWINDOW);
  SetForegroundWindow(created);
  UpdateWindow(created);
  return exists();
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) {
  MainWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  const LRESULT result = self->HandleMessage(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  }
  return result;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      OnCommand(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(wparam, lparam);
      return 0;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnControlColorStatic(reinterpret_cast<HDC>(wparam));
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wparam))) return TRUE;
      break;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wparam), {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case kJobEventsMessage:
      OnJobEvents();
      return 0;
    case WM_QUERYENDSESSION:
      // Nothing is ever unsaved.
      return TRUE;
    case WM_ENDSESSION:
      // The session ends with the process, maybe without another message:
      // running jobs stop now and take their files with them.
      if (wparam) jobs_.Stop(BackgroundJobs::kStopLimit);
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

bool MainWindow::OnCreate() {
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (std::size_t i = 0; i < kMainWindow.controls.size(); ++i) {
    const ControlDescription& described = kMainWindow.controls[i];
    const ControlClass control_class = ClassFor(described.kind);
    DWORD style = WS_CHILD | WS_VISIBLE | control_class.style;
    if (described.tab_stop) style |= WS_TABSTOP;
    // The result label answers clicks, to open the folder of what it names.
    if (static_cast<ControlId>(i) == ControlId::kResultLabel) style |= SS_NOTIFY;
    // Created in the table's order, each at the bottom of the stacking order,
    // so an earlier control lies above a later one.
    HWND child = CreateWindowExW(
        control_class.extended_style, control_class.name, Widen(described.text).c_str(), style,
        described.left, described.top, described.width, described.height, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(DialogId(static_cast<ControlId>(i)))),
        instance_, nullptr);
    if (child == nullptr) return false;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    controls_[i] = child;
  }
  HWND edit = control(ControlId::kPathEdit);
  // No limit of its own: as much text as a one-line edit control can hold.
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);

  // The result label's whole text, which its one line may cut, shows when
  // the pointer rests on it.
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                             instance_, nullptr);
  if (tooltip_ != nullptr) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control(ControlId::kResultLabel));
    tool.lpszText = tooltip_text_.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kTooltipWidth);
  }
  return CentreEditLine(edit);
}

void MainWindow::OnCommand(HWND sender, int notification) {
  // Known by its window rather than its identifier: a command that comes
  // from no control (a menu, an accelerator) carries no window.
  if (sender == nullptr) return;
  if (notification == BN_CLICKED && sender == control(ControlId::kEncodeButton)) {
    OnClick();
  } else if (notification == STN_CLICKED && sender == control(ControlId::kResultLabel) &&
             !jobs_.busy() && !jobs_.presenter().written().empty()) {
    show_files_(jobs_.presenter().written());
  }
}

void MainWindow::OnActivate(WPARAM state, LPARAM other) {
  if (LOWORD(state) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window_, focus)) last_focus_ = focus;
  }
  // Activation goes on to DefWindowProc, which gives the window the focus;
  // OnSetFocus then hands it on.
  DefWindowProcW(window_, WM_ACTIVATE, state, other);
}

void MainWindow::OnSetFocus() {
  if (last_focus_ == nullptr) last_focus_ = control(kMainWindow.initial_focus);
  SetFocus(last_focus_);
}

LRESULT MainWindow::OnControlColorStatic(HDC dc) {
  // Labels fill their rectangle with the face colour and draw black text.
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool MainWindow::OnSetCursor(HWND under) {
  // The hand says that a click on the label opens the folder.
  if (under != control(ControlId::kResultLabel) || jobs_.busy() || jobs_.presenter().written().empty()) {
    return false;
  }
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

void MainWindow::OnContextMenu(HWND clicked, POINT at) {
  if (clicked != control(ControlId::kResultLabel)) return;
  // A menu called up from the keyboard comes with no point of its own.
  if (at.x == -1 && at.y == -1) {
    RECT label;
    GetWindowRect(clicked, &label);
    at = {label.left, label.bottom};
  }
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kCopyCommand, Widen(texts::kCopy).c_str());
  const UINT_PTR chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                         window_, nullptr);
  DestroyMenu(menu);
  if (chosen == kCopyCommand) CopyResult();
}

void MainWindow::CopyResult() {
  const std::wstring text = Widen(jobs_.presenter().label().empty()
                                      ? std::string(kMainWindow[ControlId::kResultLabel].text)
                                      : jobs_.presenter().tooltip());
  if (!OpenClipboard(window_)) return;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    // The clipboard owns the memory once it has taken it.
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

void MainWindow::OnDropFiles(HDROP drop) {
  std::vector<std::string> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
    files.push_back(Narrow(name));
  }
  DragFinish(drop);
  TakeFiles(files);
}

void MainWindow::TakeFiles(const std::vector<std::string>& files) {
  // While a job runs the edit box is the job's; a drop then does nothing.
  if (jobs_.busy()) return;
  const DroppedFiles dropped = SortDroppedFiles(files);
  if (dropped.into_edit_box) {
    SetWindowTextW(control(ControlId::kPathEdit), Widen(*dropped.into_edit_box).c_str());
  } else if (dropped.nothing_found) {
    SetWindowTextW(control(ControlId::kResultLabel), Widen(texts::kNothingToEncode).c_str());
  } else if (!dropped.batch.empty()) {
    jobs_.Start(dropped.batch, JobSetting::Naming::kSource);
  }
}

void MainWindow::OnClose() {
  // Never refused, and never longer than about a second: a running job is
  // stopped, its tool ended and its files removed, before the window goes.
  jobs_.Stop(BackgroundJobs::kStopLimit);
  DestroyWindow(window_);
}

void MainWindow::OnDestroy() {
  // The main window is the program's only window: with it gone, the program
  // ends with the exit code 0.
  PostQuitMessage(0);
}

void MainWindow::OnClick() {
  // A disabled button sends no click; this guards against one that was on
  // its way when the job started.
  if (jobs_.busy()) return;
  jobs_.Start({Source{Narrow(WindowText(control(ControlId::kPathEdit)))}},
              JobSetting::Naming::kStamp);
}

void MainWindow::Post(std::function<void()> event) {
  {
    const std::lock_guard<std::mutex> hold(events_mutex_);
    events_.push_back(std::move(event));
  }
  // One message may carry many events; OnJobEvents takes them all.
  PostMessageW(window_, kJobEventsMessage, 0, 0);
}

void MainWindow::OnJobEvents() {
  std::deque<std::function<void()>> events;
  {
    const std::lock_guard<std::mutex> hold(events_mutex_);
    events.swap(events_);
  }
  for (const std::function<void()>& event : events) event();
}

void MainWindow::OnJobsChanged() {
  const bool busy = jobs_.busy();
  // Clicks, Enter and Space on a disabled button start nothing, and typing
  // into a read-only box changes nothing, so no input made during a job is
  // replayed as a job afterwards.
  HWND button = control(ControlId::kEncodeButton);
  HWND edit = control(ControlId::kPathEdit);
  // A disabled button loses the focus and hands it to nobody, and keys
  // would then go nowhere, Esc among them: the edit box takes it.
  if (busy && GetFocus() == button) SetFocus(edit);
  EnableWindow(button, !busy);
  if (((GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0) != busy) {
    SendMessageW(edit, EM_SETREADONLY, busy, 0);
    // Its margins, which are frame, take the read-only colour too.
    RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }

  SetWindowTextW(control(ControlId::kResultLabel), Widen(jobs_.presenter().label()).c_str());
  if (tooltip_ == nullptr) return;
  tooltip_text_ = Widen(jobs_.presenter().tooltip());
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(control(ControlId::kResultLabel));
  tool.lpszText = tooltip_text_.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool MainWindow::PreTranslate(const MSG& message) {
  if (!exists() || message.message != WM_KEYDOWN ||
      (message.hwnd != window_ && !IsChild(window_, message.hwnd))) {
    return false;
  }
  const bool ctrl = KeyIsDown(VK_CONTROL);
  const bool shift = KeyIsDown(VK_SHIFT);
  const bool alt = KeyIsDown(VK_MENU);
  switch (message.wParam) {
    case VK_TAB:
      if (ctrl || alt) return false;
      // Among the tab stops, in the stacking order the controls were made
      // in, wrapping at either end.
      SetFocus(GetNextDlgTabItem(window_, GetFocus(), shift));
      return true;
    case VK_ESCAPE:
      if (ctrl || shift || alt) return true;
      // Exactly what the close box does.
      SendMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case VK_RETURN:
      // No default button: Enter starts nothing anywhere.
      return true;
  }
  return false;
}

int RunMessageLoop(MainWindow& window) {
  if (!window.exists()) return 0;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void ShowFilesInExplorer(const std::vector<std::string>& files) {
  if (files.empty()) return;
  // The folder of the first file, and each file as an item in it.
  PIDLIST_ABSOLUTE folder = ILCreateFromPathW(Widen(files.front()).c_str());
  if (folder == nullptr) return;
  ILRemoveLastID(folder);
  std::vector<PIDLIST_ABSOLUTE> items;
  std::vector<PCUITEMID_CHILD> children;
  for (const std::string& file : files) {
    if (PIDLIST_ABSOLUTE item = ILCreateFromPathW(Widen(file).c_str())) {
      items.push_back(item);
      children.push_back(ILFindLastID(item));
    }
  }
  SHOpenFolderAndSelectItems(folder, static_cast<UINT>(children.size()), children.data(), 0);
  for (PIDLIST_ABSOLUTE item : items) ILFree(item);
  ILFree(folder);
}

}  // namespace tosilk::win
