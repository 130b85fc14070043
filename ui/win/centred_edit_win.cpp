#include "ui/win/centred_edit_win.h"

#include <commctrl.h>

namespace tosilk {
namespace {

constexpr UINT_PTR kSubclassId = 1;

// The height of the letter "W" in the edit's current font: one text line.
int LineHeight(HWND edit) {
  HDC dc = GetDC(edit);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, L"W", 1, &size);
  SelectObject(dc, previous);
  ReleaseDC(edit, dc);
  return size.cy;
}

// Narrows the client rectangle that the default handling computed to one
// line, placed at the top of the inner area plus half the spare height.
void CentreClientRect(HWND edit, RECT& client) {
  const int inner = client.bottom - client.top;
  const int line = LineHeight(edit);
  if (line <= 0 || line >= inner) return;
  client.top += (inner - line) / 2;
  client.bottom = client.top + line;
}

// Paints the margins above and below the editing area, which now lie in the
// non-client area, in the colour the edit paints its own background with.
void PaintMargins(HWND edit) {
  RECT window;
  GetWindowRect(edit, &window);
  RECT client;
  GetClientRect(edit, &client);
  MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
  // Into window coordinates, where the window DC has its origin.
  OffsetRect(&client, -window.left, -window.top);
  OffsetRect(&window, -window.left, -window.top);

  HDC dc = GetWindowDC(edit);
  HWND parent = GetParent(edit);
  // A read-only or disabled edit asks its parent for its colours as a
  // static control does, and paints its text line with them.
  const bool read_only =
      (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0 || !IsWindowEnabled(edit);
  HBRUSH brush = reinterpret_cast<HBRUSH>(
      SendMessageW(parent, read_only ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                   reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
  if (brush == nullptr) brush = GetSysColorBrush(read_only ? COLOR_BTNFACE : COLOR_WINDOW);
  // The border is as wide as the distance of the client area from the
  // window's side edges.
  const int border = client.left;
  const RECT above{border, border, window.right - border, client.top};
  const RECT below{border, client.bottom, window.right - border, window.bottom - border};
  FillRect(dc, &above, brush);
  FillRect(dc, &below, brush);
  ReleaseDC(edit, dc);
}

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                          DWORD_PTR) {
  switch (message) {
    case WM_NCCALCSIZE: {
      const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
      // Both forms of the message carry the proposed client rectangle first.
      RECT& client = wparam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam)->rgrc[0]
                            : *reinterpret_cast<RECT*>(lparam);
      CentreClientRect(edit, client);
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
      PaintMargins(edit);
      return result;
    }
    case WM_SETFONT: {
      // A new font means a new line height.
      const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
      SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, &EditProc, kSubclassId);
      break;
  }
  return DefSubclassProc(edit, message, wparam, lparam);
}

}  // namespace

bool CentreEditLine(HWND edit) {
  if (!SetWindowSubclass(edit, &EditProc, kSubclassId, 0)) return false;
  // Makes the edit compute its client rectangle anew, through EditProc.
  SetWindowPos(edit, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

}  // namespace tosilk
