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
#include "job/job_steps.h"
#include "job/source_path.h"
#include "job/tools.h"

namespace tosilk {
namespace {

// A SILK file of the "-tencent" kind starts with this, and a real one holds
// at least one frame after it.
constexpr std::string_view kSilkHeader = "\x02#!SILK_V3";

using job_steps::Cancelled;
using job_steps::Failed;
using job_steps::Failure;
using job_steps::OutputNames;
using job_steps::OwnedFile;
using job_steps::Report;
using job_steps::ToolFailed;

Failure Convert(const Tool& converter, const std::string& source, const std::string& pcm,
                const JobHooks& hooks, std::uint64_t& audio_ms) {
  Report(hooks, JobProgress::Stage::kConverting, -1);
  ConverterLines lines(source);
  int shown = -1;
  job_steps::ToolRun run = job_steps::RunTool(converter, ConverterWords(converter, source, pcm), hooks,
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
  audio_ms = bytes * 1000 / job_steps::kPcmBytesPerSecond;
  return {};
}

Failure Encode(const Tool& encoder, const std::string& pcm, const std::string& silk,
               const JobHooks& hooks) {
  Report(hooks, JobProgress::Stage::kEncoding, -1);
  job_steps::ToolRun run = job_steps::RunTool(encoder, EncoderWords(encoder, pcm, silk), hooks);
  if (run.failure) return run.failure;
  if (!run.process.exit.succeeded()) {
    return ToolFailed(EncoderCause(run.process.last_error_line), encoder, run.process);
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
  if (Failure failed =
          job_steps::FindTools({&tools.converter, &tools.encoder}, setting.program_directory)) {
    return *failed;
  }
  if (Failure failed = job_steps::CheckSource(source)) return *failed;

  OutputNames names = setting.naming == JobSetting::Naming::kStamp
                          ? OutputNames::Stamped(DateTimeText(setting.clock()), *setting.suffixes)
                          : OutputNames::OfSource(SourceStem(source));
  job_steps::Reservation reserved = job_steps::Reserve(setting, names, ".silk");
  if (reserved.failure) return *reserved.failure;
  // From here on both names are this job's own: the .pcm, once ffmpeg has
  // written it, always goes; the .silk stays only when it holds a valid
  // result. Declared after the lock, so the files go before the lock does.
  OwnedFile pcm(reserved.base + ".pcm");
  OwnedFile silk(reserved.base + ".silk");
  if (Cancelled(hooks)) return Failed(JobFailure::kCancelled);

  std::uint64_t audio_ms = 0;
  if (Failure failed = Convert(tools.converter, source, pcm.path(), hooks, audio_ms)) {
    return *failed;
  }
  if (Cancelled(hooks)) return Failed(JobFailure::kCancelled);
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
