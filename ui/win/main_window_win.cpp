#include "ui/win/main_window_win.h"

#include <string>
#include <utility>

#include "common/wide_win.h"
#include "ui/win/centred_edit_win.h"

namespace tosilk::win {
namespace {

// The icon in the resource script.
constexpr int kIconId = 1;

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

MainWindow::MainWindow(HINSTANCE instance, ClickRoutine click)
    : instance_(instance), click_(std::move(click)) {}

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
    case WM_QUERYENDSESSION:
      // Nothing is ever unsaved.
      return TRUE;
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
  return CentreEditLine(edit);
}

void MainWindow::OnCommand(HWND sender, int notification) {
  // Known by its window rather than its identifier: a command that comes
  // from no control (a menu, an accelerator) carries no window.
  if (notification == BN_CLICKED && sender != nullptr &&
      sender == control(ControlId::kEncodeButton)) {
    OnClick();
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

void MainWindow::OnDestroy() {
  // The main window is the program's only window: with it gone, the program
  // ends with the exit code 0.
  PostQuitMessage(0);
}

void MainWindow::OnClick() {
  const std::string source = Narrow(WindowText(control(ControlId::kPathEdit)));
  const std::string message = click_(source);
  SetWindowTextW(control(ControlId::kResultLabel), Widen(message).c_str());
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

}  // namespace tosilk::win
