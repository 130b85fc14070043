// The decoding job: turns a SILK v3 voice file (with or without the 0x02
// byte before "#!SILK_V3") back into an audio file named after it, by
// running silk_v3_decoder (to raw 24 kHz mono 16-bit PCM) and then ffmpeg
// (to the format asked for) from the program's folder. For checking results
// and for voice files received from others.
#pragma once

#include <optional>
#include <string_view>

#include "job/encode_job.h"

namespace tosilk {

enum class AudioFormat { kWav, kMp3, kOgg, kFlac };

// ".wav", ".mp3", ".ogg", ".flac".
std::string_view ExtensionOf(AudioFormat format);

// The format named "wav", "mp3", "ogg" or "flac"; nothing for another name.
std::optional<AudioFormat> AudioFormatNamed(std::string_view name);

// Runs one decoding job for the source path as typed, writing NAME.EXT for a
// source NAME.silk (then "NAME (2).EXT", ...) into the folder the setting
// names, as the encoding job does. It makes the same promises: both tools
// exited 0 and the output holds what ffmpeg wrote, or else the outcome says
// why; nothing existing is overwritten, and nothing of the job's own stays
// when it fails.
JobOutcome RunDecodingJob(std::string_view typed_source, const JobSetting& setting,
                          AudioFormat format, const JobHooks& hooks = {});

}  // namespace tosilk
