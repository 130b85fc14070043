#include "job/job_steps.h"

#include "common/file.h"
#include "common/paths.h"
#include "common/text.h"
#include "job/job_files.h"

namespace tosilk::job_steps {
namespace {

// How many suffixes a stamped name draws, and how many numbers a source's
// name tries, before the job gives up on finding a free name.
constexpr int kMaxStampedNames = 100;
constexpr int kMaxSourceNames = 10000;

Reservation ReserveIn(const std::string& folder, OutputNames& names,
                      std::string_view output_extension) {
  Reservation reservation;
  reservation.folder = folder;
  if (MaybeError error = MakeDirectories(folder)) {
    reservation.failure = Failed(JobFailure::kResultFolder, folder, std::move(*error));
    return reservation;
  }
  while (const std::optional<std::string> name = names.Next()) {
    std::unique_ptr<NamedLock> lock = LockJobFiles(folder, *name);
    if (lock == nullptr) continue;
    const std::string base = Join({folder, kPathSeparator, *name});
    if (KindOf(base + ".pcm") != PathKind::kMissing) continue;
    const std::string output = Join({base, output_extension});
    CreateOutcome made = CreateNewFile(output);
    switch (made.result) {
      case CreateResult::kCreated:
        reservation.base = base;
        reservation.lock = std::move(lock);
        return reservation;
      case CreateResult::kFailed:
        reservation.failure = Failed(made.error.kind == SystemError::Kind::kDiskFull
                                         ? JobFailure::kDiskFull
                                         : JobFailure::kReserveFailed,
                                     output, std::move(made.error));
        return reservation;
      case CreateResult::kAlreadyExists:
        break;
    }
  }
  reservation.failure = Failed(JobFailure::kNoFreeName, names.start());
  return reservation;
}

}  // namespace

JobOutcome Failed(JobFailure failure, std::string path, SystemError error) {
  JobOutcome outcome;
  outcome.failure = failure;
  outcome.path = std::move(path);
  outcome.error = std::move(error);
  return outcome;
}

OwnedFile::~OwnedFile() {
  if (!kept_) RemoveFile(path_);
}

OutputNames OutputNames::Stamped(std::string stamp, SuffixGenerator& suffixes) {
  return OutputNames(std::move(stamp), &suffixes);
}

OutputNames OutputNames::OfSource(std::string name) { return OutputNames(std::move(name), nullptr); }

std::optional<std::string> OutputNames::Next() {
  const int drawn = drawn_++;
  if (suffixes_ != nullptr) {
    if (drawn >= kMaxStampedNames) return {};
    return start_ + suffixes_->Next();
  }
  if (drawn >= kMaxSourceNames) return {};
  if (drawn == 0) return start_;
  return Join({start_, " (", std::to_string(drawn + 1), ")"});
}

Reservation Reserve(const JobSetting& setting, OutputNames& names,
                    std::string_view output_extension) {
  if (!setting.output_folder.empty()) {
    return ReserveIn(setting.output_folder, names, output_extension);
  }
  Reservation beside =
      ReserveIn(ResultFolderBeside(setting.program_directory), names, output_extension);
  if (!beside.failure || setting.user_result_folder.empty()) return beside;
  const JobFailure failure = beside.failure->failure;
  if (failure != JobFailure::kResultFolder && failure != JobFailure::kReserveFailed) {
    return beside;
  }
  Reservation own = ReserveIn(setting.user_result_folder, names, output_extension);
  return own.failure ? std::move(beside) : std::move(own);
}

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

bool Cancelled(const JobHooks& hooks) {
  return hooks.cancellation != nullptr && hooks.cancellation->cancelled();
}

void Report(const JobHooks& hooks, JobProgress::Stage stage, int percent) {
  if (hooks.progress) hooks.progress({stage, percent});
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

Failure FindTools(const std::vector<const Tool*>& tools, const std::string& directory) {
  for (const Tool* tool : tools) {
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

}  // namespace tosilk::job_steps
