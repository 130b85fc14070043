#include "job/job_outcome.h"

namespace tosilk {

std::string_view FailureName(JobFailure failure) {
  switch (failure) {
    case JobFailure::kNone: return "none";
    case JobFailure::kEmptySource: return "empty_source";
    case JobFailure::kToolMissing: return "tool_missing";
    case JobFailure::kProgramPathTooLong: return "program_path_too_long";
    case JobFailure::kSourceMissing: return "source_missing";
    case JobFailure::kSourceIsFolder: return "source_is_folder";
    case JobFailure::kResultFolder: return "result_folder";
    case JobFailure::kNoFreeName: return "no_free_name";
    case JobFailure::kReserveFailed: return "reserve_failed";
    case JobFailure::kToolNotStarted: return "tool_not_started";
    case JobFailure::kNotAudio: return "not_audio";
    case JobFailure::kNoAudioStream: return "no_audio_stream";
    case JobFailure::kUnsupportedAudio: return "unsupported_audio";
    case JobFailure::kNoPermission: return "no_permission";
    case JobFailure::kDiskFull: return "disk_full";
    case JobFailure::kConverterFailed: return "converter_failed";
    case JobFailure::kNoAudio: return "no_audio";
    case JobFailure::kInputTooLong: return "input_too_long";
    case JobFailure::kEncoderFailed: return "encoder_failed";
    case JobFailure::kNoSilkOutput: return "no_silk_output";
    case JobFailure::kNotSilk: return "not_silk";
    case JobFailure::kDecoderFailed: return "decoder_failed";
    case JobFailure::kFormatUnsupported: return "format_unsupported";
    case JobFailure::kCancelled: return "cancelled";
  }
  return "unknown";
}

}  // namespace tosilk
