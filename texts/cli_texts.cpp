#include "texts/cli_texts.h"

#include "common/text.h"
#include "texts/texts.h"

namespace tosilk::texts::cli {

std::string Help(std::string_view version) {
  return Join({"tosilk-cli ", version, R"( —— 把音频文件转换成 SILK v3 语音文件（0x02 #!SILK_V3，即 -tencent 格式）

用法：
  tosilk-cli [-o 文件夹] [-j N] [--json] [-r] 文件或文件夹…
  tosilk-cli --decode [--format wav|mp3|ogg|flac] [-o 文件夹] [-j N] [--json] [-r] 文件或文件夹…

每个文件转换成“原文件名.silk”；名字已被占用时依次用“原文件名 (2).silk”“原文件名 (3).silk”……
已有的文件从不被覆盖。给出文件夹时，转换其中的所有文件（-r：包括子文件夹），不是音频的文件跳过。

选项：
  -o, --output 文件夹  结果存放的文件夹（默认：程序旁边的 result 文件夹；它不能写入时，
                       用本用户的 tosilk/result 文件夹）
  -j, --jobs N         同时转换的文件数（默认：处理器的逻辑核心数）
  --json               每个文件输出一行 JSON：source、output、ok、reason、kind、
                       duration_ms（音频长度）、elapsed_ms（用时）
  -r, --recursive      也转换文件夹的子文件夹中的文件
  --decode             反过来：把 .silk 文件（有无 0x02 都可以）解码成音频文件
  --format 格式        解码成的格式：wav（默认）、mp3、ogg、flac（要 ffmpeg 能写出这种格式）
  -h, --help           显示本说明
  -V, --version        显示版本

输出：在终端中显示一行不断更新的进度，并为每个失败的文件显示一行原因；
输出到管道或文件时，按输入的顺序每个文件一行：“源 -> 结果”或“源：原因”。

退出码：0 全部成功；1 有文件失败；2 命令行有误；130 被 Ctrl+C 或 SIGTERM 中断
（正在进行的转换会停止，未完成的文件会被删除）。
)"});
}

std::string Version(std::string_view version) { return Join({"tosilk-cli ", version}); }

std::string UnknownOption(std::string_view option) {
  return Join({"tosilk-cli：没有 ", option, " 这个选项"});
}

std::string NeedsValue(std::string_view option) {
  return Join({"tosilk-cli：", option, " 后面要写一个值"});
}

std::string BadJobCount(std::string_view count) {
  return Join({"tosilk-cli：-j 要写 1 到 256 之间的整数，而不是 ", count});
}

std::string BadFormat(std::string_view format) {
  return Join({"tosilk-cli：不能解码成 ", format, " 格式，可选 wav、mp3、ogg、flac"});
}

std::string PlainLine(const JobOutcome& outcome, bool passed_over) {
  if (outcome.ok()) return Join({outcome.source, " -> ", outcome.output_path});
  return Join({outcome.source, passed_over ? "：已跳过，" : "：", FailureReason(outcome)});
}

std::string ProgressLine(std::size_t done, std::size_t count, std::size_t failed,
                         std::chrono::seconds elapsed, std::string_view current) {
  std::string line = Join({"[", std::to_string(done), "/", std::to_string(count), "] 失败 ",
                           std::to_string(failed), " · ", std::to_string(elapsed.count()), " 秒"});
  if (!current.empty()) line = Join({line, " · 正在：", current});
  return line;
}

std::string Summary(std::size_t succeeded, std::size_t failed, std::size_t passed_over,
                    std::chrono::seconds elapsed) {
  std::string line = Join({"完成 ", std::to_string(succeeded), " 个，失败 ", std::to_string(failed),
                           " 个"});
  if (passed_over > 0) line = Join({line, "，跳过 ", std::to_string(passed_over), " 个"});
  return Join({line, "，用时 ", std::to_string(elapsed.count()), " 秒"});
}

}  // namespace tosilk::texts::cli
