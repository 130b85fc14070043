#include "job/encode_job.h"

#include <utility>
#include <vector>

#include "common/file.h"
#include "common/paths.h"
#include "common/process.h"
#include "common/text.h"

namespace tosilk {
namespace {

// A SILK file of the "-tencent" kind starts with this, and a real one holds
// at least one frame after it.
constexpr std::string_view kSilkHeader = "\x02#!SILK_V3";

// How many suffixes the job draws before it gives up on finding a free name.
constexpr int kMaxNameAttempts = 100;

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

JobOutcome Failed(JobFailure failure, std::string reason) {
  return {failure, std::move(reason), {}};
}

// " （cause）" after a message, or nothing when there is no cause to name.
std::string InParentheses(std::string_view cause) {
  if (cause.empty()) return {};
  return Join({"（", cause, "）"});
}

// "：line" after a message, or nothing when the tool wrote no line.
std::string AfterColon(std::string_view line) {
  if (line.empty()) return {};
  return Join({"：", line});
}

// How a folder is named to the user: a drive root ("C:") or the file-system
// root ("") reads better with its separator.
std::string FolderForPeople(const std::string& directory) {
  if (directory.empty() || directory.back() == ':') return Join({directory, kPathSeparator});
  return directory;
}

// The base of a job's two files, once reserved.
struct Reservation {
  JobOutcome failure;  // ok() when the base below is reserved
  std::string base;
};

// Draws suffixes until BASE.silk could be created as a new file while no
// BASE.pcm exists, and returns that base. The .silk is created exclusively,
// so another copy of the program can never end up with the same base; the
// .pcm is only checked, because any copy of the program that could write it
// must hold the .silk first, and an empty placeholder would cost a disk
// write on every job.
Reservation ReserveBase(const std::string& result_prefix, const std::string& stamp,
                        SuffixGenerator& suffixes) {
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    std::string base = Join({result_prefix, stamp, suffixes.Next()});
    if (KindOf(Join({base, ".pcm"})) != PathKind::kMissing) continue;
    const std::string silk = Join({base, ".silk"});
    const CreateOutcome made = CreateNewFile(silk);
    if (made.result == CreateResult::kCreated) return {{}, std::move(base)};
    if (made.result == CreateResult::kFailed) {
      return {Failed(JobFailure::kReserveFailed,
                     Join({"无法在结果文件夹中创建文件 ", silk, InParentheses(made.error)})),
              {}};
    }
  }
  return {Failed(JobFailure::kNoFreeName,
                 Join({"结果文件夹中以 ", stamp, " 开头的文件名都已被占用，请稍后再试"})),
          {}};
}

// Runs one tool; fills `failure` and returns false when it did not succeed.
bool RunTool(const std::string& path, const std::string& name, std::vector<std::string> words,
             JobFailure failed_kind, std::string_view failed_verb, JobOutcome& failure) {
  const ProcessOutcome run = RunProgram(path, words);
  if (!run.started) {
    failure = Failed(JobFailure::kToolNotStarted,
                     Join({"无法启动 ", name, InParentheses(run.start_error)}));
    return false;
  }
  if (!run.exited_zero) {
    failure = Failed(failed_kind, Join({name, " ", failed_verb, InParentheses(run.exit_description),
                                        AfterColon(run.last_error_line)}));
    return false;
  }
  return true;
}

}  // namespace

std::string CleanSourcePath(std::string_view typed) {
  std::string_view path = TrimBlanks(typed);
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    path = path.substr(1, path.size() - 2);
  }
  return Join({path});
}

JobOutcome RunEncodingJob(std::string_view typed_source, const JobSetting& setting) {
  const std::string source = CleanSourcePath(typed_source);
  if (source.empty()) {
    return Failed(JobFailure::kEmptySource, "没有输入音频文件的路径");
  }

  const std::string& directory = setting.program_directory;
  const std::string tool_prefix = Join({directory, kPathSeparator});
  const std::string converter_name = Join({"ffmpeg", kExecutableSuffix});
  const std::string encoder_name = Join({"silk_v3_encoder", kExecutableSuffix});
  const std::string converter = Join({tool_prefix, converter_name});
  const std::string encoder = Join({tool_prefix, encoder_name});
  for (const std::string* tool : {&converter, &encoder}) {
    if (KindOf(*tool) != PathKind::kFile) {
      const std::string& name = tool == &converter ? converter_name : encoder_name;
      return Failed(JobFailure::kToolMissing,
                    Join({"找不到 ", name, "（应放在 ", FolderForPeople(directory), "）"}));
    }
  }

  switch (KindOf(source)) {
    case PathKind::kMissing:
      return Failed(JobFailure::kSourceMissing, Join({"找不到音频文件 ", source}));
    case PathKind::kDirectory:
      return Failed(JobFailure::kSourceIsFolder, Join({source, " 是文件夹，不是音频文件"}));
    case PathKind::kFile:
    case PathKind::kOther:
      break;
  }

  const std::string result_folder = Join({directory, kPathSeparator, "result"});
  const Status made = MakeDirectory(result_folder);
  if (!made.ok) {
    return Failed(JobFailure::kResultFolder,
                  Join({"无法创建结果文件夹 ", result_folder, InParentheses(made.error)}));
  }

  const std::string result_prefix = Join({result_folder, kPathSeparator});
  Reservation reserved =
      ReserveBase(result_prefix, DateTimeText(setting.clock()), *setting.suffixes);
  if (!reserved.failure.ok()) return std::move(reserved.failure);
  // From here on both names are this job's own: the .pcm, once ffmpeg has
  // written it, always goes; the .silk stays only when it holds a valid
  // result.
  OwnedFile pcm(Join({reserved.base, ".pcm"}));
  OwnedFile silk(Join({reserved.base, ".silk"}));

  JobOutcome failure;
  if (!RunTool(converter, converter_name,
               {converter, "-y", "-i", source, "-f", "s16le", "-ar", "24000", "-ac", "1",
                pcm.path()},
               JobFailure::kConverterFailed, "转换失败", failure)) {
    return failure;
  }
  if (ReadFileHead(pcm.path(), 1).empty()) {
    return Failed(JobFailure::kNoAudio,
                  Join({converter_name, " 没有从 ", source, " 中得到任何音频数据"}));
  }
  if (!RunTool(encoder, encoder_name, {encoder, pcm.path(), silk.path(), "-tencent"},
               JobFailure::kEncoderFailed, "编码失败", failure)) {
    return failure;
  }
  const std::string head = ReadFileHead(silk.path(), kSilkHeader.size() + 1);
  if (head.size() <= kSilkHeader.size() || !head.starts_with(kSilkHeader)) {
    return Failed(JobFailure::kNoSilkOutput,
                  Join({encoder_name, " 没有写出有效的 SILK 文件"}));
  }
  silk.Keep();
  return {JobFailure::kNone, {}, silk.path()};
}

JobOutcome RunEncodingJob(std::string_view typed_source) {
  JobSetting setting;
  setting.program_directory = ProgramDirectory();
  return RunEncodingJob(typed_source, setting);
}

}  // namespace tosilk
