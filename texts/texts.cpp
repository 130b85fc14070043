#include "texts/texts.h"

#include <algorithm>
#include <cstdio>

#include "common/paths.h"
#include "common/text.h"

namespace tosilk::texts {
namespace {

// The variable parts of the forms:
//   {path}    the file, folder or name stamp the failure concerns
//   {source}  the source path
//   {tool}    the tool's file name
//   {error}   "（the system's text，代码 N）", or nothing
//   {detail}  "（tool 退出码 N：its line）" for a tool, else {error}
//   {exit}    "（退出码 N）", how the tool ended
//   {line}    "：the tool's line", or nothing
//   {length}, {limit}  a path's length and the most the system takes
const std::vector<FailureForm> kForms = {
    {JobFailure::kEmptySource, "没有输入音频文件的路径"},
    {JobFailure::kToolMissing, "找不到 {tool}（应放在 {path}）"},
    {JobFailure::kProgramPathTooLong,
     "程序所在文件夹的路径太长：{tool} 的路径有 {length} 个字符，系统只能启动 {limit} "
     "个字符以内的程序，请把程序移到路径较短的文件夹（{path}）"},
    {JobFailure::kSourceMissing, "找不到音频文件 {source}"},
    {JobFailure::kSourceIsFolder, "这是文件夹，不是音频文件：{source}"},
    {JobFailure::kResultFolder, "无法创建结果文件夹 {path}{error}"},
    {JobFailure::kNoFreeName, "结果文件夹中以 {path} 开头的文件名都已被占用，请稍后再试"},
    {JobFailure::kReserveFailed, "无法在结果文件夹中创建文件 {path}{error}"},
    {JobFailure::kToolNotStarted, "无法启动 {tool}{error}"},
    {JobFailure::kNotAudio, "不是能识别的音频文件：{source}{detail}"},
    {JobFailure::kNoAudioStream, "文件里没有音频：{source}{detail}"},
    {JobFailure::kUnsupportedAudio, "不支持这种音频编码：{source}{detail}"},
    {JobFailure::kNoPermission, "没有权限读取音频文件：{source}{detail}"},
    {JobFailure::kDiskFull, "磁盘空间不足，无法写出结果{detail}"},
    {JobFailure::kConverterFailed, "{tool} 转换失败{exit}{line}"},
    {JobFailure::kNoAudio, "录音长度为零：{source}（{tool} 没有得到任何音频数据）"},
    {JobFailure::kInputTooLong, "录音太长，无法编码：{source}{detail}"},
    {JobFailure::kEncoderFailed, "{tool} 编码失败{exit}{line}"},
    {JobFailure::kNoSilkOutput, "{tool} 没有写出有效的 SILK 文件"},
    {JobFailure::kNotSilk, "不是 SILK 文件：{source}{detail}"},
    {JobFailure::kDecoderFailed, "{tool} 解码失败{exit}{line}"},
    {JobFailure::kFormatUnsupported, "这个 ffmpeg 写不出这种格式的文件：{path}{detail}"},
    {JobFailure::kCancelled, "已取消"},
};

std::string InParentheses(std::string_view inside) {
  if (inside.empty()) return {};
  return Join({"（", inside, "）"});
}

std::string ErrorDetail(const SystemError& error) {
  if (error.text.empty() && error.code == 0) return {};
  const std::string code = "代码 " + std::to_string(error.code);
  return InParentheses(error.text.empty() ? code : Join({error.text, "，", code}));
}

std::string ToolDetail(const JobOutcome& outcome) {
  std::string inside = Join({outcome.tool, " ", ExitText(outcome.exit)});
  if (!outcome.tool_line.empty()) inside = Join({inside, "：", outcome.tool_line});
  return InParentheses(inside);
}

void Fill(std::string& text, std::string_view name, std::string_view value) {
  const std::string key = Join({"{", name, "}"});
  if (const std::size_t at = text.find(key); at != std::string::npos) {
    text.replace(at, key.size(), value);
  }
}

// How a folder is named to the user: a drive root ("C:") or the file-system
// root ("") reads better with its separator.
std::string FolderForPeople(const std::string& directory) {
  if (directory.empty() || directory.back() == ':') return Join({directory, kPathSeparator});
  return directory;
}

}  // namespace

std::string ExitText(const ExitStatus& exit) {
  char text[48];
  switch (exit.how) {
    case ExitStatus::How::kExited:
      // Windows' NTSTATUS codes (0xC0000005: access violation) read better
      // in hexadecimal.
      std::snprintf(text, sizeof text, exit.code >= 0xC0000000ul ? "退出码 0x%08lX" : "退出码 %lu",
                    exit.code);
      return text;
    case ExitStatus::How::kSignalled:
      std::snprintf(text, sizeof text, "被信号 %lu 终止", exit.code);
      return text;
    case ExitStatus::How::kUnknown:
      break;
  }
  return "结束状态未知";
}

const std::vector<FailureForm>& FailureForms() { return kForms; }

std::string FailureReason(const JobOutcome& outcome) {
  const auto form = std::find_if(kForms.begin(), kForms.end(), [&](const FailureForm& f) {
    return f.failure == outcome.failure;
  });
  if (outcome.ok() || form == kForms.end()) return {};
  std::string text(form->form);
  Fill(text, "path",
       outcome.failure == JobFailure::kToolMissing ? FolderForPeople(outcome.path) : outcome.path);
  Fill(text, "source", outcome.source);
  Fill(text, "tool", outcome.tool);
  Fill(text, "error", ErrorDetail(outcome.error));
  Fill(text, "detail", outcome.tool.empty() ? ErrorDetail(outcome.error) : ToolDetail(outcome));
  Fill(text, "exit", InParentheses(ExitText(outcome.exit)));
  Fill(text, "line", outcome.tool_line.empty() ? std::string() : Join({"：", outcome.tool_line}));
  Fill(text, "length", std::to_string(outcome.length));
  Fill(text, "limit", std::to_string(outcome.limit));
  return text;
}

std::string ResultMessage(const JobOutcome& outcome) {
  if (outcome.ok()) return Join({kDonePrefix, outcome.output_path});
  return Join({kFailedPrefix, FailureReason(outcome)});
}

std::string ProgressMessage(const JobProgress& progress) {
  const std::string_view stage =
      progress.stage == JobProgress::Stage::kConverting ? "正在转换…" : "正在编码…";
  if (progress.percent < 0) return std::string(stage);
  return Join({stage, " ", std::to_string(progress.percent), "%"});
}

std::string BatchProgressMessage(std::size_t done, std::size_t count) {
  return Join({"正在编码 ", std::to_string(done), "/", std::to_string(count), "…"});
}

std::string BatchResultMessage(std::size_t succeeded, std::size_t failed, std::size_t passed_over,
                               std::string_view folder, std::string_view first_reason) {
  const std::string skipped =
      passed_over == 0 ? std::string()
                       : Join({"（跳过 ", std::to_string(passed_over), " 个不是音频的文件）"});
  if (failed == 0 && succeeded == 0) return Join({"没有可以编码的音频文件", skipped});
  if (failed == 0) {
    return Join({"编码完成 ", std::to_string(succeeded), " 个文件", skipped, "，路径：", folder});
  }
  return Join({"编码完成 ", std::to_string(succeeded), " 个，失败 ", std::to_string(failed), " 个",
               skipped, "：", first_reason});
}

std::string SourceFailure(const JobOutcome& outcome) {
  return Join({outcome.source, "：", FailureReason(outcome)});
}

}  // namespace tosilk::texts
