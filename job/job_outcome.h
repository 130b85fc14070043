// What one encoding job ended with.
#pragma once

#include <string>

namespace tosilk {

enum class JobFailure {
  kNone,
  kEmptySource,      // nothing left of the source path once cleaned
  kToolMissing,      // ffmpeg or silk_v3_encoder is not in the program folder
  kSourceMissing,    // the source file does not exist
  kSourceIsFolder,   // the source path names a folder
  kResultFolder,     // the result folder could not be made
  kNoFreeName,       // every name drawn for the output was taken already
  kReserveFailed,    // the output name could not be reserved
  kToolNotStarted,   // a tool is there but could not be started
  kConverterFailed,  // ffmpeg failed
  kNoAudio,          // ffmpeg succeeded but gave no samples
  kEncoderFailed,    // silk_v3_encoder failed
  kNoSilkOutput,     // silk_v3_encoder wrote no valid SILK file
};

struct JobOutcome {
  JobFailure failure = JobFailure::kNone;
  // What went wrong, in Chinese, naming its cause; shown after "编码失败：".
  // Empty on success.
  std::string reason;
  // The full path of the SILK file written; empty when the job failed.
  std::string output_path;

  bool ok() const { return failure == JobFailure::kNone; }
};

}  // namespace tosilk
