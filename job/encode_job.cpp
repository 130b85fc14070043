#include "job/encode_job.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "common/file.h"
#include "common/named_lock.h"
#include "common/paths.h"
#include "common/process.h"
#include "common/text.h"
#include "job/converter_lines.h"
#include "job/job_files.h"
#include "job/source_path.h"
#include "job/tools.h"

namespace tosilk {
namespace {

// A SILK file of the "-tencent" kind starts with this, and a real one holds
// at least one frame after it.
constexpr std::string_view kSilkHeader = "\x02#!SILK_V3";

// How many suffixes the job draws before it gives up on finding a free name.
constexpr int kMaxNameAttempts = 100;

// 24000 samples of 2 bytes each per second.
constexpr std::uint64_t kPcmBytesPerSecond = 48000;

// What a step of the job returns: nothing when it succeeded, else the failed
// outcome of the whole job.
using Failure = std::optional<JobOutcome>;

JobOutcome Failed(JobFailure failure) {
  JobOutcome outcome;
  outcome.failure = failure;
  return outcome;
}

JobOutcome Failed(JobFailure failure, std::string path) {
  JobOutcome outcome = Failed(failure);
  outcome.path = std::move(path);
  return outcome;
}

JobOutcome Failed(JobFailure failure, std::string path, SystemError error) {
  JobOutcome outcome = Failed(failure, std::move(path));
  outcome.error = std::move(error);
  return outcome;
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

Failure FindTools(const Tools& tools, const std::string& directory) {
  for (const Tool* tool : {&tools.converter, &tools.encoder}) {
    if (KindOf(tool->path) != PathKind::kFile) {
      JobOutcome missing = Failed(JobFailure::kToolMissing, directory);
      missing.tool = tool->name;
      return missing;
    }
    // Told before trying: the system's own answer to a program path it will
    // not take is "file not found", about a file that is there.
    const std::size_t length = SystemPathLength(tool->path);
    if (length > MaxProgramPathLength()) {
      JobOutcome too_long = Failed(JobFailure::kProgramPathTooLong, tool->path);
      too_long.tool = tool->name;
      too_long.length = length;
      too_long.limit = MaxProgramPathLength();
      return too_long;
    }
  }
  return {};
}

Failure CheckSource(const std::string& source) {
  switch (KindOf(source)) {
    case PathKind::kMissing:
      return Failed(JobFailure::kSourceMissing, source);
    case PathKind::kDirectory:
      return Failed(JobFailure::kSourceIsFolder, source);
    case PathKind::kFile:
    case PathKind::kOther:
      break;
  }
  return {};
}

// The base of a job's two files, once reserved, and the lock that marks them
// as a running job's.
struct Reservation {
  std::string folder;
  std::string base;  // BASE, whose BASE.silk is now this job's
  std::unique_ptr<NamedLock> lock;
  Failure failure;   // set when no base could be reserved
};

// Makes `folder` and draws suffixes until the job's lock for a base could be
// taken and BASE.silk created as a new file while no BASE.pcm exists. The
// .silk is created exclusively, so another copy of the program can never end
// up with the same base; the .pcm is only checked, because any copy of the
// program that could write it must hold the .silk first, and an empty
// placeholder would cost a disk write on every job.
Reservation ReserveBase(const std::string& folder, const std::string& stamp,
                        SuffixGenerator& suffixes) {
  Reservation reservation;
  reservation.folder = folder;
  if (MaybeError error = MakeDirectories(folder)) {
    reservation.failure = Failed(JobFailure::kResultFolder, folder, std::move(*error));
    return reservation;
  }
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    const std::string name = stamp + suffixes.Next();
    std::unique_ptr<NamedLock> lock = LockJobFiles(folder, name);
    if (lock == nullptr) continue;
    const std::string base = Join({folder, kPathSeparator, name});
    if (KindOf(base + ".pcm") != PathKind::kMissing) continue;
    CreateOutcome made = CreateNewFile(base + ".silk");
    switch (made.result) {
      case CreateResult::kCreated:
        reservation.base = base;
        reservation.lock = std::move(lock);
        return reservation;
      case CreateResult::kFailed:
        reservation.failure = Failed(made.error.kind == SystemError::Kind::kDiskFull
                                         ? JobFailure::kDiskFull
                                         : JobFailure::kReserveFailed,
                                     base + ".silk", std::move(made.error));
        return reservation;
      case CreateResult::kAlreadyExists:
        break;
    }
  }
  reservation.failure = Failed(JobFailure::kNoFreeName, stamp);
  return reservation;
}

// Reserves in the result folder beside the program, or, when that folder
// cannot be made or written, in the user's own. A folder full of taken names
// or a full disk is no reason to go elsewhere; the first folder's failure is
// the one told when both fail.
Reservation Reserve(const JobSetting& setting, const std::string& stamp) {
  Reservation beside =
      ReserveBase(ResultFolderBeside(setting.program_directory), stamp, *setting.suffixes);
  if (!beside.failure || setting.user_result_folder.empty()) return beside;
  const JobFailure failure = beside.failure->failure;
  if (failure != JobFailure::kResultFolder && failure != JobFailure::kReserveFailed) {
    return beside;
  }
  Reservation own = ReserveBase(setting.user_result_folder, stamp, *setting.suffixes);
  return own.failure ? std::move(beside) : std::move(own);
}

// Runs `tool`, handing its lines of standard error to `each_line`.
struct ToolRun {
  ProcessOutcome process;
  Failure failure;  // set when it could not be started, or was cancelled
};

ToolRun RunTool(const Tool& tool, const std::vector<std::string>& words, const JobHooks& hooks,
                std::function<void(std::string_view)> each_line) {
  ToolRun run;
  run.process = RunProgram(tool.path, words, {std::move(each_line), hooks.cancellation});
  if (!run.process.started) {
    run.failure = Failed(JobFailure::kToolNotStarted, tool.path, run.process.start_error);
    run.failure->tool = tool.name;
  } else if (run.process.cancelled) {
    run.failure = Failed(JobFailure::kCancelled);
  }
  return run;
}

JobOutcome ToolFailed(JobFailure failure, const Tool& tool, const ProcessOutcome& process,
                      std::string line) {
  JobOutcome outcome = Failed(failure);
  outcome.tool = tool.name;
  outcome.exit = process.exit;
  outcome.tool_line = line.empty() ? process.last_error_line : std::move(line);
  return outcome;
}

void Report(const JobHooks& hooks, JobProgress::Stage stage, int percent) {
  if (hooks.progress) hooks.progress({stage, percent});
}

Failure Convert(const Tool& converter, const std::string& source, const std::string& pcm,
                const JobHooks& hooks, std::uint64_t& audio_ms) {
  Report(hooks, JobProgress::Stage::kConverting, -1);
  ConverterLines lines(source);
  int shown = -1;
  ToolRun run = RunTool(converter, ConverterWords(converter, source, pcm), hooks,
                        [&](std::string_view line) {
                          lines.Take(line);
                          if (lines.percent() != shown) {
                            shown = lines.percent();
                            Report(hooks, JobProgress::Stage::kConverting, shown);
                          }
                        });
  if (run.failure) return run.failure;
  if (!run.process.exit.succeeded()) {
    return ToolFailed(lines.cause(), converter, run.process, lines.cause_line());
  }
  // ffmpeg can succeed and still give no samples (a recording of length
  // zero); the encoder is then not worth running.
  const std::uint64_t bytes = FileSize(pcm).value_or(0);
  if (bytes == 0) {
    JobOutcome empty = Failed(JobFailure::kNoAudio, source);
    empty.tool = converter.name;
    return empty;
  }
  audio_ms = bytes * 1000 / kPcmBytesPerSecond;
  return {};
}

Failure Encode(const Tool& encoder, const std::string& pcm, const std::string& silk,
               const JobHooks& hooks) {
  Report(hooks, JobProgress::Stage::kEncoding, -1);
  ToolRun run = RunTool(encoder, EncoderWords(encoder, pcm, silk), hooks, {});
  if (run.failure) return run.failure;
  if (!run.process.exit.succeeded()) {
    return ToolFailed(EncoderCause(run.process.last_error_line), encoder, run.process, {});
  }
  const std::string head = ReadFileHead(silk, kSilkHeader.size() + 1);
  if (head.size() <= kSilkHeader.size() || !head.starts_with(kSilkHeader)) {
    JobOutcome invalid = Failed(JobFailure::kNoSilkOutput, silk);
    invalid.tool = encoder.name;
    return invalid;
  }
  return {};
}

JobOutcome Run(const std::string& source, const JobSetting& setting, const JobHooks& hooks) {
  if (source.empty()) return Failed(JobFailure::kEmptySource);
  const Tools tools = ToolsIn(setting.program_directory);
  if (Failure failed = FindTools(tools, setting.program_directory)) return *failed;
  if (Failure failed = CheckSource(source)) return *failed;

  Reservation reserved = Reserve(setting, DateTimeText(setting.clock()));
  if (reserved.failure) return *reserved.failure;
  // From here on both names are this job's own: the .pcm, once ffmpeg has
  // written it, always goes; the .silk stays only when it holds a valid
  // result. Declared after the lock, so the files go before the lock does.
  OwnedFile pcm(reserved.base + ".pcm");
  OwnedFile silk(reserved.base + ".silk");
  const auto cancelled = [&] {
    return hooks.cancellation != nullptr && hooks.cancellation->cancelled();
  };
  if (cancelled()) return Failed(JobFailure::kCancelled);

  std::uint64_t audio_ms = 0;
  if (Failure failed = Convert(tools.converter, source, pcm.path(), hooks, audio_ms)) {
    return *failed;
  }
  if (cancelled()) return Failed(JobFailure::kCancelled);
  if (Failure failed = Encode(tools.encoder, pcm.path(), silk.path(), hooks)) {
    // An encoder that was ended at once had no chance to remove its
    // temporary file.
    if (failed->failure == JobFailure::kCancelled) {
      RemoveEncoderLeftovers(reserved.folder, silk.path().substr(reserved.folder.size() + 1));
    }
    return *failed;
  }
  silk.Keep();
  JobOutcome done;
  done.output_path = silk.path();
  done.audio_ms = audio_ms;
  return done;
}

}  // namespace

std::string ResultFolderBeside(const std::string& program_directory) {
  return Join({program_directory, kPathSeparator, "result"});
}

std::string UserResultFolder() {
  const std::string data = UserDataFolder();
  if (data.empty()) return {};
  return Join({data, kPathSeparator, "tosilk", kPathSeparator, "result"});
}

JobOutcome RunEncodingJob(std::string_view typed_source, const JobSetting& setting,
                          const JobHooks& hooks) {
  const std::string source = CleanSourcePath(typed_source);
  JobOutcome outcome = Run(source, setting, hooks);
  outcome.source = source;
  return outcome;
}

JobSetting ProgramJobSetting() {
  JobSetting setting;
  setting.program_directory = ProgramDirectory();
  setting.user_result_folder = UserResultFolder();
  return setting;
}

}  // namespace tosilk
