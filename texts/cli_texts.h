// The texts of tosilk-cli: its help, its complaints about the command line,
// and its report of each file and of the whole run.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "job/job_outcome.h"

namespace tosilk::texts::cli {

// One line: how the program is called, and where to read more.
inline constexpr std::string_view kUsage =
    "用法：tosilk-cli [-o 文件夹] [-j N] [--json] [-r] 文件或文件夹…"
    "（tosilk-cli --help 查看说明）";

// The whole help, for --help; `version` is the program's.
std::string Help(std::string_view version);

// "tosilk-cli 0.1.0".
std::string Version(std::string_view version);

// Complaints about the command line, each one line, shown before kUsage.
std::string UnknownOption(std::string_view option);
std::string NeedsValue(std::string_view option);
std::string BadJobCount(std::string_view count);
std::string BadFormat(std::string_view format);
inline constexpr std::string_view kFormatWithoutDecode = "--format 只能和 --decode 一起用";
inline constexpr std::string_view kNoInputs = "没有给出要转换的文件或文件夹";
inline constexpr std::string_view kNothingFound = "没有找到要转换的文件";

// A file's line when the output is not a terminal: "SOURCE -> OUTPUT",
// "SOURCE：REASON", or for a file of a folder that is no audio
// "SOURCE：已跳过，REASON".
std::string PlainLine(const JobOutcome& outcome, bool passed_over);

// The line on a terminal that keeps being rewritten while the files are
// worked on: "[3/10] 失败 1 · 12 秒 · 正在：a.mp3".
std::string ProgressLine(std::size_t done, std::size_t count, std::size_t failed,
                         std::chrono::seconds elapsed, std::string_view current);

// The last line on a terminal: "完成 8 个，失败 2 个，跳过 1 个，用时 12 秒".
std::string Summary(std::size_t succeeded, std::size_t failed, std::size_t passed_over,
                    std::chrono::seconds elapsed);

inline constexpr std::string_view kInterrupted = "已中断：正在进行的转换已停止，未完成的文件已删除";

}  // namespace tosilk::texts::cli
