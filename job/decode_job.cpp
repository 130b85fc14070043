#include "job/decode_job.h"

#include "common/file.h"
#include "job/converter_lines.h"
#include "job/job_steps.h"
#include "job/source_path.h"
#include "job/tools.h"

namespace tosilk {
namespace {

using job_steps::Failed;
using job_steps::Failure;
using job_steps::OwnedFile;

// What a line of silk_v3_decoder's tells of its failure.
JobFailure DecoderCause(std::string_view line) {
  if (line.find("is not a SILK v3 file") != std::string_view::npos) return JobFailure::kNotSilk;
  const JobFailure cause = EncoderCause(line);
  return cause == JobFailure::kEncoderFailed ? JobFailure::kDecoderFailed : cause;
}

// What ffmpeg's lines tell of a failure to write the audio file: a full
// disk, or a format this ffmpeg has no muxer or encoder for.
JobFailure WritingCause(const ConverterLines& lines, std::string_view last) {
  if (lines.cause() == JobFailure::kDiskFull) return JobFailure::kDiskFull;
  for (std::string_view sign : {"Unable to find a suitable output format", "Unknown encoder",
                                "Encoder not found", "Automatic encoder selection failed",
                                "not currently supported in container"}) {
    if (last.find(sign) != std::string_view::npos) return JobFailure::kFormatUnsupported;
  }
  return JobFailure::kConverterFailed;
}

JobOutcome Run(const std::string& source, const JobSetting& setting, AudioFormat format,
               const JobHooks& hooks) {
  if (source.empty()) return Failed(JobFailure::kEmptySource);
  const Tools tools = ToolsIn(setting.program_directory);
  if (Failure failed =
          job_steps::FindTools({&tools.decoder, &tools.converter}, setting.program_directory)) {
    return *failed;
  }
  if (Failure failed = job_steps::CheckSource(source)) return *failed;

  job_steps::OutputNames names = job_steps::OutputNames::OfSource(SourceStem(source));
  job_steps::Reservation reserved = job_steps::Reserve(setting, names, ExtensionOf(format));
  if (reserved.failure) return *reserved.failure;
  OwnedFile pcm(reserved.base + ".pcm");
  OwnedFile output(reserved.base + std::string(ExtensionOf(format)));
  if (job_steps::Cancelled(hooks)) return Failed(JobFailure::kCancelled);

  job_steps::Report(hooks, JobProgress::Stage::kConverting, -1);
  job_steps::ToolRun decoded =
      job_steps::RunTool(tools.decoder, DecoderWords(tools.decoder, source, pcm.path()), hooks);
  if (decoded.failure) return *decoded.failure;
  if (!decoded.process.exit.succeeded()) {
    JobOutcome failed = job_steps::ToolFailed(DecoderCause(decoded.process.last_error_line),
                                              tools.decoder, decoded.process);
    failed.path = source;
    return failed;
  }
  const std::uint64_t bytes = FileSize(pcm.path()).value_or(0);

  ConverterLines lines(pcm.path());
  job_steps::ToolRun written = job_steps::RunTool(
      tools.converter, AudioFileWords(tools.converter, pcm.path(), output.path()), hooks,
      [&](std::string_view line) { lines.Take(line); });
  if (written.failure) return *written.failure;
  if (!written.process.exit.succeeded()) {
    JobOutcome failed =
        job_steps::ToolFailed(WritingCause(lines, written.process.last_error_line),
                              tools.converter, written.process, lines.cause_line());
    failed.path = output.path();
    return failed;
  }
  output.Keep();
  JobOutcome done;
  done.output_path = output.path();
  done.audio_ms = bytes * 1000 / job_steps::kPcmBytesPerSecond;
  return done;
}

}  // namespace

std::string_view ExtensionOf(AudioFormat format) {
  switch (format) {
    case AudioFormat::kWav: return ".wav";
    case AudioFormat::kMp3: return ".mp3";
    case AudioFormat::kOgg: return ".ogg";
    case AudioFormat::kFlac: return ".flac";
  }
  return ".wav";
}

std::optional<AudioFormat> AudioFormatNamed(std::string_view name) {
  for (AudioFormat format : {AudioFormat::kWav, AudioFormat::kMp3, AudioFormat::kOgg,
                             AudioFormat::kFlac}) {
    if (ExtensionOf(format).substr(1) == name) return format;
  }
  return {};
}

JobOutcome RunDecodingJob(std::string_view typed_source, const JobSetting& setting,
                          AudioFormat format, const JobHooks& hooks) {
  const std::string source = CleanSourcePath(typed_source);
  JobOutcome outcome = Run(source, setting, format, hooks);
  outcome.source = source;
  return outcome;
}

}  // namespace tosilk
