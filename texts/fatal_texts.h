// The texts of the fatal failure. Apart from the rest of texts.h because the
// lowest layer shows them, and must do so without allocating.
#pragma once

namespace tosilk::texts {

// Filled with the number of bytes asked for, by snprintf on the stack.
inline constexpr char kOutOfMemoryFormat[] = "内存不足：无法分配 %zu 字节的内存";
inline constexpr char kMainWindowFailed[] = "加载主窗口失败";
inline constexpr char kFatalTitle[] = "错误";

}  // namespace tosilk::texts
