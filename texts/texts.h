// Every text of the program that its users read, in one place: the outcome
// of a job, its progress, and the words of the windows. The layers below
// hand over facts (job_outcome.h); this is where they become Chinese.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "job/job_outcome.h"

namespace tosilk::texts {

inline constexpr std::string_view kDonePrefix = "编码完成，路径：";
inline constexpr std::string_view kFailedPrefix = "编码失败：";

// Why the job failed, cause first: "文件里没有音频：D:\a.mp4（ffmpeg.exe
// 退出码 1：Output file #0 does not contain any stream）". Empty on success.
std::string FailureReason(const JobOutcome& outcome);

// "编码完成，路径：" and the output path, or "编码失败：" and the reason.
std::string ResultMessage(const JobOutcome& outcome);

// "正在转换…", "正在转换… 42%", "正在编码…".
std::string ProgressMessage(const JobProgress& progress);

// While a batch runs: "正在编码 3/10…", `done` of `count` ended.
std::string BatchProgressMessage(std::size_t done, std::size_t count);

// When a batch has ended: "编码完成 10 个文件，路径：FOLDER", or with
// failures "编码完成 8 个，失败 2 个：FIRST REASON"; files of a folder that
// are no audio, `passed_over`, are named as skipped.
std::string BatchResultMessage(std::size_t succeeded, std::size_t failed, std::size_t passed_over,
                               std::string_view folder, std::string_view first_reason);

// When there is nothing to encode among the files dropped.
inline constexpr std::string_view kNothingToEncode = "没有找到要编码的文件";

// One line of a list of failures: "SOURCE：REASON".
std::string SourceFailure(const JobOutcome& outcome);

// How a tool ended: "退出码 1", "退出码 0xC0000005", "被信号 11 终止".
std::string ExitText(const ExitStatus& exit);

// The form of each failure's reason, with its variable parts written as
// {name}: what FailureReason fills in, and what 使用说明.txt must list.
struct FailureForm {
  JobFailure failure;
  std::string_view form;
};
const std::vector<FailureForm>& FailureForms();

// The label's tooltip and cursor after a success, and its menu.
inline constexpr std::string_view kClickToOpenFolder = "单击打开所在文件夹";
inline constexpr std::string_view kCopy = "复制";

}  // namespace tosilk::texts
