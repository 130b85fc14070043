// What one encoding job ended with, and how far a running one has got: facts
// only. What the user reads of them is made in texts/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/process.h"
#include "common/system_error.h"

namespace tosilk {

enum class JobFailure {
  kNone,
  kEmptySource,          // nothing left of the source path once cleaned
  kToolMissing,          // ffmpeg or silk_v3_encoder is not in the program folder
  kProgramPathTooLong,   // a tool's path is longer than the system starts
  kSourceMissing,        // the source file does not exist
  kSourceIsFolder,       // the source path names a folder
  kResultFolder,         // no result folder could be made
  kNoFreeName,           // every name drawn for the output was taken already
  kReserveFailed,        // the output name could not be reserved
  kToolNotStarted,       // a tool is there but could not be started
  kNotAudio,             // ffmpeg cannot read the source: no audio file it knows
  kNoAudioStream,        // the source holds no audio, only video or a picture
  kUnsupportedAudio,     // the source's audio is of a kind ffmpeg cannot decode
  kNoPermission,         // the source may not be read
  kDiskFull,             // a tool, or the job, found the disk full
  kConverterFailed,      // ffmpeg failed otherwise
  kNoAudio,              // ffmpeg succeeded but gave no samples
  kInputTooLong,         // the recording is too long for the encoder
  kEncoderFailed,        // silk_v3_encoder failed otherwise
  kNoSilkOutput,         // silk_v3_encoder wrote no valid SILK file
  kNotSilk,              // decoding: the source is no SILK v3 file
  kDecoderFailed,        // decoding: silk_v3_decoder failed otherwise
  kFormatUnsupported,    // decoding: ffmpeg cannot write the format asked for
  kCancelled,            // stopped on request before it was done
};

// The failure's name for programs that read outcomes ("not_audio"): ASCII,
// and fixed once published.
std::string_view FailureName(JobFailure failure);

struct JobOutcome {
  JobFailure failure = JobFailure::kNone;
  // The full path of the SILK file written; empty when the job failed.
  std::string output_path;
  // The source path as the job took it, once cleaned.
  std::string source;
  // How long the recording is, in milliseconds, when the job succeeded.
  std::uint64_t audio_ms = 0;

  // The facts of a failure, as far as they apply to its kind:
  std::string path;       // the folder or file concerned, or the name stamp
  std::string tool;       // the tool's file name: "ffmpeg.exe"
  ExitStatus exit;        // how the tool ended
  std::string tool_line;  // the tool's line that tells the cause, else its last
  SystemError error;      // the system's error, for a failed system call
  std::size_t length = 0;  // kProgramPathTooLong: the path's length
  std::size_t limit = 0;   // and the most the system takes

  bool ok() const { return failure == JobFailure::kNone; }
};

// How far a running job has got.
struct JobProgress {
  enum class Stage { kConverting, kEncoding };
  Stage stage = Stage::kConverting;
  int percent = -1;  // 0 to 100, or -1 while the tool has not told
};

}  // namespace tosilk
