// The main window as constant data: its size, its title and its four
// controls. Both front ends, the Win32 one and the Qt one, build the window
// from this table and nothing else.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tosilk {

enum class ControlKind { kLabel, kEditBox, kPushButton };

// The controls, in the order of the window's list of controls, which is also
// their stacking order (an earlier one lies above a later one). A front end
// addresses its controls by these, as indexes into WindowDescription::controls.
enum class ControlId : std::size_t { kResultLabel, kPathLabel, kEncodeButton, kPathEdit };

struct ControlDescription {
  std::string_view name;  // the control's name, which front ends give it too
  ControlKind kind;
  // Position and size in pixels, relative to the main window's client area.
  int left;
  int top;
  int width;
  int height;
  std::string_view text;  // the text at start
  bool tab_stop;
};

struct WindowDescription {
  std::string_view title;
  // The whole window, frame and title bar included.
  int width;
  int height;
  std::array<ControlDescription, 4> controls;
  // The control that has the focus when the window first gets it.
  ControlId initial_focus;

  constexpr const ControlDescription& operator[](ControlId id) const {
    return controls[static_cast<std::size_t>(id)];
  }
};

inline constexpr WindowDescription kMainWindow = {
    "",
    489,
    201,
    {{
        {"标签1", ControlKind::kLabel, 48, 96, 408, 48, "标签", false},
        {"标签_路径", ControlKind::kLabel, 7, 32, 32, 32, "路径：", false},
        {"按钮1", ControlKind::kPushButton, 366, 29, 88, 40, "编码", true},
        {"编辑框_路径", ControlKind::kEditBox, 49, 29, 296, 40, "", true},
    }},
    ControlId::kPathEdit,
};

// The left (or top) edge that centres a window of `window` pixels on a screen
// of `screen` pixels: the difference halved, truncated toward zero, so a
// screen smaller than the window gives a negative edge.
constexpr int CentredEdge(int screen, int window) { return (screen - window) / 2; }

}  // namespace tosilk
