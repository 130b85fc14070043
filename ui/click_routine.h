// What a click of "编码" does, the same in both front ends: run the job on
// the edit box's text and say in one line how it went.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "job/job_outcome.h"

namespace tosilk {

inline constexpr std::string_view kDonePrefix = "编码完成，路径：";
inline constexpr std::string_view kFailedPrefix = "编码失败：";

// Turns the edit box's text into the result label's text. The programs use
// RunClick; tests put a job with a program folder of their own behind it.
using ClickRoutine = std::function<std::string(std::string_view edit_text)>;

// "编码完成，路径：" and the output path, or "编码失败：" and the reason.
std::string ResultMessage(const JobOutcome& outcome);

// Runs the encoding job of the running program on the edit box's text, as
// typed, and returns the text for the result label. Blocks until both tools
// have ended.
std::string RunClick(std::string_view edit_text);

}  // namespace tosilk
