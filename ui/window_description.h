// The main window as constant data: its size, its title and its four
// controls. Both front ends, the Win32 one and the Qt one, build the window
// from this table and nothing else.
#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace tosilk {

enum class ControlKind { kLabel, kEditBox, kPushButton };

struct ControlDescription {
  std::string_view name;
  ControlKind kind;
  // Position and size in pixels, relative to the main window's client area.
  int left;
  int top;
  int width;
  int height;
  std::string_view text;  // the text at start
  bool tab_stop;
  int tab_order;  // among tab stops, lowest first; ties go to the later control
};

inline constexpr std::string_view kResultLabel = "标签1";
inline constexpr std::string_view kPathLabel = "标签_路径";
inline constexpr std::string_view kEncodeButton = "按钮1";
inline constexpr std::string_view kPathEdit = "编辑框_路径";

struct WindowDescription {
  std::string_view title;
  // The whole window, frame and title bar included.
  int width;
  int height;
  // In the order of the window's list of controls, which is also their
  // stacking order (an earlier one lies above a later one).
  std::array<ControlDescription, 4> controls;
};

inline constexpr WindowDescription kMainWindow = {
    "",
    489,
    201,
    {{
        {kResultLabel, ControlKind::kLabel, 48, 96, 408, 48, "标签", false, 0},
        {kPathLabel, ControlKind::kLabel, 7, 32, 32, 32, "路径：", false, 0},
        {kEncodeButton, ControlKind::kPushButton, 366, 29, 88, 40, "编码", true, 0},
        {kPathEdit, ControlKind::kEditBox, 49, 29, 296, 40, "", true, 0},
    }},
};

// The indexes into window.controls of the controls that take focus, in focus
// order: by tab-order number, lowest first, and on equal numbers the control
// that stands later in the list first.
std::vector<int> FocusOrder(const WindowDescription& window);

// The left (or top) edge that centres a window of `window` pixels on a screen
// of `screen` pixels: the difference halved, truncated toward zero, so a
// screen smaller than the window gives a negative edge.
int CentredEdge(int screen, int window);

}  // namespace tosilk
