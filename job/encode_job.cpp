#include "job/encode_job.h"

#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "common/file.h"
#include "common/paths.h"
#include "common/process.h"
#include "common/text.h"
#include "job/tools.h"

namespace tosilk {
namespace {

// A SILK file of the "-tencent" kind starts with this, and a real one holds
// at least one frame after it.
constexpr std::string_view kSilkHeader = "\x02#!SILK_V3";

// How many suffixes the job draws before it gives up on finding a free name.
constexpr int kMaxNameAttempts = 100;

// What a step of the job returns: nothing when it succeeded, else the failed
// outcome of the whole job.
using Failure = std::optional<JobOutcome>;

JobOutcome Failed(JobFailure failure, std::string reason) {
  return {failure, std::move(reason), {}};
}

// A file of this job's reserved base, removed (if it exists by then) when
// the job is done with it, unless the job decides to keep it.
class OwnedFile {
 public:
  explicit OwnedFile(std::string path) : path_(std::move(path)) {}
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;
  ~OwnedFile() {
    if (!kept_) RemoveFile(path_);
  }
  const std::string& path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

// "（cause）" after a message, or nothing when there is no cause to name.
std::string InParentheses(std::string_view cause) {
  if (cause.empty()) return {};
  return Join({"（", cause, "）"});
}

// "：line" after a message, or nothing when the tool wrote no line.
std::string AfterColon(std::string_view line) {
  if (line.empty()) return {};
  return Join({"：", line});
}

// How a tool ended, for people: "退出码 1", "退出码 0xC0000005" (Windows'
// NTSTATUS codes read better in hex), "被信号 11 终止".
std::string ExitText(const ExitStatus& exit) {
  char text[48];
  switch (exit.how) {
    case ExitStatus::How::kExited:
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

// How a folder is named to the user: a drive root ("C:") or the file-system
// root ("") reads better with its separator.
std::string FolderForPeople(const std::string& directory) {
  if (directory.empty() || directory.back() == ':') return Join({directory, kPathSeparator});
  return directory;
}

Failure FindTools(const Tools& tools, const std::string& directory) {
  for (const Tool* tool : {&tools.converter, &tools.encoder}) {
    if (KindOf(tool->path) != PathKind::kFile) {
      return Failed(JobFailure::kToolMissing,
                    Join({"找不到 ", tool->name, "（应放在 ", FolderForPeople(directory), "）"}));
    }
  }
  return {};
}

Failure CheckSource(const std::string& source) {
  switch (KindOf(source)) {
    case PathKind::kMissing:
      return Failed(JobFailure::kSourceMissing, Join({"找不到音频文件 ", source}));
    case PathKind::kDirectory:
      return Failed(JobFailure::kSourceIsFolder, Join({source, " 是文件夹，不是音频文件"}));
    case PathKind::kFile:
    case PathKind::kOther:
      break;
  }
  return {};
}

Failure MakeResultFolder(const std::string& folder) {
  const Status made = MakeDirectory(folder);
  if (made.ok) return {};
  return Failed(JobFailure::kResultFolder,
                Join({"无法创建结果文件夹 ", folder, InParentheses(made.error)}));
}

struct Reservation {
  std::string base;  // BASE, whose BASE.silk is now this job's
  Failure failure;   // set when no base could be reserved
};

// Draws suffixes until BASE.silk could be created as a new file while no
// BASE.pcm exists. The .silk is created exclusively, so another copy of the
// program can never end up with the same base; the .pcm is only checked,
// because any copy of the program that could write it must hold the .silk
// first, and an empty placeholder would cost a disk write on every job.
Reservation ReserveBase(const std::string& result_prefix, const std::string& stamp,
                        SuffixGenerator& suffixes) {
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    std::string base = Join({result_prefix, stamp, suffixes.Next()});
    if (KindOf(base + ".pcm") != PathKind::kMissing) continue;
    const std::string silk = base + ".silk";
    const CreateOutcome made = CreateNewFile(silk);
    switch (made.result) {
      case CreateResult::kCreated:
        return {std::move(base), {}};
      case CreateResult::kFailed:
        return {{},
                Failed(JobFailure::kReserveFailed,
                       Join({"无法在结果文件夹中创建文件 ", silk, InParentheses(made.error)}))};
      case CreateResult::kAlreadyExists:
        break;
    }
  }
  return {{},
          Failed(JobFailure::kNoFreeName,
                 Join({"结果文件夹中以 ", stamp, " 开头的文件名都已被占用，请稍后再试"}))};
}

Failure RunTool(const Tool& tool, const std::vector<std::string>& words) {
  const ProcessOutcome run = RunProgram(tool.path, words);
  if (!run.started) {
    return Failed(JobFailure::kToolNotStarted,
                  Join({"无法启动 ", tool.name, InParentheses(run.start_error)}));
  }
  if (!run.exit.succeeded()) {
    return Failed(tool.failed, Join({tool.name, " ", tool.failed_verb,
                                     InParentheses(ExitText(run.exit)),
                                     AfterColon(run.last_error_line)}));
  }
  return {};
}

// ffmpeg can succeed and still give no samples (a recording of length zero);
// the encoder is then not worth running.
Failure Convert(const Tool& converter, const std::string& source, const std::string& pcm) {
  if (Failure failed = RunTool(converter, ConverterWords(converter, source, pcm))) return failed;
  if (ReadFileHead(pcm, 1).empty()) {
    return Failed(JobFailure::kNoAudio,
                  Join({converter.name, " 没有从 ", source, " 中得到任何音频数据"}));
  }
  return {};
}

Failure Encode(const Tool& encoder, const std::string& pcm, const std::string& silk) {
  if (Failure failed = RunTool(encoder, EncoderWords(encoder, pcm, silk))) return failed;
  const std::string head = ReadFileHead(silk, kSilkHeader.size() + 1);
  if (head.size() <= kSilkHeader.size() || !head.starts_with(kSilkHeader)) {
    return Failed(JobFailure::kNoSilkOutput, Join({encoder.name, " 没有写出有效的 SILK 文件"}));
  }
  return {};
}

}  // namespace

std::string CleanSourcePath(std::string_view typed) {
  std::string_view path = TrimBlanks(typed);
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    path = path.substr(1, path.size() - 2);
  }
  return std::string(path);
}

JobOutcome RunEncodingJob(std::string_view typed_source, const JobSetting& setting) {
  const std::string source = CleanSourcePath(typed_source);
  if (source.empty()) return Failed(JobFailure::kEmptySource, "没有输入音频文件的路径");

  const std::string& directory = setting.program_directory;
  const Tools tools = ToolsIn(directory);
  if (Failure failed = FindTools(tools, directory)) return *failed;
  if (Failure failed = CheckSource(source)) return *failed;
  const std::string result_folder = Join({directory, kPathSeparator, "result"});
  if (Failure failed = MakeResultFolder(result_folder)) return *failed;

  Reservation reserved = ReserveBase(Join({result_folder, kPathSeparator}),
                                     DateTimeText(setting.clock()), *setting.suffixes);
  if (reserved.failure) return *reserved.failure;
  // From here on both names are this job's own: the .pcm, once ffmpeg has
  // written it, always goes; the .silk stays only when it holds a valid
  // result.
  OwnedFile pcm(reserved.base + ".pcm");
  OwnedFile silk(reserved.base + ".silk");
  if (Failure failed = Convert(tools.converter, source, pcm.path())) return *failed;
  if (Failure failed = Encode(tools.encoder, pcm.path(), silk.path())) return *failed;
  silk.Keep();
  return {JobFailure::kNone, {}, silk.path()};
}

JobOutcome RunEncodingJob(std::string_view typed_source) {
  JobSetting setting;
  setting.program_directory = ProgramDirectory();
  return RunEncodingJob(typed_source, setting);
}

}  // namespace tosilk
